#pragma once

#include "araclar/reporttable.h"

#include "platform/progress.h"

#include <QByteArray>

class QWidget;

namespace araclar {

// A list as Turkish Excel opens it in columns: UTF-8 with a byte-order mark, the captions
// first, ";" between fields, CRLF after every line, a field in double quotes (inner quotes
// doubled) when it holds ";", a quote, a line break or leading or trailing blanks, dates as
// dd.MM.yyyy.
// Reports each row to `progress`, which may stop it.
QByteArray toCsv(const ReportTable& table, platform::Progress& progress = platform::noProgress());

// Writes toCsv(table) to `path` (for its owner only), replacing it whole or not at all, with the
// task's window over `parent`; throws platform::Error with a Turkish message.
void saveCsv(const ReportTable& table, const QString& path, QWidget* parent);
// The writing part of saveCsv.
void writeFile(const QByteArray& bytes, const QString& path);

} // namespace araclar
