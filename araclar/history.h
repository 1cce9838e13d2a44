#pragma once

#include "araclar/reporttable.h"

#include <QDate>
#include <QStringList>

namespace data::sqlite {
class Database;
}

namespace araclar {

// Whose or which history: a reader's loans are found by the name the loan copied, a book's by
// the title.
enum class HistoryOf { Reader, Book };

// The names to choose from: every reader name of `okuyucu` or book title of `kitapkayit`, once
// each, in the order of the Turkish alphabet.
QStringList historyNames(const data::sqlite::Database& db, HistoryOf kind);

// Every loan of that exact name or title, newest hand-over first (loans without a date last),
// with its state on `today`: "Geri alındı", "Dışarıda" or "Gecikmiş (N gün)".
ReportTable history(const data::sqlite::Database& db, HistoryOf kind, const QString& name,
                    QDate today);

} // namespace araclar
