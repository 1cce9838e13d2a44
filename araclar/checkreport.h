#pragma once

#include <QString>
#include <QStringList>

namespace araclar {

// A table of the registers as the companion names it: "Okuyucular (okuyucu)", "Kitaplar
// (kitapkayit)", "Ödünçler (hareket)"; any other name as it is.
QString tableTitle(const QString& table);

// What the check of a library file (SQLite's integrity check, the three tables and their rules,
// the values they hold) finds, in Turkish: one line a finding; empty when the file is sound.
QStringList checkInTurkish(const QString& path);

} // namespace araclar
