#pragma once

#include <QString>
#include <QStringList>

namespace tools {

// What is wrong with the database file `path`, read only: every finding of SQLite's integrity
// check, then for each of the three tables a column that is missing or of another kind
// ("okuyucu: Field 'ADRESI' not found") or a broken rule of the program's saves (a key without
// AUTOINCREMENT, a trigger that writes rows). Empty when the
// file is sound. A file that cannot be read at all (missing, empty, damaged, locked, beside a
// journal left by an unfinished save) or that another program switched to a write-ahead log
// (WAL), which only the program switches back, gives that one finding.
QStringList checkDatabase(const QString& path);

} // namespace tools
