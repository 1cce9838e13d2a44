#include "tools/check.h"

#include "data/provider.h"
#include "data/sqlite.h"
#include "data/tables.h"
#include "platform/errors.h"

#include <QFileInfo>

namespace tools {

using data::sqlite::Database;

QStringList checkDatabase(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return {QStringLiteral("Could not find file '%1'.").arg(path)};
    if (info.size() == 0)
        return {QStringLiteral("The file '%1' is empty: it is not a database of the program")
                    .arg(path)};
    QStringList problems;
    try {
        const Database db(path, Database::Mode::ReadOnly);
        sqlite3_busy_timeout(db.handle(), data::busyTimeoutMs);
        data::sqlite::Statement integrity(db, QStringLiteral("PRAGMA integrity_check"));
        try {
            while (integrity.step()) {
                const auto* text =
                    reinterpret_cast<const char*>(sqlite3_column_text(integrity.handle(), 0));
                const QString finding = QString::fromUtf8(text ? text : "");
                if (finding != u"ok")
                    problems << finding;
            }
        } catch (const platform::Error&) {
            // SQLite gives up on a file too damaged to be read through.
            if (problems.isEmpty())
                throw;
            problems << QStringLiteral("The check stopped there: the file '%1' is too damaged to "
                                       "be read further. Put its last backup in its place")
                            .arg(path);
        }
        for (const data::TableDef* table : data::allTables()) {
            const QString problem = data::tableProblem(db, *table);
            if (!problem.isEmpty())
                problems << table->tableName() + QStringLiteral(": ") + problem;
        }
    } catch (const platform::Error& e) {
        problems << e.message();
    }
    return problems;
}

} // namespace tools
