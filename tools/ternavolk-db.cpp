// ternavolk-db: makes the database file DATA.mdb that the program expects beside itself.
//
//   ternavolk-db create PATH      a new database with the three empty tables
//   ternavolk-db demo PATH        the same, filled with demo readers, books and loans
//   ternavolk-db generate PATH --books N --readers N --loans N
//                                 the same, filled with generated rows (for benchmarks)
//   ternavolk-db import OLD NEW [--salvage]
//                                 NEW made from the readers, books and loans of OLD, a
//                                 library kept in the Access format (Jet 4); a damaged OLD is
//                                 refused, or with --salvage imported as far as it reads
//                                 soundly, every row and value left out listed
//   ternavolk-db backup PATH DEST a consistent copy, also while the program writes
//   ternavolk-db backup PATH --into FOLDER [--keep-days N --keep-months N]
//                                 a checked copy named by date and time in FOLDER; then the
//                                 older copies there that the rotation no longer keeps go
//   ternavolk-db check PATH       "ok", or each problem of the file
//
// An existing file is never overwritten. Exit codes: 0 done (check: the file is sound), 1 the
// database could not be made or copied (check: it has problems), 2 the command line was wrong
// (for import also: NEW is already there).

#include "data/databasefile.h"
#include "platform/errors.h"
#ifdef TERNAVOLK_ACCESS_IMPORT
#include "tools/accessimport.h"
#include "tools/accesswall.h"
#include "tools/interrupt.h"
#endif
#include "tools/backup.h"
#include "tools/check.h"
#include "tools/dbfile.h"
#include "tools/demodata.h"
#include "tools/rotation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <map>
#include <optional>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const QString usage = QStringLiteral("Usage: ternavolk-db create PATH | demo PATH | "
                                     "generate PATH --books N --readers N --loans N | "
                                     "import OLD NEW [--salvage] | backup PATH DEST | check PATH");

// Everything the tool prints is UTF-8; on Windows the console is told so at start.
void write(FILE* stream, const QString& line) {
    std::fputs((line + QLatin1Char('\n')).toUtf8().constData(), stream);
    std::fflush(stream);
}

int usageError(const QString& problem) {
    write(stderr, QStringLiteral("ternavolk-db: ") + problem);
    write(stderr, usage);
    return 2;
}

// A non-negative whole number in decimal digits only (no sign, no blanks), within int.
std::optional<int> count(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return std::nullopt;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

// Brings an Access-format library across and says, table by table, what came over.
int import(const QString& oldPath, const QString& newPath, bool salvage) {
    const QString exists = data::existingFileProblem(newPath);
    if (!exists.isEmpty()) {
        write(stderr, QStringLiteral("ternavolk-db: ") + exists);
        return 2;
    }
#ifndef TERNAVOLK_ACCESS_IMPORT
    (void)salvage;
    write(stderr, QStringLiteral("ternavolk-db: this ternavolk-db was built without libmdb and "
                                 "cannot read '%1'")
                      .arg(oldPath));
    return 1;
#else
    // An interrupt removes the half-made NEW and stops the reader, as a failure does.
    tools::watchForInterrupt();
    write(stdout, QStringLiteral("Importing '%1' into '%2'").arg(oldPath, newPath));
    const auto progress = [](const QString& table, qint64 rows) {
        write(stdout, QStringLiteral("%1: %2 rows so far...").arg(table).arg(rows));
    };
    tools::WalledAccessReader reader(QCoreApplication::applicationFilePath(), oldPath, salvage);
    const std::vector<tools::TableImport> tables =
        tools::importAccessDatabase(reader, newPath, progress);
    int warnings = 0;
    for (const tools::TableImport& t : tables) {
        write(
            stdout,
            QStringLiteral("%1: %2 rows read, %3 written").arg(t.table).arg(t.read).arg(t.written));
        for (const QString& w : t.warnings)
            write(stdout, QStringLiteral("  warning: ") + w);
        warnings += static_cast<int>(t.warnings.size());
    }
    write(stdout, QStringLiteral("Imported with %1 warning(s): %2").arg(warnings).arg(newPath));
    return 0;
#endif
}

int run(QStringList args) {
    if (args.size() == 1 && (args[0] == u"--help" || args[0] == u"-h")) {
        write(stdout, usage);
        return 0;
    }
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const QString& command = args[0];
    if (command != u"create" && command != u"demo" && command != u"generate" &&
        command != u"import" && command != u"backup" && command != u"check")
        return usageError(QStringLiteral("unknown command '%1'").arg(command));

    bool salvage = false; // import's option, wherever it stands
    if (command == u"import")
        salvage = args.removeAll(QStringLiteral("--salvage")) > 0;
    // The path first, then (for generate) the three counts in any order, each once.
    if (args.size() < 2 || args[1].isEmpty() || args[1].startsWith(u"--"))
        return usageError(QStringLiteral("%1: missing %2")
                              .arg(command, command == u"import" ? QStringLiteral("OLD")
                                                                 : QStringLiteral("PATH")));
    const QString& path = args[1];
    std::map<QString, int> counts;
    if (command == u"import") {
        if (args.size() < 3 || args[2].isEmpty())
            return usageError(QStringLiteral("import: missing NEW"));
        if (args.size() > 3)
            return usageError(QStringLiteral("import: unexpected argument '%1'").arg(args[3]));
    } else if (command == u"generate") {
        const QStringList names{QStringLiteral("--books"), QStringLiteral("--readers"),
                                QStringLiteral("--loans")};
        for (qsizetype i = 2; i < args.size(); i += 2) {
            const QString& option = args[i];
            if (!names.contains(option))
                return usageError(QStringLiteral("generate: unexpected argument '%1'").arg(option));
            if (counts.count(option))
                return usageError(QStringLiteral("generate: %1 given twice").arg(option));
            if (i + 1 >= args.size())
                return usageError(QStringLiteral("generate: %1 needs a number").arg(option));
            const std::optional<int> n = count(args[i + 1]);
            if (!n)
                return usageError(QStringLiteral("generate: %1 needs a non-negative whole "
                                                 "number, not '%2'")
                                      .arg(option, args[i + 1]));
            counts[option] = *n;
        }
        for (const QString& option : names)
            if (!counts.count(option))
                return usageError(QStringLiteral("generate: %1 missing").arg(option));
    } else if (command == u"backup" && args.size() > 2 && args[2] == u"--into") {
        if (args.size() < 4 || args[3].isEmpty())
            return usageError(QStringLiteral("backup: --into needs a FOLDER"));
        const QStringList names{QStringLiteral("--keep-days"), QStringLiteral("--keep-months")};
        for (qsizetype i = 4; i < args.size(); i += 2) {
            const QString& option = args[i];
            if (!names.contains(option))
                return usageError(QStringLiteral("backup: unexpected argument '%1'").arg(option));
            if (counts.count(option))
                return usageError(QStringLiteral("backup: %1 given twice").arg(option));
            const std::optional<int> n = i + 1 < args.size() ? count(args[i + 1]) : std::nullopt;
            if (!n)
                return usageError(
                    QStringLiteral("backup: %1 needs a non-negative whole number").arg(option));
            counts[option] = *n;
        }
    } else if (command == u"backup") {
        if (args.size() < 3 || args[2].isEmpty())
            return usageError(QStringLiteral("backup: missing DEST"));
        if (args.size() > 3)
            return usageError(QStringLiteral("backup: unexpected argument '%1'").arg(args[3]));
    } else if (args.size() > 2) {
        return usageError(QStringLiteral("%1: unexpected argument '%2'").arg(command, args[2]));
    }

    try {
        if (command == u"import")
            return import(path, args[2], salvage);
        if (command == u"check") {
            const QStringList problems = tools::checkDatabase(path);
            for (const QString& p : problems)
                write(stdout, p);
            if (problems.isEmpty())
                write(stdout, QStringLiteral("ok"));
            return problems.isEmpty() ? 0 : 1;
        }
        if (command == u"backup" && args[2] == u"--into") {
            tools::RotationPolicy policy;
            if (counts.count(QStringLiteral("--keep-days")))
                policy.keepDays = counts[QStringLiteral("--keep-days")];
            if (counts.count(QStringLiteral("--keep-months")))
                policy.keepMonths = counts[QStringLiteral("--keep-months")];
            const tools::RotatedBackup done =
                tools::backupInto(path, args[3], QDateTime::currentDateTime(), policy);
            write(stdout, QStringLiteral("Backed up %1 to %2")
                              .arg(path, QDir::toNativeSeparators(done.path)));
            for (const QString& old : done.deleted)
                write(
                    stdout,
                    QStringLiteral("Deleted the old backup %1").arg(QDir::toNativeSeparators(old)));
        } else if (command == u"backup") {
            tools::backupDatabase(path, args[2]);
            write(stdout, QStringLiteral("Backed up %1 to %2").arg(path, args[2]));
        } else if (command == u"create") {
            tools::createDatabase(path);
            write(stdout, QStringLiteral("Created an empty database: %1").arg(path));
        } else if (command == u"demo") {
            tools::createDemoDatabase(path);
            write(stdout, QStringLiteral("Created a demo database: %1").arg(path));
        } else {
            const int books = counts[QStringLiteral("--books")];
            const int readers = counts[QStringLiteral("--readers")];
            const int loans = counts[QStringLiteral("--loans")];
            tools::createGeneratedDatabase(path, books, readers, loans);
            write(stdout, QStringLiteral("Created a database with %1 books, %2 readers and %3 "
                                         "loans: %4")
                              .arg(QString::number(books), QString::number(readers),
                                   QString::number(loans), path));
        }
    } catch (const platform::Error& e) {
        write(stderr, QStringLiteral("ternavolk-db: ") + e.message());
        return 1;
    } catch (const std::exception& e) {
        write(stderr, QStringLiteral("ternavolk-db: ") + QString::fromUtf8(e.what()));
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
#ifdef Q_OS_WIN
    SetConsoleOutputCP(CP_UTF8);
#endif
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
#ifdef TERNAVOLK_ACCESS_IMPORT
    // The import's own child: reads OLD behind the wall (tools/accesswall.h).
    if (args.size() >= 2 && args[0] == QStringView(tools::accessReaderCommand))
        return tools::serveAccessTables(args[1], args.contains(QStringLiteral("--salvage")));
#endif
    return run(args);
}
