#include "tools/dbfile.h"

#include "data/sqlite.h"
#include "data/tables.h"
#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>

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
    QString sql;
    for (const data::TableDef* t : data::allTables())
        sql += t->createStatement() + QStringLiteral(";\n");
    try {
        data::sqlite::Database db(path, data::sqlite::Database::Mode::ReadWrite);
        db.executeScript(sql);
    } catch (const Error& e) {
        QFile::remove(path);
        throw Error(QStringLiteral("Cannot create the tables in '%1': %2").arg(path, e.message()));
    }
}

} // namespace tools
