#include "tools/check.h"

#include "data/connection.h"
#include "data/databasefile.h"
#include "data/sqlite.h"
#include "data/tables.h"
#include "platform/errors.h"

namespace tools {

using data::sqlite::Database;

QStringList checkDatabase(const QString& path) {
    const QString fileProblem = data::databaseFileProblem(path, data::FileUse::Read);
    if (!fileProblem.isEmpty())
        return {fileProblem};
    // The program keeps the rollback journal; it switches such a file back when it opens it.
    // This check only reads: SQLite would leave the log's files beside the file, so it reads
    // nothing further.
    if (data::isWriteAheadLogFile(path))
        return {QStringLiteral("The file '%1' was switched to a write-ahead log (WAL) by "
                               "another program, which a folder on a network share cannot "
                               "serve safely. Close that program and open the file once "
                               "with this program, which switches it back to its journal "
                               "file; then run the check again")
                    .arg(path)};
    QStringList problems;
    try {
        Database db(path, Database::Mode::ReadOnly);
        db.setBusyTimeout(data::sqlite::busyTimeoutMs);
        data::sqlite::Statement integrity(db, QStringLiteral("PRAGMA integrity_check"));
        try {
            while (integrity.step()) {
                const QString finding = integrity.text(0);
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
            QString problem = data::tableProblem(db, *table);
            if (!problem.isEmpty())
                problems << table->tableName() + QStringLiteral(": ") + problem;
            else if (!(problem = data::tableRulesProblem(db, *table)).isEmpty())
                problems << problem;
        }
    } catch (const platform::Error& e) {
        problems << e.message();
    }
    return problems;
}

} // namespace tools
