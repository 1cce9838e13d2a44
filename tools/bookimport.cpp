#include "tools/bookimport.h"

#include "data/sqlite.h"
#include "data/tables.h"
#include "platform/textrules.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace tools::lists {

using data::Value;
using sheets::Cell;

namespace {

// How many rows of a sheet are searched for its header row.
constexpr size_t headerSearchRows = 30;

struct Known {
    const char16_t* column;
    std::initializer_list<const char16_t*> keys;
};

// The words schools name the register's columns with, by their keys (sheets::headerKey).
const Known knownHeaders[] = {
    {u"SERINO",
     {u"demirbasno", u"demirbasnumarasi", u"demirbas", u"kayitno", u"kayitnumarasi", u"serino",
      u"serinumarasi", u"envanterno", u"kitapno"}},
    {u"KITABINADI",
     {u"kitabinadi", u"eserinadi", u"adi", u"kitapadi", u"eseradi", u"kitabinismi", u"kitapismi",
      u"eserinismi"}},
    {u"YAZARI", {u"yazari", u"yazar", u"yazaradi", u"yazarinadi", u"yazaradisoyadi"}},
    {u"TURU", {u"turu", u"tur", u"kitapturu", u"kitabturu", u"cinsi"}},
    {u"YAYINEVI", {u"yayinevi", u"yayinci", u"yayinevleri"}},
    {u"BARKODU", {u"barkodu", u"barkod", u"barkodno", u"barkodnumarasi", u"isbn"}},
    {u"EDINME", {u"edinmesekli", u"edinme", u"gelissekli", u"edinimsekli"}},
    {u"DEGERI", {u"fiyati", u"fiyat", u"degeri", u"deger", u"bedeli", u"bedel", u"tutari"}},
    {u"EDINMETARIHI",
     {u"edinmetarihi", u"gelistarihi", u"giristarihi", u"kayittarihi", u"alimtarihi"}},
    {u"BASKITARIHI", {u"baskitarihi", u"basimtarihi"}},
    {u"BASIMYERI", {u"basimyeri", u"baskiyeri"}},
    {u"BASIMYILI", {u"basimyili", u"baskiyili", u"yayinyili"}},
    {u"BASKINO", {u"baskino", u"baski", u"baskisayisi", u"baskinumarasi"}},
    {u"ACIKLAMA",
     {u"aciklama", u"aciklamalar", u"not", u"notlar", u"icerik", u"konusu", u"icerikkonusu"}},
};

int columnIndex(const char16_t* name) {
    const data::TableDef& t = data::kitapkayitTable();
    return static_cast<int>(t.column(name) - t.columns.data());
}

// The register column a header key names, or -1.
int knownColumn(const QString& key) {
    for (const Known& k : knownHeaders)
        for (const char16_t* candidate : k.keys)
            if (key == QStringView(candidate))
                return columnIndex(k.column);
    return -1;
}

QString serialKey(const QString& serial) {
    const QString whole = wholeNumber(Cell::ofText(serial));
    return whole.isEmpty() ? platform::turkishUpper(serial.simplified()) : whole;
}

QString barcodeKey(const QString& barcode) {
    QString key = barcode;
    key.remove(QRegularExpression(QStringLiteral("\\s")));
    return platform::turkishUpper(key);
}

// A price: how many whole lira, whether it was rounded; empty for no price.
struct Price {
    bool ok = false;
    double value = 0;
};

Price parsePrice(const Cell& cell) {
    if (cell.kind == Cell::Kind::Number)
        return {std::isfinite(cell.number) && cell.number >= 0, cell.number};
    if (cell.kind != Cell::Kind::Text)
        return {};
    QString t = cell.text;
    static const QRegularExpression currency(QStringLiteral("(?i)YTL|TL|TRY|₺|\\s"));
    t.remove(currency);
    const qsizetype dots = t.count(u'.'), commas = t.count(u',');
    QChar decimal;
    if (dots && commas)
        decimal = t.lastIndexOf(u'.') > t.lastIndexOf(u',') ? u'.' : u',';
    else if (commas == 1)
        decimal = u',';
    else if (dots == 1 && t.size() - t.indexOf(u'.') - 1 != 3)
        decimal = u'.'; // "25.90"; "1.250" is a thousand and two hundred and fifty
    QString digits;
    for (const QChar c : t) {
        if (c == decimal)
            digits += u'.';
        else if (c == u'.' || c == u',')
            continue; // a thousands separator
        else if (c >= u'0' && c <= u'9')
            digits += c;
        else
            return {};
    }
    bool ok = false;
    const double v = digits.toDouble(&ok);
    return {ok && digits != u".", v};
}

// "15.09.2024", "15/9/2024", "2024-09-15", each optionally with "13:30" or "13:30:05".
std::optional<platform::DateTime> parseDateText(const QString& text) {
    static const QRegularExpression dayFirst(QStringLiteral(
        "^(\\d{1,2})[./-](\\d{1,2})[./-](\\d{4})(?:\\s+(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    static const QRegularExpression yearFirst(QStringLiteral(
        "^(\\d{4})-(\\d{1,2})-(\\d{1,2})(?:[ T](\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?$"));
    const QString t = text.simplified();
    QRegularExpressionMatch m = dayFirst.match(t);
    int day = 0, month = 0, year = 0;
    if (m.hasMatch()) {
        day = m.captured(1).toInt();
        month = m.captured(2).toInt();
        year = m.captured(3).toInt();
    } else if ((m = yearFirst.match(t)).hasMatch()) {
        year = m.captured(1).toInt();
        month = m.captured(2).toInt();
        day = m.captured(3).toInt();
    } else {
        return std::nullopt;
    }
    const QDate date(year, month, day);
    const QTime time = m.captured(4).isEmpty()
                           ? QTime(0, 0)
                           : QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                                   m.captured(6).isEmpty() ? 0 : m.captured(6).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return platform::DateTime::fromDate(date, time);
}

// The smallest Excel serial taken as a date in a column of dates: below it a number is more
// likely a year ("2019") or a count than a day before 18 May 1927.
constexpr double leastSerial = 10000;

std::optional<platform::DateTime> parseDate(const Cell& cell, bool date1904) {
    std::optional<platform::DateTime> dt;
    if (cell.kind == Cell::Kind::Date)
        dt = platform::DateTime(cell.number);
    else if (cell.kind == Cell::Kind::Number && cell.number >= leastSerial) {
        if (const std::optional<double> days = sheets::serialToDays(cell.number, date1904))
            dt = platform::DateTime(*days);
    } else if (cell.kind == Cell::Kind::Text) {
        dt = parseDateText(cell.text);
    }
    if (!dt || !data::isStorable(*dt))
        return std::nullopt;
    // Kept to whole milliseconds, as the program keeps them.
    return platform::DateTime::fromIso(dt->toIso());
}

} // namespace

std::vector<int> bookColumns() {
    std::vector<int> out;
    const data::TableDef& t = data::kitapkayitTable();
    for (size_t i = 0; i < t.columns.size(); ++i)
        if (t.columns[i].kind != data::Kind::AutoInc)
            out.push_back(static_cast<int>(i));
    return out;
}

BookLayout findBookHeaders(const std::vector<sheets::Workbook>& books) {
    BookLayout layout;
    const int title = columnIndex(u"KITABINADI");
    for (size_t b = 0; b < books.size(); ++b) {
        bool found = false;
        for (size_t s = 0; s < books[b].sheets.size(); ++s) {
            const sheets::Sheet& sheet = books[b].sheets[s];
            int best = 0;
            std::optional<BookSheet> chosen;
            for (size_t r = 0; r < sheet.rows.size() && sheet.rows[r].index < int(headerSearchRows);
                 ++r) {
                HeaderRow header(sheet.rows[r]);
                std::set<int> named;
                for (int h = 0; h < header.count(); ++h)
                    if (const int c = knownColumn(header.key(h)); c >= 0)
                        named.insert(c);
                const int score = static_cast<int>(named.size());
                if (named.count(title) && score >= 2 && score > best) {
                    best = score;
                    chosen = BookSheet{b, s, r, std::move(header)};
                }
            }
            if (!chosen)
                continue;
            found = true;
            for (int h = 0; h < chosen->header.count(); ++h)
                if (!layout.keys.contains(chosen->header.key(h))) {
                    layout.keys << chosen->header.key(h);
                    layout.headers << chosen->header.text(h);
                }
            layout.sheets.push_back(std::move(*chosen));
        }
        if (!found)
            refuse(sheets::Fault::NoHeader, books[b].path,
                   QStringLiteral("looked for a book title ('Kitabın Adı', 'Eserin Adı' or 'Adı') "
                                  "beside another column of books ('Demirbaş No', 'Yazarı', ...) "
                                  "in the first %1 rows")
                       .arg(headerSearchRows));
    }
    return layout;
}

BookColumns automaticColumns(const BookLayout& layout) {
    BookColumns columns;
    for (const QString& key : layout.keys)
        if (const int c = knownColumn(key); c >= 0 && !columns.count(c))
            columns[c] = key;
    return columns;
}

BookRegister readBookRegister(const data::sqlite::Database& db) {
    BookRegister reg;
    data::sqlite::Statement st(db, QStringLiteral("select SERINO, BARKODU from kitapkayit"));
    while (st.step()) {
        if (const QString s = st.text(0).trimmed(); !s.isEmpty())
            reg.serials.insert(serialKey(s));
        if (const QString b = st.text(1).trimmed(); !b.isEmpty())
            reg.barcodes.insert(barcodeKey(b));
    }
    return reg;
}

BookPlan planBooks(const std::vector<sheets::Workbook>& books, const BookLayout& layout,
                   const BookColumns& columns, const BookRegister& reg) {
    BookPlan plan;
    const data::TableDef& table = data::kitapkayitTable();
    const std::vector<int> ours = bookColumns();
    const int serialColumn = columnIndex(u"SERINO"), titleColumn = columnIndex(u"KITABINADI"),
              barcodeColumn = columnIndex(u"BARKODU");
    std::map<QString, Source> serialsSeen, barcodesSeen;
    for (const BookSheet& bs : layout.sheets) {
        const sheets::Workbook& book = books[bs.book];
        const sheets::Sheet& sheet = book.sheets[bs.sheet];
        // The header of each column taken, in this sheet.
        std::vector<std::pair<int, int>> taken; // register column, header index
        for (const auto& [column, key] : columns)
            if (!key.isEmpty())
                if (const int h = bs.header.findKey(key); h >= 0)
                    taken.emplace_back(column, h);
        for (size_t r = bs.headerRow + 1; r < sheet.rows.size(); ++r) {
            const sheets::Row& row = sheet.rows[r];
            Book b{sourceOf(book, sheet, row), std::vector<Value>(ours.size())};
            std::vector<Listed> issues;
            bool any = false, rounded = false;
            QString serial, title;
            for (const auto& [column, h] : taken) {
                const Cell* cell = bs.header.value(h, row);
                if (!cell)
                    continue;
                any = true;
                const data::ColumnDef& def = table.columns[static_cast<size_t>(column)];
                const QString name = QString::fromUtf16(def.name);
                const QString written = cellValue(*cell);
                Value& value = b.values[static_cast<size_t>(column - 1)];
                if (column == serialColumn)
                    serial = written;
                if (column == titleColumn)
                    title = written;
                Listed issue{b.at, true, QString(), QString(), Issue::TooLong, name, written};
                switch (def.kind) {
                case data::Kind::WideString:
                    if (written.size() > def.size) {
                        issue.size = def.size;
                        issues.push_back(issue);
                    } else {
                        value = Value(written);
                    }
                    break;
                case data::Kind::Integer: {
                    const Price p = parsePrice(*cell);
                    const double whole = std::floor(p.value);
                    if (!p.ok) {
                        issue.issue = Issue::BadPrice;
                        issues.push_back(issue);
                    } else if (whole > std::numeric_limits<qint32>::max()) {
                        issue.issue = Issue::PriceTooLarge;
                        issues.push_back(issue);
                    } else {
                        value = Value(static_cast<qint32>(whole));
                        rounded = whole != p.value;
                    }
                    break;
                }
                case data::Kind::DateTime:
                    if (const auto dt = parseDate(*cell, book.date1904)) {
                        value = Value(*dt);
                    } else {
                        issue.issue = Issue::BadDate;
                        issues.push_back(issue);
                    }
                    break;
                case data::Kind::AutoInc:
                    break;
                }
            }
            if (!any)
                continue; // an empty row, or one with nothing the matching takes
            for (Listed& l : issues) {
                l.key = serial;
                l.name = title;
            }
            if (title.isEmpty() && issues.empty())
                issues.push_back({b.at, true, serial, QString(), Issue::NoTitle});
            if (!issues.empty()) {
                plan.problems.insert(plan.problems.end(), issues.begin(), issues.end());
                continue;
            }
            const QString barcode = b.values[static_cast<size_t>(barcodeColumn - 1)].toText();
            Listed skip{b.at, true, serial, title, Issue::SerialInRegister};
            if (!serial.isEmpty()) {
                const QString key = serialKey(serial);
                if (reg.serials.count(key)) {
                    plan.skipped.push_back(skip);
                    continue;
                }
                if (const auto seen = serialsSeen.find(key); seen != serialsSeen.end()) {
                    skip.issue = Issue::SerialListed;
                    skip.other = seen->second;
                    plan.skipped.push_back(skip);
                    continue;
                }
                serialsSeen.emplace(key, b.at);
            } else if (!barcode.isEmpty()) {
                const QString key = barcodeKey(barcode);
                skip.value = barcode;
                if (reg.barcodes.count(key)) {
                    skip.issue = Issue::BarcodeInRegister;
                    plan.skipped.push_back(skip);
                    continue;
                }
                if (const auto seen = barcodesSeen.find(key); seen != barcodesSeen.end()) {
                    skip.issue = Issue::BarcodeListed;
                    skip.other = seen->second;
                    plan.skipped.push_back(skip);
                    continue;
                }
                barcodesSeen.emplace(key, b.at);
            }
            plan.rounded += rounded ? 1 : 0;
            plan.added.push_back(std::move(b));
        }
    }
    return plan;
}

int writeBooks(const QString& path, const std::vector<sheets::Workbook>& books,
               const BookLayout& layout, const BookColumns& columns, const BookPlan& previewed,
               int busyMs, platform::Progress& progress) {
    const std::unique_ptr<data::sqlite::Database> connection =
        data::sqlite::openForWriting(path, busyMs);
    data::sqlite::Database& db = *connection;
    data::sqlite::WriteTransaction transaction(db);
    int written = 0;
    const BookPlan plan = planBooks(books, layout, columns, readBookRegister(db));
    if (plan.added != previewed.added)
        throw ChangedMeanwhile(
            QStringLiteral("The books in '%1' changed after the preview (another computer "
                           "saved meanwhile); nothing was written. Preview again.")
                .arg(path));
    progress.begin(static_cast<qint64>(plan.added.size()));
    const data::TableDef& table = data::kitapkayitTable();
    data::sqlite::RowInserter insert(db, table, data::sqlite::RowInserter::allButKey(table),
                                     data::sqlite::RowInserter::Rules::Strict);
    for (const Book& b : plan.added) {
        insert.insert(b.values);
        progress.step(++written);
    }
    transaction.commit();
    return written;
}

} // namespace tools::lists
