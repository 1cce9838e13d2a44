#include "tools/pupillist.h"

#include "platform/textrules.h"

#include <QRegularExpression>
#include <map>

namespace tools::lists {

using sheets::Cell;

namespace {

// The dotted and dotless i in either case, as e-Okul's titles and schools' own words spell them.
#define ANY_I u"[ıIiİ]"

const QRegularExpression& titlePattern() {
    static const QRegularExpression re(
        QStringLiteral(u"^\\s*(.*?)\\s*S" ANY_I u"N" ANY_I u"F" ANY_I u"?\\s*/\\s*(\\S+)\\s+"
                       u"[ŞşSs]UBES" ANY_I),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return re;
}

const QRegularExpression& classPattern() {
    static const QRegularExpression re(
        QStringLiteral(u"^(\\d{1,2})\\s*\\.?\\s*(?:S" ANY_I u"N" ANY_I u"F" ANY_I u"?)?\\s*"
                       u"[/\\-]?\\s*(\\p{L}{1,3})?$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::UseUnicodePropertiesOption);
    return re;
}

#undef ANY_I

// The headers of a pupil list, by their keys (sheets::headerKey).
const std::initializer_list<const char16_t*> numberHeaders = {
    u"ogrencino", u"ogrencinumarasi", u"okulno", u"okulnumarasi", u"numarasi", u"numara", u"no"};
const std::initializer_list<const char16_t*> fullNameHeaders = {
    u"adisoyadi", u"adsoyad", u"adivesoyadi", u"ogrenciadisoyadi", u"ogrencininadisoyadi"};
const std::initializer_list<const char16_t*> firstNameHeaders = {u"adi", u"ad", u"ogrenciadi"};
const std::initializer_list<const char16_t*> lastNameHeaders = {u"soyadi", u"soyad"};
const std::initializer_list<const char16_t*> classHeaders = {
    u"sinifi", u"sinif", u"sinifsube", u"sinifisubesi", u"sinifvesube", u"sinifsubesi"};
const std::initializer_list<const char16_t*> sectionHeaders = {u"sube", u"subesi"};

bool hasLetter(const QString& text) {
    for (const QChar c : text)
        if (c.isLetter())
            return true;
    return false;
}

bool isCountLabel(const QString& text) {
    const QString key = sheets::headerKey(text);
    return key.startsWith(u"kiz") || key.startsWith(u"erkek") || key.startsWith(u"toplam");
}

// A count row under a block ("Kız 12", "Erkek 14", "Toplam 26"): a label of that kind, and no
// name but a count or the label itself (which may stand in the name's column).
bool isCountRow(const sheets::Row& row, const QString& name) {
    if (hasLetter(name) && !isCountLabel(name))
        return false;
    for (const auto& [column, cell] : row.cells)
        if (cell.kind == Cell::Kind::Text && isCountLabel(cell.text))
            return true;
    return false;
}

// The title of a block: a title in a cell of a row that holds no number (a merged title stands
// in its first cell; a pupil's row with a class written as a title holds the pupil's number).
QString blockTitle(const sheets::Row& row) {
    QString klass;
    for (const auto& [column, cell] : row.cells) {
        if (!wholeNumber(cell).isEmpty())
            return QString();
        if (klass.isEmpty() && cell.kind == Cell::Kind::Text)
            klass = classOfTitle(cell.text);
    }
    return klass;
}

struct Columns {
    HeaderRow header;
    int number = -1, fullName = -1, firstName = -1, lastName = -1, klass = -1, section = -1;
};

std::optional<Columns> pupilHeader(const sheets::Row& row) {
    Columns c;
    c.header = HeaderRow(row);
    c.number = c.header.find(numberHeaders);
    c.fullName = c.header.find(fullNameHeaders);
    c.firstName = c.header.find(firstNameHeaders);
    c.lastName = c.header.find(lastNameHeaders);
    if (c.number < 0 || (c.fullName < 0 && (c.firstName < 0 || c.lastName < 0)))
        return std::nullopt;
    c.klass = c.header.find(classHeaders);
    c.section = c.header.find(sectionHeaders);
    return c;
}

QString valueOf(const Columns& c, int header, const sheets::Row& row) {
    const Cell* cell = c.header.value(header, row);
    return cell ? cellValue(*cell) : QString();
}

QString nameKey(const QString& name) {
    return platform::turkishUpper(name);
}

} // namespace

QString classOfTitle(const QString& title) {
    const QRegularExpressionMatch m = titlePattern().match(title);
    if (!m.hasMatch())
        return QString();
    QString grade = m.captured(1).simplified();
    while (grade.endsWith(u'.'))
        grade.chop(1);
    grade = grade.trimmed();
    if (grade.isEmpty())
        return QString();
    return grade + u'/' + m.captured(2);
}

QString classOfColumns(const QString& klass, const QString& section) {
    const QString k = klass.simplified(), s = section.simplified();
    if (k.isEmpty())
        return QString();
    if (const QString t = classOfTitle(k); !t.isEmpty())
        return t;
    const QRegularExpressionMatch m = classPattern().match(k);
    if (m.hasMatch()) {
        const QString letter = m.captured(2).isEmpty() ? s : m.captured(2);
        return letter.isEmpty() ? m.captured(1) : m.captured(1) + u'/' + letter;
    }
    return s.isEmpty() ? k : k + u'/' + s;
}

PupilList recognisePupils(const std::vector<sheets::Workbook>& books) {
    PupilList list;
    std::vector<Pupil> found;
    for (const sheets::Workbook& book : books) {
        bool anyHeader = false;
        // A list without a single pupil would make every pupil of the school a leaver.
        const size_t numbered = found.size() + list.withheld.size();
        for (const sheets::Sheet& sheet : book.sheets) {
            QString blockClass;
            std::optional<Columns> columns;
            for (const sheets::Row& row : sheet.rows) {
                if (const QString title = blockTitle(row); !title.isEmpty()) {
                    blockClass = title;
                    columns.reset(); // the block's own header follows
                    continue;
                }
                if (std::optional<Columns> header = pupilHeader(row)) {
                    columns = std::move(header);
                    anyHeader = true;
                    continue;
                }
                if (!columns)
                    continue;
                const Columns& c = *columns;
                const Cell* numberCell = c.header.value(c.number, row);
                QString name;
                if (c.fullName >= 0)
                    name = valueOf(c, c.fullName, row);
                else
                    name = (valueOf(c, c.firstName, row) + u' ' + valueOf(c, c.lastName, row))
                               .simplified();
                Pupil p;
                p.number = numberCell ? wholeNumber(*numberCell) : QString();
                if (isCountRow(row, name) || (!numberCell && name.isEmpty()))
                    continue;
                p.at = sourceOf(book, sheet, row);
                p.name = name;
                if (p.number.isEmpty()) {
                    Listed l{p.at, false, QString(), name,
                             numberCell ? Issue::BadNumber : Issue::NoNumber};
                    if (numberCell)
                        l.value = cellValue(*numberCell);
                    list.problems.push_back(l);
                    continue;
                }
                if (!hasLetter(name)) {
                    list.problems.push_back({p.at, false, p.number, QString(), Issue::NoName});
                    list.withheld.push_back(p.number);
                    continue;
                }
                p.klass = c.klass >= 0
                              ? classOfColumns(valueOf(c, c.klass, row), valueOf(c, c.section, row))
                              : QString();
                if (p.klass.isEmpty())
                    p.klass = blockClass;
                found.push_back(std::move(p));
            }
        }
        if (!anyHeader)
            refuse(sheets::Fault::NoHeader, book.path,
                   QStringLiteral("looked for a pupil number ('Öğrenci No', 'Numarası' or 'No') "
                                  "and a name ('Adı Soyadı', or 'Adı' and 'Soyadı')"));
        if (found.size() + list.withheld.size() == numbered)
            refuse(sheets::Fault::NoRows, book.path);
    }

    // Each number once: the same pupil listed again is taken once; a number given to pupils
    // who differ is taken for none of them.
    std::map<QString, std::vector<size_t>> byNumber;
    for (size_t i = 0; i < found.size(); ++i)
        byNumber[found[i].number].push_back(i);
    std::vector<bool> taken(found.size(), true);
    for (const auto& [number, rows] : byNumber) {
        if (rows.size() < 2)
            continue;
        const Pupil& first = found[rows[0]];
        bool same = true;
        for (const size_t i : rows)
            same = same && nameKey(found[i].name) == nameKey(first.name) &&
                   found[i].klass == first.klass;
        for (size_t k = 0; k < rows.size(); ++k) {
            const Pupil& p = found[rows[k]];
            if (same && k == 0)
                continue;
            taken[rows[k]] = false;
            const Source other = k == 0 ? found[rows[1]].at : first.at;
            Listed l{p.at, false, p.number, p.name, same ? Issue::ListedTwice : Issue::NumberTwice};
            l.other = other;
            list.problems.push_back(l);
        }
        if (!same)
            list.withheld.push_back(number);
    }
    for (size_t i = 0; i < found.size(); ++i) {
        if (!taken[i])
            continue;
        if (!found[i].klass.isEmpty() && std::find(list.classes.begin(), list.classes.end(),
                                                   found[i].klass) == list.classes.end())
            list.classes.push_back(found[i].klass);
        list.pupils.push_back(std::move(found[i]));
    }
    return list;
}

} // namespace tools::lists
