#pragma once

#include "araclar/reporttable.h"

#include <QByteArray>

namespace araclar {

// A list as Turkish Excel opens it in columns: UTF-8 with a byte-order mark, the captions
// first, ";" between fields, CRLF after every line, a field in double quotes (inner quotes
// doubled) when it holds ";", a quote, a line break or leading or trailing blanks, dates as
// dd.MM.yyyy.
QByteArray toCsv(const ReportTable& table);

// Writes toCsv(table) to `path`, replacing it whole or not at all; throws platform::Error with
// a Turkish message.
void saveCsv(const ReportTable& table, const QString& path);
// The writing part of saveCsv.
void writeFile(const QByteArray& bytes, const QString& path);

} // namespace araclar
