#pragma once

#include <QString>

namespace tools {

// Creates a new database file with the three tables and the desk's lookup indexes
// (tools::lookupIndexStatements), readable and writable by its owner only
// (it holds pupils' personal data). Refuses an existing file. Throws platform::Error.
void createDatabase(const QString& path);

} // namespace tools
