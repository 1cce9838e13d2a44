#include "tools/desk.h"

#include "data/databasefile.h"
#include "data/sqlite.h"
#include "data/tables.h"
#include "data/turkishlike.h"
#include "data/value.h"
#include "platform/datetime.h"
#include "tools/loanstate.h"

#include <QStringList>
#include <algorithm>

namespace tools::desk {

using data::sqlite::Database;
using data::sqlite::Statement;

namespace {

constexpr int loanColumns = 8;
constexpr int dueColumn = 5;
constexpr int statusColumn = 7;

const QString& allColumns() {
    static const QString columns = [] {
        QStringList names;
        for (const data::ColumnDef& c : data::hareketTable().columns)
            names << QString::fromUtf16(c.name);
        return names.join(QStringLiteral(", "));
    }();
    return columns;
}

int columnIndex(const char16_t* column) {
    const auto& columns = data::hareketTable().columns;
    for (size_t i = 0; i < columns.size(); ++i)
        if (QStringView(columns[i].name) == QStringView(column))
            return static_cast<int>(i);
    return -1;
}

// "IDNO IS ? COLLATE BINARY AND ...": the row exactly as the desk read or wrote it, nulls
// included, byte for byte.
QString sameRowCondition(int firstParameter) {
    QStringList parts;
    int p = firstParameter;
    for (const data::ColumnDef& c : data::hareketTable().columns)
        parts << QString::fromUtf16(c.name) + QStringLiteral(" IS ?%1 COLLATE BINARY").arg(p++);
    return parts.join(QStringLiteral(" AND "));
}

void bindRow(Statement& st, int firstParameter, const LoanRow& row) {
    for (int c = 0; c < loanColumns; ++c)
        st.bindCell(firstParameter + c, row.store().cell(0, c));
}

std::vector<int> everyColumn() {
    std::vector<int> map(loanColumns);
    for (int i = 0; i < loanColumns; ++i)
        map[static_cast<size_t>(i)] = i;
    return map;
}

// Reads the loans a statement selects (every column, in the table's order) that are still out.
std::vector<OutLoan> outLoans(Statement& st, QDate today) {
    std::vector<OutLoan> loans;
    const std::vector<int> map = everyColumn();
    while (st.step()) {
        if (isReturnedStatus(st.utf8(statusColumn)))
            continue;
        data::RowStore store(loanColumns);
        st.readRow(map, store);
        OutLoan loan;
        loan.row = LoanRow::fromStore(store, 0);
        loan.reader = st.text(1);
        loan.book = st.text(3);
        loan.given = storedDate(st.utf8(4));
        loan.due = storedDate(st.utf8(dueColumn));
        loan.daysLate = daysLate(loan.due, today);
        loans.push_back(std::move(loan));
    }
    return loans;
}

bool rowExists(const Database& db, qint64 id) {
    Statement st(db, QStringLiteral("select 1 from hareket where IDNO = ?"));
    st.bindInt64(1, id);
    return st.step();
}

QString folded(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text)
        if (c.unicode() != 0x0307) // the dot "İ".toLower() leaves
            out += QChar(static_cast<char16_t>(data::foldForLike(c.unicode())));
    return out;
}

} // namespace

bool isTeacher(QStringView title) {
    static const QString teacher = folded(u"Öğretmen");
    return folded(title).contains(teacher);
}

bool isNotLent(const Rules& rules, QStringView kind) {
    const QString k = folded(kind.trimmed());
    if (k.isEmpty())
        return false;
    return std::any_of(rules.notLent.begin(), rules.notLent.end(),
                       [&](const QString& n) { return folded(QStringView(n).trimmed()) == k; });
}

std::unique_ptr<Database> openDesk(const QString& path) {
    return data::sqlite::openForWriting(path);
}

LoanRow::LoanRow() : row_(loanColumns) {}

LoanRow LoanRow::fromStore(const data::RowStore& rows, int row) {
    LoanRow r;
    r.row_.appendRow(rows, row);
    return r;
}

qint64 LoanRow::id() const {
    return row_.value(0, 0, data::Kind::Integer).toInteger();
}

bool LoanRow::isNull(const char16_t* column) const {
    return row_.cell(0, columnIndex(column)).storage == data::RowStore::Storage::Null;
}

QString LoanRow::text(const char16_t* column) const {
    const data::RowStore::Cell cell = row_.cell(0, columnIndex(column));
    switch (cell.storage) {
    case data::RowStore::Storage::Null:
        return QString();
    case data::RowStore::Storage::Text:
    case data::RowStore::Storage::Blob:
        return QString::fromUtf8(cell.bytes.data(), static_cast<qsizetype>(cell.bytes.size()));
    default:
        return row_.value(0, columnIndex(column), data::Kind::WideString).displayText();
    }
}

std::optional<Reader> readReader(const Database& db, qint64 id) {
    Statement st(db, QStringLiteral("select IDNO, ADISOYADI, OGRENIMDURUMU, OKULU, NUMARASI, "
                                    "UNVANI, CEPTELEFONU, TELEFONU from okuyucu where IDNO = ?"));
    st.bindInt64(1, id);
    if (!st.step())
        return std::nullopt;
    Reader r;
    r.id = st.int64(0);
    r.name = st.text(1);
    r.level = st.text(2);
    r.school = st.text(3);
    r.number = st.text(4);
    r.title = st.text(5);
    r.phone = st.text(6).trimmed().isEmpty() ? st.text(7) : st.text(6);
    Statement same(db, QStringLiteral("select count(*) from okuyucu where ADISOYADI = ?"));
    same.bindText(1, r.name);
    r.namesakes = same.step() ? static_cast<int>(same.int64(0)) : 1;
    return r;
}

std::optional<Book> readBook(const Database& db, qint64 id) {
    Statement st(db, QStringLiteral("select IDNO, KITABINADI, YAZARI, TURU, SERINO, BARKODU from "
                                    "kitapkayit where IDNO = ?"));
    st.bindInt64(1, id);
    if (!st.step())
        return std::nullopt;
    return Book{st.int64(0), st.text(1), st.text(2), st.text(3), st.text(4), st.text(5)};
}

int ReaderState::late() const {
    return static_cast<int>(
        std::count_if(held.begin(), held.end(), [](const OutLoan& l) { return l.daysLate > 0; }));
}

int ReaderState::mayTake() const {
    return std::max(0, limit - static_cast<int>(held.size()));
}

ReaderState readerState(const Database& db, const Reader& reader, QDate today, const Rules& rules) {
    ReaderState s;
    s.reader = reader;
    s.limit = isTeacher(reader.title) ? rules.teacherLimit : rules.pupilLimit;
    Statement st(db, QStringLiteral("select ") + allColumns() +
                         QStringLiteral(" from hareket where O_ADI_SOYADI = ? order by IDNO"));
    st.bindText(1, reader.name);
    s.held = outLoans(st, today);
    return s;
}

std::vector<OutLoan> loansOutOf(const Database& db, const QString& title, QDate today) {
    Statement st(db, QStringLiteral("select ") + allColumns() +
                         QStringLiteral(" from hareket where ADIGIKITAP = ? order by IDNO"));
    st.bindText(1, title);
    return outLoans(st, today);
}

Lending lend(Database& db, qint64 readerId, qint64 bookId, const QDateTime& now, const Rules& rules,
             const std::vector<Rule>& overridden) {
    Lending result;
    data::sqlite::WriteTransaction transaction(db);
    result.reader = readReader(db, readerId);
    if (!result.reader) {
        result.outcome = Lending::Outcome::ReaderGone;
        return result;
    }
    result.book = readBook(db, bookId);
    if (!result.book) {
        result.outcome = Lending::Outcome::BookGone;
        return result;
    }
    const ReaderState state = readerState(db, *result.reader, now.date(), rules);
    const auto allowed = [&](Rule r) {
        return std::find(overridden.begin(), overridden.end(), r) == overridden.end();
    };
    if (isNotLent(rules, result.book->kind) && allowed(Rule::NotLent))
        result.stops.push_back({Rule::NotLent, 0, 0, result.book->kind.trimmed()});
    const int held = static_cast<int>(state.held.size());
    if (held >= state.limit && allowed(Rule::Limit))
        result.stops.push_back({Rule::Limit, held, state.limit, QString()});
    if (rules.lateBlocks && state.late() > 0 && allowed(Rule::Late))
        result.stops.push_back({Rule::Late, state.late(), 0, QString()});
    if (!result.stops.empty()) {
        result.outcome = Lending::Outcome::Stopped;
        return result; // rolled back: nothing was written
    }

    const platform::DateTime given = platform::DateTime::fromQDateTime(now);
    const platform::DateTime due =
        platform::DateTime::fromDate(now.date().addDays(rules.loanDays), now.time());
    const QString phone = result.reader->phone.trimmed();
    data::sqlite::RowInserter insert(
        db, data::hareketTable(), data::sqlite::RowInserter::allButKey(data::hareketTable()),
        data::sqlite::RowInserter::Rules::Strict, QStringLiteral(" RETURNING ") + allColumns());
    insert.bind({result.reader->name, phone.isEmpty() ? data::Value() : data::Value(phone),
                 result.book->title, given, due, data::Value(), QStringLiteral("Verildi")});
    data::RowStore stored(loanColumns);
    while (insert.statement().step())
        insert.statement().readRow(everyColumn(), stored);
    transaction.commit();
    result.written = LoanRow::fromStore(stored, 0);
    result.outcome = Lending::Outcome::Lent;
    return result;
}

Returning giveBack(Database& db, const LoanRow& listed, QDate today) {
    Returning result;
    result.before = listed;
    Statement st(db, QStringLiteral("update hareket set DURUM = ?1 where ") + sameRowCondition(2) +
                         QStringLiteral(" RETURNING ") + allColumns());
    st.bindText(1, QString::fromUtf16(returnedStatus));
    bindRow(st, 2, listed);
    data::RowStore stored(loanColumns);
    while (st.step())
        st.readRow(everyColumn(), stored);
    if (stored.rowCount() == 0) {
        result.outcome = rowExists(db, listed.id()) ? Outcome::Changed : Outcome::Gone;
        return result;
    }
    result.after = LoanRow::fromStore(stored, 0);
    result.daysLate = daysLate(storedDate(listed.text(u"GERIGETIRMETARIHI")), today);
    result.outcome = Outcome::Done;
    return result;
}

Outcome undoLend(Database& db, const LoanRow& written) {
    data::sqlite::WriteTransaction transaction(db);
    Statement st(db, QStringLiteral("delete from hareket where ") + sameRowCondition(1));
    bindRow(st, 1, written);
    st.step();
    const int changed = db.changes();
    const Outcome outcome = changed == 1                  ? Outcome::Done
                            : rowExists(db, written.id()) ? Outcome::Changed
                                                          : Outcome::Gone;
    transaction.commit();
    return outcome;
}

Outcome undoReturn(Database& db, const LoanRow& before, const LoanRow& after) {
    data::sqlite::WriteTransaction transaction(db);
    Statement st(db, QStringLiteral("update hareket set DURUM = ?1 where ") + sameRowCondition(2));
    st.bindCell(1, before.store().cell(0, statusColumn));
    bindRow(st, 2, after);
    st.step();
    const int changed = db.changes();
    const Outcome outcome = changed == 1                ? Outcome::Done
                            : rowExists(db, after.id()) ? Outcome::Changed
                                                        : Outcome::Gone;
    transaction.commit();
    return outcome;
}

} // namespace tools::desk
