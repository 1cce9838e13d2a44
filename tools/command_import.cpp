// import: a new database made from an old Access-format library, read behind the wall. With
// --json it prints its progress, summary or failure as JSON lines (tools/importevents.h) for
// the companion instead of English for a person.

#include "data/databasefile.h"
#include "tools/cli.h"
#include "tools/commands.h"
#include "tools/importevents.h"
#ifdef TERNAVOLK_ACCESS_IMPORT
#include "tools/accessimport.h"
#include "tools/accesswall.h"
#include "tools/interrupt.h"
#endif

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <exception>

namespace tools::commands {

using cli::UsageError;

namespace {

void json(const QJsonObject& event) {
    cli::out(QString::fromUtf8(QJsonDocument(event).toJson(QJsonDocument::Compact)));
}

struct Paths {
    QString oldPath, newPath;
    bool salvage = false;
};

Paths importArguments(QStringList args) {
    Paths p;
    p.salvage = args.removeAll(QStringLiteral("--salvage")) > 0; // wherever it stands
    if (args.isEmpty() || args[0].isEmpty() || args[0].startsWith(u"--"))
        throw UsageError(QStringLiteral("import: missing OLD"));
    if (args.size() < 2 || args[1].isEmpty())
        throw UsageError(QStringLiteral("import: missing NEW"));
    if (args.size() > 2)
        throw UsageError(QStringLiteral("import: unexpected argument '%1'").arg(args[2]));
    p.oldPath = args[0];
    p.newPath = args[1];
    return p;
}

// The import itself; `asJson` says how it speaks. Failures are thrown.
int runImport(const Paths& p, bool asJson) {
    const QString exists = data::existingFileProblem(p.newPath);
    if (!exists.isEmpty())
        throw ImportFailure(ImportCause::Exists, exists);
#ifndef TERNAVOLK_ACCESS_IMPORT
    (void)asJson;
    throw ImportFailure(ImportCause::Other,
                        QStringLiteral("this ternavolk-db was built without libmdb and cannot "
                                       "read '%1'")
                            .arg(p.oldPath));
#else
    // An interrupt removes the half-made NEW and stops the reader, as a failure does.
    watchForInterrupt();
    if (asJson)
        json({{QStringLiteral("event"), QStringLiteral("start")},
              {QStringLiteral("old"), p.oldPath},
              {QStringLiteral("new"), p.newPath}});
    else
        cli::out(QStringLiteral("Importing '%1' into '%2'").arg(p.oldPath, p.newPath));
    const auto progress = [asJson](const QString& table, qint64 rows) {
        if (asJson)
            json({{QStringLiteral("event"), QStringLiteral("progress")},
                  {QStringLiteral("table"), table},
                  {QStringLiteral("rows"), rows}});
        else
            cli::out(QStringLiteral("%1: %2 rows so far...").arg(table).arg(rows));
    };
    WalledAccessReader reader(QCoreApplication::applicationFilePath(), p.oldPath, p.salvage);
    const std::vector<TableImport> tables = importAccessDatabase(reader, p.newPath, progress);
    qint64 warnings = 0;
    for (const TableImport& t : tables) {
        warnings += static_cast<qint64>(t.warnings.size());
        if (asJson) {
            QJsonArray listed;
            for (const ImportWarning& w : t.warnings)
                listed.append(w.toJson());
            json({{QStringLiteral("event"), QStringLiteral("table")},
                  {QStringLiteral("table"), t.table},
                  {QStringLiteral("read"), t.read},
                  {QStringLiteral("written"), t.written},
                  {QStringLiteral("warnings"), listed}});
            continue;
        }
        cli::out(
            QStringLiteral("%1: %2 rows read, %3 written").arg(t.table).arg(t.read).arg(t.written));
        for (const ImportWarning& w : t.warnings)
            cli::out(QStringLiteral("  warning: ") + w.text);
    }
    if (asJson)
        json({{QStringLiteral("event"), QStringLiteral("done")},
              {QStringLiteral("new"), p.newPath},
              {QStringLiteral("warnings"), warnings}});
    else
        cli::out(QStringLiteral("Imported with %1 warning(s): %2").arg(warnings).arg(p.newPath));
    return 0;
#endif
}

} // namespace

int import(const QStringList& arguments) {
    QStringList args = arguments;
    const bool asJson = args.removeAll(QStringLiteral("--json")) > 0; // wherever it stands
    if (!asJson) {
        const Paths p = importArguments(args);
        try {
            return runImport(p, false);
        } catch (const ImportFailure& e) {
            if (e.cause() != ImportCause::Exists)
                throw;
            cli::err(QStringLiteral("ternavolk-db: ") + e.message());
            return 2;
        }
    }
    // As JSON, every way out is one last line on stdout, and nothing goes to stderr.
    try {
        return runImport(importArguments(args), true);
    } catch (const UsageError& e) {
        json(ImportFailure(ImportCause::Usage, e.problem()).toJson());
        return 2;
    } catch (const ImportFailure& e) {
        json(e.toJson());
        return e.cause() == ImportCause::Exists ? 2 : 1;
    } catch (const platform::Error& e) {
        json(ImportFailure(ImportCause::Other, e.message()).toJson());
    } catch (const std::exception& e) {
        json(ImportFailure(ImportCause::Other, QString::fromUtf8(e.what())).toJson());
    }
    return 1;
}

} // namespace tools::commands
