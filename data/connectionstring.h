#pragma once

#include <QString>

namespace data {

// The executable's directory: its full path cut before the last separator, without the
// trailing separator.
QString executableDirectory(const QString& executablePath);

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<dir>\DATA.mdb;Persist Security Info=False".
// A directory that holds ";" (or starts with a quote) has its Data Source value put in double
// quotes, with inner quotes doubled, so that the value cannot be cut short.
QString connectionString(const QString& executableDir);

// The value of the Data Source property, quotes removed; empty when it has none.
QString dataSourceOf(const QString& connectionString);

// The file a Data Source names, as a path of this system: the last "\" separates the file
// name from its directory (the directory itself is taken as it stands).
QString databaseFilePath(const QString& dataSource);

} // namespace data
