#pragma once

#include "data/sqlite.h"
#include "platform/errors.h"

#include <QString>
#include <memory>

namespace araclar {

// DATA.mdb beside the executable, found exactly as the program finds it: the connection string
// built from the executable's folder, and the file its Data Source names.
QString databasePathBeside(const QString& executablePath);

// A connection for reading the registers: read-only, so it never takes a write lock, and
// waiting as long as the program's own saves wait while another copy of the program writes.
// Throws data::FileError (a missing file, an old Access file, one that cannot be opened), which
// the companion says in Turkish with what to do.
std::unique_ptr<data::sqlite::Database> openForReading(const QString& path);

// Runs `read` on a fresh read-only connection and closes it again, so that no lock outlives the
// report.
template <typename F> auto readDatabase(const QString& path, F&& read) {
    const std::unique_ptr<data::sqlite::Database> db = openForReading(path);
    return std::forward<F>(read)(*db);
}

} // namespace araclar
