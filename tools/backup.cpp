#include "tools/backup.h"

#include "data/provider.h"
#include "data/sqlite.h"
#include "platform/errors.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>

namespace tools {

using data::sqlite::Database;
using platform::Error;

namespace {
// How long the backup waits in all for moments when no copy of the program is writing.
constexpr int patienceMs = 30000;
} // namespace

void backupDatabase(const QString& source, const QString& destination) {
    const QFileInfo info(source);
    if (!info.exists() || info.isDir())
        throw Error(QStringLiteral("Could not find file '%1'.").arg(source));
    if (info.size() == 0)
        throw Error(QStringLiteral("The file '%1' is empty: it is not a database of the program")
                        .arg(source));
    if (QFileInfo::exists(destination))
        throw Error(
            QStringLiteral("The file '%1' already exists; it is left as it is").arg(destination));

    const Database from(source, Database::Mode::ReadOnly);
    sqlite3_busy_timeout(from.handle(), data::busyTimeoutMs);
    {
        data::sqlite::Statement header(from, QStringLiteral("PRAGMA schema_version"));
        header.step();
    }

    // The empty file first, for its owner only, so the copy of pupils' data never lies open.
    {
        QFile f(destination);
        if (!f.open(QIODevice::NewOnly | QIODevice::WriteOnly))
            throw Error(QStringLiteral("Cannot create '%1': %2").arg(destination, f.errorString()));
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    try {
        const Database to(destination, Database::Mode::ReadWrite);
        sqlite3_backup* backup = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
        if (!backup)
            throw Error(to.failure(sqlite3_extended_errcode(to.handle()), true));
        // All pages in one step, under one read lock: while another copy writes, wait and try
        // again.
        const QDeadlineTimer deadline(patienceMs);
        int rc = SQLITE_OK;
        do {
            rc = sqlite3_backup_step(backup, -1);
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                sqlite3_sleep(50);
        } while ((rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) &&
                 !deadline.hasExpired());
        sqlite3_backup_finish(backup);
        if (rc != SQLITE_DONE)
            throw Error(from.failure(rc, false));
    } catch (...) {
        QFile::remove(destination);
        QFile::remove(destination + QStringLiteral("-journal"));
        throw;
    }
}

} // namespace tools
