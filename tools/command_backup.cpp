// backup: a consistent copy of a database file, or a checked, date-named one in a folder of
// backups with the rotation applied.

#include "tools/backup.h"
#include "tools/cli.h"
#include "tools/commands.h"
#include "tools/rotation.h"

#include <QDateTime>
#include <QDir>
#include <map>

namespace tools::commands {

using cli::UsageError;

int backup(const QStringList& args) {
    if (args.isEmpty() || args[0].isEmpty() || args[0].startsWith(u"--"))
        throw UsageError(QStringLiteral("backup: missing PATH"));
    const QString& path = args[0];
    if (args.size() > 1 && args[1] == u"--into") {
        if (args.size() < 3 || args[2].isEmpty())
            throw UsageError(QStringLiteral("backup: --into needs a FOLDER"));
        const QStringList names{QStringLiteral("--keep-days"), QStringLiteral("--keep-months")};
        std::map<QString, int> counts;
        for (qsizetype i = 3; i < args.size(); i += 2) {
            const QString& option = args[i];
            if (!names.contains(option))
                throw UsageError(QStringLiteral("backup: unexpected argument '%1'").arg(option));
            if (counts.count(option))
                throw UsageError(QStringLiteral("backup: %1 given twice").arg(option));
            const std::optional<int> n =
                i + 1 < args.size() ? cli::count(args[i + 1]) : std::nullopt;
            if (!n)
                throw UsageError(
                    QStringLiteral("backup: %1 needs a non-negative whole number").arg(option));
            counts[option] = *n;
        }
        RotationPolicy policy;
        if (counts.count(QStringLiteral("--keep-days")))
            policy.keepDays = counts[QStringLiteral("--keep-days")];
        if (counts.count(QStringLiteral("--keep-months")))
            policy.keepMonths = counts[QStringLiteral("--keep-months")];
        const RotatedBackup done = backupInto(path, args[2], QDateTime::currentDateTime(), policy);
        cli::out(
            QStringLiteral("Backed up %1 to %2").arg(path, QDir::toNativeSeparators(done.path)));
        for (const QString& old : done.deleted)
            cli::out(
                QStringLiteral("Deleted the old backup %1").arg(QDir::toNativeSeparators(old)));
        return 0;
    }
    if (args.size() < 2 || args[1].isEmpty())
        throw UsageError(QStringLiteral("backup: missing DEST"));
    if (args.size() > 2)
        throw UsageError(QStringLiteral("backup: unexpected argument '%1'").arg(args[2]));
    backupDatabase(path, args[1]);
    cli::out(QStringLiteral("Backed up %1 to %2").arg(path, args[1]));
    return 0;
}

} // namespace tools::commands
