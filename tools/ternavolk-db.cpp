// ternavolk-db: makes, copies, checks and fills the database file DATA.mdb that the program
// expects beside itself. Each command lives in a command_*.cpp of its own; this file holds their
// table and the usage line made from it.
//
//   ternavolk-db create PATH      a new database with the three empty tables
//   ternavolk-db demo PATH        the same, filled with demo readers, books and loans
//   ternavolk-db generate PATH --books N --readers N --loans N
//                                 the same, filled with generated rows (for benchmarks)
//   ternavolk-db import OLD NEW [--salvage] [--json]
//                                 NEW made from the readers, books and loans of OLD, a
//                                 library kept in the Access format (Jet 4); a damaged OLD is
//                                 refused, or with --salvage imported as far as it reads
//                                 soundly, every row and value left out listed; --json prints
//                                 JSON lines for a program instead (tools/importevents.h)
//   ternavolk-db backup PATH DEST a consistent copy, also while the program writes
//   ternavolk-db backup PATH --into FOLDER [--keep-days N] [--keep-months N]
//                                 a checked copy named by date and time in FOLDER; then the
//                                 older copies there that the rotation no longer keeps go
//   ternavolk-db restore BACKUP PATH [--into FOLDER]
//                                 the checked BACKUP put into PATH (DATA.mdb); what PATH held
//                                 is kept in FOLDER first (by default the backup's folder): a
//                                 checked copy, or a damaged file byte for byte
//   ternavolk-db check PATH       "ok", or each problem of the file
//   ternavolk-db readers PATH LIST... --school NAME [--dry-run] [--accept-names]
//                [--mark-leavers]  a school's pupils from its class lists (e-Okul's .XLS, .xlsx,
//                                 .csv): new readers, classes moved up, conflicts and leavers
//   ternavolk-db books PATH LIST... [--dry-run]
//                                 a school's books from its own spreadsheet
//   ternavolk-db labels PATH OUT [--sheet 3x8|3x7] [--start N] [--serino FROM-TO | --since DAY]
//   ternavolk-db cards PATH OUT [--school NAME] [--class CLASS]
//   ternavolk-db slips PATH OUT [--today DAY]
//                                 book labels, reader cards, reminder slips as a PDF file
//
// An existing file is never overwritten. Exit codes: 0 done (check: the file is sound), 1 the
// command failed and says why (check: the file has problems), 2 the command line was wrong
// (for import also: NEW is already there).

#include "platform/errors.h"
#include "tools/cli.h"
#include "tools/commands.h"
#include "tools/sheetwall.h"
#ifdef TERNAVOLK_ACCESS_IMPORT
#include "tools/accesswall.h"
#endif

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstring>
#include <exception>
#include <memory>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

struct Command {
    const char16_t* name;
    const char16_t* synopsis; // what follows the name in the usage line
    int (*run)(const QStringList& args);
};

namespace commands = tools::commands;
const Command table[] = {
    {u"create", u"PATH", commands::create},
    {u"demo", u"PATH", commands::demo},
    {u"generate", u"PATH --books N --readers N --loans N", commands::generate},
    {u"import", u"OLD NEW [--salvage] [--json]", commands::import},
    {u"backup", u"PATH DEST", commands::backup},
    {u"backup", u"PATH --into FOLDER [--keep-days N] [--keep-months N]", commands::backup},
    {u"restore", u"BACKUP PATH [--into FOLDER]", commands::restore},
    {u"check", u"PATH", commands::check},
    {u"readers", u"PATH LIST... --school NAME [--dry-run] [--accept-names] [--mark-leavers]",
     commands::readers},
    {u"books", u"PATH LIST... [--dry-run]", commands::books},
    {u"labels", u"PATH OUT [--sheet 3x8|3x7] [--start N] [--serino FROM-TO | --since YYYY-MM-DD]",
     commands::labels},
    {u"cards", u"PATH OUT [--school NAME] [--class CLASS]", commands::cards},
    {u"slips", u"PATH OUT [--today YYYY-MM-DD]", commands::slips},
};

QString usage() {
    QString text;
    for (const Command& c : table)
        text += (text.isEmpty() ? QStringLiteral("Usage: ") : QStringLiteral("\n       ")) +
                QStringLiteral("ternavolk-db ") + QString::fromUtf16(c.name) + u' ' +
                QString::fromUtf16(c.synopsis);
    return text;
}

int usageError(const QString& problem) {
    tools::cli::err(QStringLiteral("ternavolk-db: ") + problem);
    tools::cli::err(usage());
    return 2;
}

int run(const QStringList& args) {
    if (args.size() == 1 && (args[0] == u"--help" || args[0] == u"-h")) {
        tools::cli::out(usage());
        return 0;
    }
    if (args.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const Command* command = nullptr;
    for (const Command& c : table)
        if (args[0] == QStringView(c.name)) {
            command = &c;
            break;
        }
    if (!command)
        return usageError(QStringLiteral("unknown command '%1'").arg(args[0]));
    try {
        return command->run(args.mid(1));
    } catch (const tools::cli::UsageError& e) {
        return usageError(e.problem());
    } catch (const platform::Error& e) {
        tools::cli::err(QStringLiteral("ternavolk-db: ") + e.message());
        return 1;
    } catch (const std::exception& e) {
        tools::cli::err(QStringLiteral("ternavolk-db: ") + QString::fromUtf8(e.what()));
        return 1;
    }
}

} // namespace

int main(int argc, char* argv[]) {
#ifdef Q_OS_WIN
    SetConsoleOutputCP(CP_UTF8);
#endif
    // The printing commands lay text out with fonts and write PDF: they need the GUI
    // application, on a machine without a display Qt's offscreen platform (fonts through
    // fontconfig); Windows' own platform needs no display. Every other command runs without it.
    const bool printing =
        argc > 1 && (std::strcmp(argv[1], "labels") == 0 || std::strcmp(argv[1], "cards") == 0 ||
                     std::strcmp(argv[1], "slips") == 0);
#ifndef Q_OS_WIN
    if (printing && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    std::unique_ptr<QCoreApplication> app;
    if (printing) {
        // What Qt says of its own set-up (no runtime folder, no session bus) is no message of
        // the tool's: the tool says itself what failed.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                tools::cli::err(text);
        });
        app = std::make_unique<QGuiApplication>(argc, argv);
    } else
        app = std::make_unique<QCoreApplication>(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
#ifdef TERNAVOLK_ACCESS_IMPORT
    // The import's own child: reads OLD behind the wall (tools/accesswall.h).
    if (args.size() >= 2 && args[0] == QStringView(tools::accessReaderCommand))
        return tools::serveAccessTables(args[1], args.contains(QStringLiteral("--salvage")));
#endif
    // The lists import's child: reads one list behind the wall (tools/sheetwall.h).
    if (args.size() == 2 && args[0] == QStringView(tools::sheets::readSheetCommand))
        return tools::sheets::serveSheet(args[1]);
    return run(args);
}
