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
// waiting a little while another copy of the program writes. Throws platform::Error with a
// Turkish message that says what to do.
std::unique_ptr<data::sqlite::Database> openForReading(const QString& path);

// Runs `read` on a fresh read-only connection and closes it again, so that no lock outlives the
// report; a failure of SQLite becomes a Turkish message naming the file.
template <typename F> auto readDatabase(const QString& path, F&& read) {
    const std::unique_ptr<data::sqlite::Database> db = openForReading(path);
    try {
        return std::forward<F>(read)(*db);
    } catch (const platform::Error& e) {
        throw platform::Error(
            QStringLiteral("'%1' okunamadı (%2). Bir süre sonra yeniden deneyin; sürerse "
                           "Yedekler sayfasından son sağlam yedeği geri yükleyin.")
                .arg(path, e.message()));
    }
}

} // namespace araclar
