// labels, cards and slips: the book labels, the readers' cards and the reminder slips as PDF
// files, the same layouts the companion prints.

#include "data/databasefile.h"
#include "data/sqlite.h"
#include "platform/progress.h"
#include "printing/barcode.h"
#include "tools/cli.h"
#include "tools/commands.h"
#include "tools/printdata.h"

#include <QDate>
#include <QRegularExpression>
#include <memory>

namespace tools::commands {

using cli::UsageError;
using data::sqlite::Database;

namespace {

const QString creator = QStringLiteral("ternavolk-db");

std::unique_ptr<Database> openToRead(const QString& path) {
    data::requireDatabaseFile(path, data::FileUse::Read);
    auto db = std::make_unique<Database>(path, Database::Mode::ReadOnly);
    db->setBusyTimeout(data::sqlite::toolPatienceMs);
    return db;
}

QString labelFaultText(printing::LabelCodeFault fault) {
    switch (fault) {
    case printing::LabelCodeFault::Empty:
        return QStringLiteral("it has no code");
    case printing::LabelCodeFault::NotAscii:
        return QStringLiteral("its code holds characters a barcode cannot carry");
    case printing::LabelCodeFault::TooLong:
    case printing::LabelCodeFault::TooWideForLabel:
        return QStringLiteral("its code is too long for the label");
    }
    return QString();
}

QDate isoDay(const QString& command, const QString& option, const QString& text) {
    const QDate day = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
    if (!day.isValid())
        throw UsageError(QStringLiteral("%1: %2 needs a day as YYYY-MM-DD, not '%3'")
                             .arg(command, option, text));
    return day;
}

} // namespace

int labels(const QStringList& args) {
    const cli::Arguments a = cli::parse(QStringLiteral("labels"), args, {},
                                        {QStringLiteral("--sheet"), QStringLiteral("--start"),
                                         QStringLiteral("--serino"), QStringLiteral("--since")});
    cli::requirePositional(QStringLiteral("labels"), a,
                           {QStringLiteral("PATH"), QStringLiteral("OUT")});
    printing::LabelRun run;
    const QString sheet = a.has(QStringLiteral("--sheet")) ? a.value(QStringLiteral("--sheet"))
                                                           : QStringLiteral("3x8");
    if (sheet == u"3x8")
        run.sheet = printing::sheet3x8();
    else if (sheet == u"3x7")
        run.sheet = printing::sheet3x7();
    else
        throw UsageError(QStringLiteral("labels: --sheet is 3x8 or 3x7, not '%1'").arg(sheet));
    if (a.has(QStringLiteral("--start"))) {
        const std::optional<int> n = cli::count(a.value(QStringLiteral("--start")));
        if (!n || *n < 1 || *n > run.sheet.perSheet())
            throw UsageError(QStringLiteral("labels: --start needs a label from 1 to %1")
                                 .arg(run.sheet.perSheet()));
        run.start = *n;
    }
    printdata::BookChoice choice;
    if (a.has(QStringLiteral("--serino")) && a.has(QStringLiteral("--since")))
        throw UsageError(QStringLiteral("labels: give either --serino or --since"));
    if (a.has(QStringLiteral("--serino"))) {
        static const QRegularExpression range(QStringLiteral("^(\\d{1,18})-(\\d{1,18})$"));
        const QRegularExpressionMatch m = range.match(a.value(QStringLiteral("--serino")));
        if (!m.hasMatch() || m.captured(1).toLongLong() > m.captured(2).toLongLong())
            throw UsageError(QStringLiteral("labels: --serino needs FROM-TO, two whole numbers "
                                            "with FROM not above TO"));
        choice.kind = printdata::BookChoice::Kind::Serials;
        choice.fromSerial = m.captured(1).toLongLong();
        choice.toSerial = m.captured(2).toLongLong();
    } else if (a.has(QStringLiteral("--since"))) {
        choice.kind = printdata::BookChoice::Kind::Since;
        choice.since = isoDay(QStringLiteral("labels"), QStringLiteral("--since"),
                              a.value(QStringLiteral("--since")));
    }
    const QString& path = a.positional[0];
    const QString& out = a.positional[1];
    data::requireNoFile(out);

    std::vector<printing::BookLabel> labels;
    {
        const auto db = openToRead(path);
        run.library = printdata::libraryName(*db);
        for (const printdata::LabelBook& b : printdata::chooseBooks(*db, choice)) {
            if (const auto fault = printing::labelCodeFault(b.label.code, run.sheet)) {
                cli::err(QStringLiteral("Skipped the book %1 '%2': %3")
                             .arg(b.id)
                             .arg(b.label.title, labelFaultText(*fault)));
                continue;
            }
            labels.push_back(b.label);
        }
    }
    if (labels.empty()) {
        cli::err(QStringLiteral("ternavolk-db: no book chosen has a code to print; nothing was "
                                "written"));
        return 1;
    }
    printing::saveLabelsPdf(labels, run, out, creator, platform::noProgress());
    const int perSheet = run.sheet.perSheet();
    const int sheets = (run.start - 1 + static_cast<int>(labels.size()) + perSheet - 1) / perSheet;
    cli::out(QStringLiteral("Wrote %1 labels on %2 sheets to %3")
                 .arg(labels.size())
                 .arg(sheets)
                 .arg(out));
    return 0;
}

int cards(const QStringList& args) {
    const cli::Arguments a = cli::parse(QStringLiteral("cards"), args, {},
                                        {QStringLiteral("--school"), QStringLiteral("--class")});
    cli::requirePositional(QStringLiteral("cards"), a,
                           {QStringLiteral("PATH"), QStringLiteral("OUT")});
    const QString& out = a.positional[1];
    data::requireNoFile(out);
    printdata::ReaderChoice choice;
    choice.school = a.value(QStringLiteral("--school"));
    choice.level = a.value(QStringLiteral("--class"));
    std::vector<printing::ReaderCard> cards;
    {
        const auto db = openToRead(a.positional[0]);
        for (printdata::CardReader& r : printdata::chooseReaders(*db, choice)) {
            if (printing::codeFault(r.card.code)) {
                cli::err(QStringLiteral("Skipped the reader %1 '%2': the card's code '%3' holds "
                                        "characters a barcode cannot carry")
                             .arg(r.id)
                             .arg(r.card.name, r.card.code));
                continue;
            }
            cards.push_back(std::move(r.card));
        }
    }
    if (cards.empty()) {
        cli::err(QStringLiteral("ternavolk-db: no reader is of that school and class; nothing was "
                                "written"));
        return 1;
    }
    printing::saveCardsPdf(cards, out, creator, platform::noProgress());
    cli::out(QStringLiteral("Wrote %1 cards on %2 pages to %3")
                 .arg(cards.size())
                 .arg((cards.size() + printing::cardsPerPage - 1) / printing::cardsPerPage)
                 .arg(out));
    return 0;
}

int slips(const QStringList& args) {
    const cli::Arguments a =
        cli::parse(QStringLiteral("slips"), args, {}, {QStringLiteral("--today")});
    cli::requirePositional(QStringLiteral("slips"), a,
                           {QStringLiteral("PATH"), QStringLiteral("OUT")});
    const QDate today = a.has(QStringLiteral("--today"))
                            ? isoDay(QStringLiteral("slips"), QStringLiteral("--today"),
                                     a.value(QStringLiteral("--today")))
                            : QDate::currentDate();
    const QString& out = a.positional[1];
    data::requireNoFile(out);
    std::vector<printing::ReminderSlip> slips;
    {
        const auto db = openToRead(a.positional[0]);
        slips = printdata::reminderSlips(*db, today);
    }
    if (slips.empty()) {
        cli::err(QStringLiteral("ternavolk-db: no loan is late on %1; nothing was written")
                     .arg(today.toString(Qt::ISODate)));
        return 1;
    }
    printing::saveSlipsPdf(slips, today, out, creator, platform::noProgress());
    cli::out(QStringLiteral("Wrote %1 reminder slips on %2 pages to %3")
                 .arg(slips.size())
                 .arg((slips.size() + printing::slipsPerPage - 1) / printing::slipsPerPage)
                 .arg(out));
    return 0;
}

} // namespace tools::commands
