// import: a new database made from an old Access-format library, read behind the wall.

#include "data/databasefile.h"
#include "tools/cli.h"
#include "tools/commands.h"
#ifdef TERNAVOLK_ACCESS_IMPORT
#include "tools/accessimport.h"
#include "tools/accesswall.h"
#include "tools/interrupt.h"
#endif

#include <QCoreApplication>

namespace tools::commands {

using cli::UsageError;

int import(const QStringList& arguments) {
    QStringList args = arguments;
    const bool salvage = args.removeAll(QStringLiteral("--salvage")) > 0; // wherever it stands
    if (args.isEmpty() || args[0].isEmpty() || args[0].startsWith(u"--"))
        throw UsageError(QStringLiteral("import: missing OLD"));
    if (args.size() < 2 || args[1].isEmpty())
        throw UsageError(QStringLiteral("import: missing NEW"));
    if (args.size() > 2)
        throw UsageError(QStringLiteral("import: unexpected argument '%1'").arg(args[2]));
    const QString& oldPath = args[0];
    const QString& newPath = args[1];

    const QString exists = data::existingFileProblem(newPath);
    if (!exists.isEmpty()) {
        cli::err(QStringLiteral("ternavolk-db: ") + exists);
        return 2;
    }
#ifndef TERNAVOLK_ACCESS_IMPORT
    (void)salvage;
    cli::err(QStringLiteral("ternavolk-db: this ternavolk-db was built without libmdb and cannot "
                            "read '%1'")
                 .arg(oldPath));
    return 1;
#else
    // An interrupt removes the half-made NEW and stops the reader, as a failure does.
    watchForInterrupt();
    cli::out(QStringLiteral("Importing '%1' into '%2'").arg(oldPath, newPath));
    const auto progress = [](const QString& table, qint64 rows) {
        cli::out(QStringLiteral("%1: %2 rows so far...").arg(table).arg(rows));
    };
    WalledAccessReader reader(QCoreApplication::applicationFilePath(), oldPath, salvage);
    const std::vector<TableImport> tables = importAccessDatabase(reader, newPath, progress);
    int warnings = 0;
    for (const TableImport& t : tables) {
        cli::out(
            QStringLiteral("%1: %2 rows read, %3 written").arg(t.table).arg(t.read).arg(t.written));
        for (const QString& w : t.warnings)
            cli::out(QStringLiteral("  warning: ") + w);
        warnings += static_cast<int>(t.warnings.size());
    }
    cli::out(QStringLiteral("Imported with %1 warning(s): %2").arg(warnings).arg(newPath));
    return 0;
#endif
}

} // namespace tools::commands
