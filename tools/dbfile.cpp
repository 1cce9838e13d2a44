#include "tools/dbfile.h"

#include "data/tables.h"
#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>

namespace tools {

using platform::Error;

void createDatabase(const QString& path) {
    if (QFileInfo::exists(path))
        throw Error(QStringLiteral("The file '%1' already exists; it is left as it is").arg(path));
    // Make the empty file with owner-only permissions first, so the data never lies open.
    {
        QFile f(path);
        if (!f.open(QIODevice::NewOnly | QIODevice::WriteOnly))
            throw Error(QStringLiteral("Cannot create '%1': %2").arg(path, f.errorString()));
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    sqlite3* db = nullptr;
    const QByteArray name = QFile::encodeName(path);
    int rc = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    QString sql;
    for (const data::TableDef* t : data::allTables())
        sql += t->createStatement() + QStringLiteral(";\n");
    char* message = nullptr;
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    const QString failure =
        rc == SQLITE_OK ? QString() : QString::fromUtf8(message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    sqlite3_close_v2(db);
    if (rc != SQLITE_OK) {
        QFile::remove(path);
        throw Error(QStringLiteral("Cannot create the tables in '%1': %2").arg(path, failure));
    }
}

} // namespace tools
