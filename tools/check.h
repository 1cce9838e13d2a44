#pragma once

#include <QString>
#include <QStringList>

namespace tools {

// What is wrong with the database file `path`, read only: every finding of SQLite's integrity
// check, then for each of the three tables a column that is missing or of another kind
// ("okuyucu: Field 'ADRESI' not found"). Empty when the file is sound. A file that cannot be
// read at all gives that one finding.
QStringList checkDatabase(const QString& path);

} // namespace tools
