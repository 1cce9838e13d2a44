// backup: a consistent copy of a database file, or a checked, date-named one in a folder of
// backups with the rotation applied.

#include "tools/backup.h"
#include "tools/cli.h"
#include "tools/commands.h"
#include "tools/restore.h"
#include "tools/rotation.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
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
        for (const RotationDeletion& old : done.deleted)
            cli::out(QStringLiteral("Deleted the old backup %1 (%2)")
                         .arg(QDir::toNativeSeparators(old.fileName),
                              old.reason == DeletionReason::SameDay
                                  ? QStringLiteral("a newer backup of the same day is kept")
                                  : QStringLiteral("older than the days kept, and not the newest "
                                                   "of a month kept")));
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

int restore(const QStringList& args) {
    const cli::Arguments a =
        cli::parse(QStringLiteral("restore"), args, {}, {QStringLiteral("--into")});
    cli::requirePositional(QStringLiteral("restore"), a,
                           {QStringLiteral("BACKUP"), QStringLiteral("PATH")});
    const QString& backup = a.positional[0];
    const QString& path = a.positional[1];
    const QString folder = a.has(QStringLiteral("--into")) ? a.value(QStringLiteral("--into"))
                                                           : QFileInfo(backup).absolutePath();
    const Replaced done =
        replaceRegisters(backup, path, folder, KeepAs::Restore, QDateTime::currentDateTime());
    const QString kept = QDir::toNativeSeparators(done.keptAs);
    switch (done.before) {
    case Replaced::Before::Sound:
        cli::out(QStringLiteral("Restored %1 into %2; the registers as they were are kept in %3")
                     .arg(backup, path, kept));
        break;
    case Replaced::Before::Damaged:
        cli::out(QStringLiteral("Restored %1 into %2; %2 was damaged and is kept as it was in %3")
                     .arg(backup, path, kept));
        for (const QString& problem : done.damage)
            cli::out(QStringLiteral("  ") + problem);
        break;
    case Replaced::Before::Missing:
        cli::out(QStringLiteral("Restored %1 into %2, which was missing").arg(backup, path));
        break;
    }
    return 0;
}

} // namespace tools::commands
