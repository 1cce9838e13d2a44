#include "araclar/restore.h"

#include "data/sqlite.h"
#include "platform/errors.h"

#include <QDeadlineTimer>
#include <QFileInfo>

namespace araclar {

using data::sqlite::Database;
using platform::Error;

namespace {
constexpr int patienceMs = 30000;
}

void restoreDatabase(const QString& backup, const QString& target) {
    if (!QFileInfo(backup).isFile())
        throw Error(QStringLiteral("Yedek '%1' bulunamadı. Listeyi yenileyip başka bir yedek "
                                   "seçin.")
                        .arg(backup));
    if (!QFileInfo(target).isFile())
        throw Error(QStringLiteral("'%1' bulunamadı; geri yükleme yapılmadı. Araçları "
                                   "DATA.mdb'nin yanından başlatın.")
                        .arg(target));
    try {
        const Database from(backup, Database::Mode::ReadOnly);
        const Database to(target, Database::Mode::ReadWrite);
        sqlite3_busy_timeout(to.handle(), 3000);
        sqlite3_backup* copy = sqlite3_backup_init(to.handle(), "main", from.handle(), "main");
        if (!copy)
            throw Error(to.failure(sqlite3_extended_errcode(to.handle()), true));
        const QDeadlineTimer deadline(patienceMs);
        int rc = SQLITE_OK;
        do {
            rc = sqlite3_backup_step(copy, -1);
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                sqlite3_sleep(50);
        } while ((rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) &&
                 !deadline.hasExpired());
        sqlite3_backup_finish(copy);
        if (rc != SQLITE_DONE)
            throw Error(to.failure(rc, true));
    } catch (const Error& e) {
        throw Error(QStringLiteral("Yedek geri yüklenemedi; DATA.mdb olduğu gibi kaldı (%1). "
                                   "Kütüphane Takip programında kaydedilmekte olan bir şey varsa "
                                   "bitmesini bekleyip yeniden deneyin; sürerse programı bütün "
                                   "bilgisayarlarda kapatın.")
                        .arg(e.message()));
    }
}

} // namespace araclar
