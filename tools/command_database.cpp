// create, demo, generate and check: making a database file and checking one.

#include "tools/check.h"
#include "tools/cli.h"
#include "tools/commands.h"
#include "tools/dbfile.h"
#include "tools/demodata.h"

#include <map>

namespace tools::commands {

using cli::UsageError;

namespace {
QString onePath(const QString& command, const QStringList& args) {
    if (args.isEmpty() || args[0].isEmpty() || args[0].startsWith(u"--"))
        throw UsageError(QStringLiteral("%1: missing PATH").arg(command));
    if (args.size() > 1)
        throw UsageError(QStringLiteral("%1: unexpected argument '%2'").arg(command, args[1]));
    return args[0];
}
} // namespace

int create(const QStringList& args) {
    const QString path = onePath(QStringLiteral("create"), args);
    createDatabase(path);
    cli::out(QStringLiteral("Created an empty database: %1").arg(path));
    return 0;
}

int demo(const QStringList& args) {
    const QString path = onePath(QStringLiteral("demo"), args);
    createDemoDatabase(path);
    cli::out(QStringLiteral("Created a demo database: %1").arg(path));
    return 0;
}

int generate(const QStringList& args) {
    // The path first, then the three counts in any order, each once.
    if (args.isEmpty() || args[0].isEmpty() || args[0].startsWith(u"--"))
        throw UsageError(QStringLiteral("generate: missing PATH"));
    const QString& path = args[0];
    const QStringList names{QStringLiteral("--books"), QStringLiteral("--readers"),
                            QStringLiteral("--loans")};
    std::map<QString, int> counts;
    for (qsizetype i = 1; i < args.size(); i += 2) {
        const QString& option = args[i];
        if (!names.contains(option))
            throw UsageError(QStringLiteral("generate: unexpected argument '%1'").arg(option));
        if (counts.count(option))
            throw UsageError(QStringLiteral("generate: %1 given twice").arg(option));
        if (i + 1 >= args.size())
            throw UsageError(QStringLiteral("generate: %1 needs a number").arg(option));
        const std::optional<int> n = cli::count(args[i + 1]);
        if (!n)
            throw UsageError(QStringLiteral("generate: %1 needs a non-negative whole number, "
                                            "not '%2'")
                                 .arg(option, args[i + 1]));
        counts[option] = *n;
    }
    for (const QString& option : names)
        if (!counts.count(option))
            throw UsageError(QStringLiteral("generate: %1 missing").arg(option));
    const int books = counts[QStringLiteral("--books")];
    const int readers = counts[QStringLiteral("--readers")];
    const int loans = counts[QStringLiteral("--loans")];
    createGeneratedDatabase(path, books, readers, loans);
    cli::out(
        QStringLiteral("Created a database with %1 books, %2 readers and %3 loans: %4")
            .arg(QString::number(books), QString::number(readers), QString::number(loans), path));
    return 0;
}

int check(const QStringList& args) {
    const QString path = onePath(QStringLiteral("check"), args);
    const QStringList problems = checkDatabase(path);
    for (const QString& p : problems)
        cli::out(p);
    if (problems.isEmpty())
        cli::out(QStringLiteral("ok"));
    return problems.isEmpty() ? 0 : 1;
}

} // namespace tools::commands
