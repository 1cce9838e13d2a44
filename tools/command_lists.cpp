// readers and books: a school's pupils from its class lists and its books from its own
// spreadsheet, each list read behind the wall, planned, shown and written in one transaction.

#include "data/databasefile.h"
#include "data/sqlite.h"
#include "platform/textrules.h"
#include "tools/bookimport.h"
#include "tools/cli.h"
#include "tools/commands.h"
#include "tools/interrupt.h"
#include "tools/readerimport.h"
#include "tools/sheetwall.h"

#include <QCoreApplication>

namespace tools::commands {

using cli::UsageError;
using namespace tools::lists;

namespace {

// A Ctrl+C stops the reading (the child is stopped) and, before the transaction commits, the
// writing: nothing is written.
class InterruptWatch : public platform::Progress {
public:
    void begin(qint64, const QString&) override { check(); }
    void step(qint64) override { check(); }
    static void check() {
        if (interruptRequested())
            throw platform::Error(
                QStringLiteral("The import was interrupted; nothing was written"));
    }
};

std::vector<sheets::Workbook> readLists(const QStringList& paths) {
    std::vector<sheets::Workbook> books;
    for (const QString& path : paths)
        books.push_back(sheets::readBehindWall(QCoreApplication::applicationFilePath(), path,
                                               [] { InterruptWatch::check(); }));
    return books;
}

// PATH and one LIST at least.
QStringList databaseAndLists(const QString& command, const cli::Arguments& a) {
    if (a.positional.isEmpty() || a.positional[0].isEmpty())
        throw UsageError(QStringLiteral("%1: missing PATH").arg(command));
    if (a.positional.size() < 2)
        throw UsageError(QStringLiteral("%1: missing LIST").arg(command));
    for (const QString& p : a.positional)
        if (p.isEmpty())
            throw UsageError(QStringLiteral("%1: an empty argument").arg(command));
    return a.positional;
}

QString classChange(const QString& from, const QString& to) {
    return (from.isEmpty() ? QStringLiteral("(none)") : from) + QStringLiteral(" -> ") + to;
}

QString booksOutText(const std::vector<BookOut>& books) {
    if (books.empty())
        return QString();
    QStringList titles;
    for (const BookOut& b : books)
        titles << (b.due ? QStringLiteral("%1 (due %2)").arg(b.title, platform::dayText(*b.due))
                         : b.title);
    return QStringLiteral("; books out: ") + titles.join(QStringLiteral(", "));
}

void counts(const std::vector<std::pair<QString, size_t>>& lines) {
    for (const auto& [label, n] : lines)
        cli::out(QStringLiteral("%1: %2").arg(label).arg(n));
}

} // namespace

int readers(const QStringList& args) {
    const cli::Arguments a =
        cli::parse(QStringLiteral("readers"), args,
                   {QStringLiteral("--dry-run"), QStringLiteral("--accept-names"),
                    QStringLiteral("--mark-leavers")},
                   {QStringLiteral("--school")});
    const QStringList positional = databaseAndLists(QStringLiteral("readers"), a);
    const QString school = a.value(QStringLiteral("--school")).simplified();
    if (school.isEmpty())
        throw UsageError(QStringLiteral("readers: --school NAME missing"));
    const int schoolSize = data::okuyucuTable().column(u"OKULU")->size;
    if (school.size() > schoolSize)
        throw platform::Error(QStringLiteral("The school's name is longer than %1 characters, "
                                             "more than the register keeps; nothing was written")
                                  .arg(schoolSize));
    const bool dryRun = a.has(QStringLiteral("--dry-run"));
    const QString& path = positional[0];
    data::requireDatabaseFile(path, dryRun ? data::FileUse::Read : data::FileUse::ReadWrite);
    watchForInterrupt();

    const std::vector<sheets::Workbook> books = readLists(positional.mid(1));
    const PupilList list = recognisePupils(books);
    ReaderPlan plan;
    {
        data::sqlite::Database db(path, data::sqlite::Database::Mode::ReadOnly);
        db.setBusyTimeout(data::sqlite::toolPatienceMs);
        plan = planReaders(list, school, readRegister(db, school));
        readBooksOut(db, plan);
    }

    cli::out(QStringLiteral("Lists: %1 file(s), %2 pupil(s) in %3 class(es), school '%4'")
                 .arg(books.size())
                 .arg(list.pupils.size())
                 .arg(list.classes.size())
                 .arg(plan.school));
    counts({{QStringLiteral("New readers"), plan.added.size()},
            {QStringLiteral("Moved to another class"), plan.moved.size()},
            {QStringLiteral("Unchanged"), plan.unchanged.size()},
            {QStringLiteral("Name conflicts"), plan.conflicts.size()},
            {QStringLiteral("Leaving"), plan.leaving.size()},
            {QStringLiteral("Skipped"), plan.skipped.size()},
            {QStringLiteral("Problems"), plan.problems.size()}});
    for (const Pupil& p : plan.added)
        cli::out(QStringLiteral("new: %1: %2 %3, %4")
                     .arg(sourceText(p.at), p.number, p.name,
                          p.klass.isEmpty() ? QStringLiteral("no class") : p.klass));
    for (const Move& m : plan.moved)
        cli::out(QStringLiteral("moved: %1: %2 %3, %4")
                     .arg(sourceText(m.pupil.at), m.pupil.number, m.reader.name,
                          classChange(m.reader.klass, m.pupil.klass)));
    for (const Move& m : plan.conflicts)
        cli::out(QStringLiteral("conflict: %1: %2 in the register '%3', in the list '%4'%5")
                     .arg(sourceText(m.pupil.at), m.pupil.number, m.reader.name, m.pupil.name,
                          booksOutText(m.booksOut)));
    for (const Leaver& l : plan.leaving)
        cli::out(
            QStringLiteral("leaving: %1 %2, %3%4")
                .arg(l.reader.number.isEmpty() ? QStringLiteral("(no number)") : l.reader.number,
                     l.reader.name,
                     l.reader.klass.isEmpty() ? QStringLiteral("no class") : l.reader.klass,
                     booksOutText(l.booksOut)));
    for (const Listed& l : plan.skipped)
        cli::out(QStringLiteral("skipped: ") + englishText(l));
    for (const Listed& l : plan.problems)
        cli::out(QStringLiteral("problem: ") + englishText(l));

    ReaderChoices choices;
    const bool acceptNames = a.has(QStringLiteral("--accept-names"));
    const bool markLeavers = a.has(QStringLiteral("--mark-leavers"));
    if (acceptNames)
        for (const Move& m : plan.conflicts)
            choices.acceptNames.insert(m.reader.id);
    if (markLeavers)
        for (const Leaver& l : plan.leaving)
            choices.markLeft.insert(l.reader.id);
    if (!plan.conflicts.empty() && !acceptNames)
        cli::out(QStringLiteral("Names in conflict are left as they are; --accept-names takes "
                                "the lists' names."));
    if (!plan.leaving.empty() && !markLeavers)
        cli::out(QStringLiteral("Leaving readers are left as they are; --mark-leavers marks "
                                "them \"%1\".")
                     .arg(QString::fromUtf16(leftSchool)));
    if (dryRun) {
        cli::out(QStringLiteral("Dry run: nothing was written."));
        return 0;
    }
    InterruptWatch watch;
    const ReaderWrite w =
        writeReaders(path, list, plan, choices, data::sqlite::toolPatienceMs, watch);
    cli::out(QStringLiteral("Written: %1 new reader(s), %2 class(es) changed, %3 name(s) "
                            "changed, %4 marked as left")
                 .arg(w.added)
                 .arg(w.moved)
                 .arg(w.renamed)
                 .arg(w.markedLeft));
    return 0;
}

int books(const QStringList& args) {
    const cli::Arguments a =
        cli::parse(QStringLiteral("books"), args, {QStringLiteral("--dry-run")}, {});
    const QStringList positional = databaseAndLists(QStringLiteral("books"), a);
    const bool dryRun = a.has(QStringLiteral("--dry-run"));
    const QString& path = positional[0];
    data::requireDatabaseFile(path, dryRun ? data::FileUse::Read : data::FileUse::ReadWrite);
    watchForInterrupt();

    const std::vector<sheets::Workbook> lists = readLists(positional.mid(1));
    const BookLayout layout = findBookHeaders(lists);
    const BookColumns columns = automaticColumns(layout);
    BookPlan plan;
    {
        data::sqlite::Database db(path, data::sqlite::Database::Mode::ReadOnly);
        db.setBusyTimeout(data::sqlite::toolPatienceMs);
        plan = planBooks(lists, layout, columns, readBookRegister(db));
    }

    QStringList matched, left;
    const data::TableDef& table = data::kitapkayitTable();
    for (const auto& [column, key] : columns)
        matched << QStringLiteral("%1 <- '%2'")
                       .arg(QString::fromUtf16(table.columns[static_cast<size_t>(column)].name),
                            layout.headers[layout.keys.indexOf(key)]);
    for (qsizetype i = 0; i < layout.keys.size(); ++i) {
        bool used = false;
        for (const auto& [column, key] : columns)
            used = used || key == layout.keys[i];
        if (!used)
            left << QLatin1Char('\'') + layout.headers[i] + QLatin1Char('\'');
    }
    cli::out(QStringLiteral("Lists: %1 file(s)").arg(lists.size()));
    cli::out(QStringLiteral("Columns: ") + matched.join(QStringLiteral(", ")) +
             (left.isEmpty() ? QString() : QStringLiteral("; not taken: ") + left.join(u", ")));
    counts(
        {{QStringLiteral("New books"), plan.added.size()},
         {QStringLiteral("Skipped"), plan.skipped.size()},
         {QStringLiteral("Problems"), plan.problems.size()},
         {QStringLiteral("Prices rounded down to whole lira"), static_cast<size_t>(plan.rounded)}});
    const int serial = static_cast<int>(table.column(u"SERINO") - table.columns.data()) - 1;
    const int title = static_cast<int>(table.column(u"KITABINADI") - table.columns.data()) - 1;
    for (const Book& b : plan.added) {
        const QString s = b.values[static_cast<size_t>(serial)].toText();
        cli::out(QStringLiteral("new: %1%2 %3")
                     .arg(sourceText(b.at),
                          s.isEmpty() ? QString() : QStringLiteral(", serial ") + s,
                          b.values[static_cast<size_t>(title)].toText()));
    }
    for (const Listed& l : plan.skipped)
        cli::out(QStringLiteral("skipped: ") + englishText(l));
    for (const Listed& l : plan.problems)
        cli::out(QStringLiteral("problem: ") + englishText(l));
    if (dryRun) {
        cli::out(QStringLiteral("Dry run: nothing was written."));
        return 0;
    }
    InterruptWatch watch;
    const int written =
        writeBooks(path, lists, layout, columns, plan, data::sqlite::toolPatienceMs, watch);
    cli::out(QStringLiteral("Written: %1 new book(s)").arg(written));
    return 0;
}

} // namespace tools::commands
