#include "tools/dbfile.h"

#include "data/databasefile.h"
#include "data/sqlite.h"
#include "data/tables.h"
#include "platform/errors.h"
#include "tools/codes.h"

#include <QFile>

namespace tools {

using platform::Error;

void createDatabase(const QString& path) {
    data::createOwnerOnlyFile(path);
    QString sql;
    for (const data::TableDef* t : data::allTables())
        sql += t->createStatement() + QStringLiteral(";\n");
    // The indexes the lending desk looks codes and names up by (no column, no row changed).
    for (const QString& index : lookupIndexStatements())
        sql += index + QStringLiteral(";\n");
    try {
        data::sqlite::Database db(path, data::sqlite::Database::Mode::ReadWrite);
        db.executeScript(sql);
    } catch (const Error& e) {
        QFile::remove(path);
        const QString message =
            QStringLiteral("Cannot create the tables in '%1': %2").arg(path, e.message());
        if (const auto* file = dynamic_cast<const data::FileError*>(&e))
            throw data::FileError(file->fault(), path, message, file->detail());
        throw Error(message);
    }
}

} // namespace tools
