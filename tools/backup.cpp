#include "tools/backup.h"

#include "data/databasefile.h"
#include "data/sqlite.h"
#include "tools/check.h"

#include <QDeadlineTimer>
#include <QFile>

namespace tools {

using data::sqlite::Database;
using platform::Error;

CopyFailedCheck::CopyFailedCheck(QString source, QString copy, QStringList problems)
    : Error(QStringLiteral("The file '%1' is damaged: the copy '%2' was made, but it is not a "
                           "sound backup. Keep your last sound backup; the copy stays beside it "
                           "in case it is the best there is. The check of the copy found:\n%3")
                .arg(source, copy, problems.join(QLatin1Char('\n')))),
      source_(std::move(source)), copy_(std::move(copy)), problems_(std::move(problems)) {}

void backupDatabase(const QString& source, const QString& destination,
                    platform::Progress& progress) {
    data::requireDatabaseFile(source, data::FileUse::Read);
    data::requireNoFile(destination);

    // One patience for the whole backup, from the first read of the file to the last page.
    const QDeadlineTimer deadline(data::sqlite::toolPatienceMs);
    {
        Database from(source, Database::Mode::ReadOnly);
        from.setBusyTimeout(data::sqlite::toolPatienceMs);
        const int header = from.readHeader();
        if (header != SQLITE_OK)
            throw from.error(header, false);

        // The empty file first, for its owner only, so the copy of pupils' data never lies open.
        data::createOwnerOnlyFile(destination);
        try {
            Database to(destination, Database::Mode::ReadWrite);
            from.copyInto(to, deadline, progress);
            // The copy keeps the rollback journal, whatever another program made of the source.
            // A copy too damaged to be switched is left to the check below.
            try {
                to.keepRollbackJournal();
            } catch (const Error&) {
            }
        } catch (...) {
            QFile::remove(destination);
            QFile::remove(destination + QStringLiteral("-journal"));
            throw;
        }
    }

    // A copy is only as sound as its source: check it as 'check' does. A damaged copy stays,
    // as it may still be the best there is, but is not called a backup.
    const QStringList problems = checkDatabase(destination);
    if (!problems.isEmpty())
        throw CopyFailedCheck(source, destination, problems);
}

} // namespace tools
