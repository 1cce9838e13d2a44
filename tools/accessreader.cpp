#include "tools/accessreader.h"

#include "data/value.h"
#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <set>
// mdbtools.h includes glib.h inside extern "C", where glib's C++ templates cannot stand. A
// build of libmdb without GLib (the Windows one) brings its own small stand-in instead.
#if __has_include(<glib.h>)
#include <glib.h>
#endif
#include <mdbtools.h>
#ifdef _WIN32
#include <windows.h>
#endif

namespace tools {

using data::Value;
using platform::Error;

namespace {

constexpr qint64 jet4PageSize = 4096;
constexpr int jetVersionOffset = 0x14;

QString typeName(int type) {
    switch (type) {
    case MDB_BOOL:
        return QStringLiteral("Yes/No");
    case MDB_BYTE:
        return QStringLiteral("Byte");
    case MDB_INT:
        return QStringLiteral("Integer");
    case MDB_LONGINT:
        return QStringLiteral("Long Integer");
    case MDB_MONEY:
        return QStringLiteral("Currency");
    case MDB_FLOAT:
        return QStringLiteral("Single");
    case MDB_DOUBLE:
        return QStringLiteral("Double");
    case MDB_DATETIME:
        return QStringLiteral("DateTime");
    case MDB_TEXT:
        return QStringLiteral("Text");
    case MDB_MEMO:
        return QStringLiteral("Memo");
    default:
        return QStringLiteral("type %1").arg(type);
    }
}

AccessKind kindOf(int type) {
    switch (type) {
    case MDB_BYTE:
    case MDB_INT:
    case MDB_LONGINT:
        return AccessKind::Integer;
    case MDB_DATETIME:
        return AccessKind::DateTime;
    case MDB_TEXT:
    case MDB_MEMO:
        return AccessKind::Text;
    default:
        return AccessKind::Other;
    }
}

// The size a fixed column of that type has in a row, 0 for the others.
int fixedSize(int type) {
    switch (type) {
    case MDB_BYTE:
        return 1;
    case MDB_INT:
        return 2;
    case MDB_LONGINT:
        return 4;
    case MDB_DATETIME:
        return 8;
    default:
        return 0;
    }
}

// How a column of that type is stored: its size when it has a fixed place in each row,
// variableLength for the texts and the other types kept in the row's variable part, or
// unknownLayout for a type this reader has no rule for.
constexpr int variableLength = -1, unknownLayout = -2;
int storedSize(int type) {
    switch (type) {
    case MDB_BOOL: // kept in the null mask
        return 0;
    case MDB_FLOAT:
        return 4;
    case MDB_MONEY:
    case MDB_DOUBLE:
        return 8;
    case MDB_REPID:
        return 16;
    case MDB_NUMERIC:
        return 17;
    case MDB_TEXT:
    case MDB_MEMO:
    case MDB_OLE:
        return variableLength;
    default:
        return fixedSize(type) ? fixedSize(type) : unknownLayout;
    }
}

// Little-endian, as Jet stores every number.
qint32 integerAt(const unsigned char* p, int size) {
    if (size == 1)
        return p[0];
    if (size == 2)
        return static_cast<qint16>(static_cast<quint16>(p[0] | p[1] << 8));
    return static_cast<qint32>(static_cast<quint32>(p[0]) | static_cast<quint32>(p[1]) << 8 |
                               static_cast<quint32>(p[2]) << 16 | static_cast<quint32>(p[3]) << 24);
}

int wordAt(const unsigned char* p) {
    return p[0] | p[1] << 8;
}

double doubleAt(const unsigned char* p) {
    quint64 bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | p[i];
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

// Refuses, before libmdb sees it, what is no Jet 4 file or has lost its end.
void checkFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Cannot open '%1': %2").arg(path, f.errorString()));
    const QByteArray head = f.read(jetVersionOffset + 1);
    const QByteArray signature = head.mid(4, 15);
    if (head.size() <= jetVersionOffset ||
        (signature != "Standard Jet DB" && signature != "Standard ACE DB"))
        throw Error(QStringLiteral("'%1' is not an Access database file").arg(path));
    const int version = static_cast<unsigned char>(head[jetVersionOffset]);
    if (signature == "Standard ACE DB" || version > 1)
        throw Error(QStringLiteral("'%1' is in a later Access format than 2000 or 2002-2003; "
                                   "save it from Access in the Access 2000 format first")
                        .arg(path));
    if (version == 0)
        throw Error(QStringLiteral("'%1' is in the Access 97 format; save it from Access in the "
                                   "Access 2000 format first")
                        .arg(path));
    if (f.size() < 3 * jet4PageSize || f.size() % jet4PageSize != 0)
        throw Error(QStringLiteral("'%1' is damaged or cut short: its size of %2 bytes does not "
                                   "fit the Access format")
                        .arg(path)
                        .arg(f.size()));
}

// libmdb opens its file with the C library's fopen, which on Windows reads the name in the ANSI
// code page. A name that code page cannot spell (a folder "Gülşen" on a Western desktop) is
// handed over by its short 8.3 form, which is plain ASCII.
QByteArray narrowPath(const QString& path) {
#ifdef _WIN32
    const auto toAnsi = [](const std::wstring& wide) -> QByteArray {
        BOOL lossy = FALSE;
        const int n = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, nullptr,
                                          0, nullptr, &lossy);
        if (n <= 0 || lossy)
            return {};
        QByteArray out(n, '\0');
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.c_str(), -1, out.data(), n, nullptr,
                            &lossy);
        out.chop(1);
        return lossy ? QByteArray() : out;
    };
    const std::wstring wide = QDir::toNativeSeparators(path).toStdWString();
    QByteArray name = toAnsi(wide);
    if (!name.isEmpty())
        return name;
    std::wstring shortName(MAX_PATH, L'\0');
    const DWORD n = GetShortPathNameW(wide.c_str(), shortName.data(), MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        shortName.resize(n);
        name = toAnsi(shortName);
        if (!name.isEmpty())
            return name;
    }
    throw Error(QStringLiteral("Cannot open '%1': its folder's name cannot be handed to the Access "
                               "reader on this system; copy the file into a folder whose name has "
                               "only English letters and try again")
                    .arg(path));
#else
    return QFile::encodeName(path);
#endif
}

// Table names compare without regard to letter case, as Access compares them.
MdbCatalogEntry* findTable(MdbHandle* mdb, const QString& name) {
    for (guint i = 0; i < mdb->catalog->len; ++i) {
        auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
        if (entry->object_type == MDB_TABLE &&
            QString::fromUtf8(entry->object_name).compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return nullptr;
}

struct TableDefFree {
    void operator()(MdbTableDef* t) const { mdb_free_tabledef(t); }
};

} // namespace

QString decodeJetText(const unsigned char* bytes, int size) {
    QString out;
    const auto utf16 = [&](int from, int to) {
        for (int i = from; i + 1 < to; i += 2)
            out += QChar(static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8));
    };
    if (size < 2 || bytes[0] != 0xFF || bytes[1] != 0xFE) {
        out.reserve(size / 2);
        utf16(0, size);
        return out;
    }
    bool compressed = true;
    int start = 2;
    for (int i = 2; i <= size; ++i) {
        if (i < size && bytes[i] != 0)
            continue;
        if (compressed)
            for (int j = start; j < i; ++j)
                out += QChar(static_cast<char16_t>(bytes[j]));
        else
            utf16(start, i);
        compressed = !compressed;
        start = i + 1;
    }
    return out;
}

namespace {

// Where a row lies on its data page.
constexpr int rowOffsetMask = 0x1fff, deletedRow = 0x4000, jet4RowCountOffset = 0x0c;
// A Jet 4 text column holds at most 255 characters of two bytes.
constexpr int largestText = 510;
// Damaged rows named in a refusal: enough to find them, not a flood.
constexpr int damageNamed = 3;

// The rows of one data page, as its table of row offsets places them: for each slot, what is
// wrong with it (nothing for a sound or deleted one).
std::vector<QString> checkPage(const unsigned char* page, int pageSize) {
    const int slotCount = wordAt(page + jet4RowCountOffset);
    const int tableEnd = jet4RowCountOffset + 2 + 2 * slotCount;
    if (tableEnd > pageSize) // libmdb looks at no more than 1001 of them
        return std::vector<QString>(
            static_cast<size_t>(std::min(slotCount, 1001)),
            QStringLiteral("the page's count of %1 rows does not fit the page").arg(slotCount));
    std::vector<int> starts(static_cast<size_t>(slotCount));
    for (int i = 0; i < slotCount; ++i)
        starts[static_cast<size_t>(i)] = wordAt(page + jet4RowCountOffset + 2 + 2 * i);
    std::vector<QString> problems(static_cast<size_t>(slotCount));
    const auto inside = [&](int start) { return start >= tableEnd && start < pageSize; };
    for (int i = 0; i < slotCount; ++i) {
        const int raw = starts[static_cast<size_t>(i)], start = raw & rowOffsetMask;
        if (raw & deletedRow)
            continue;
        if (!inside(start)) {
            problems[static_cast<size_t>(i)] =
                QStringLiteral("its offset %1 lies outside the page's rows").arg(start);
            continue;
        }
        // libmdb ends a row where the slot before it begins; it must be the next row up.
        int end = pageSize;
        for (int j = 0; j < slotCount; ++j) {
            const int other = starts[static_cast<size_t>(j)] & rowOffsetMask;
            if (j == i || !inside(other))
                continue;
            if (other == start) {
                problems[static_cast<size_t>(i)] =
                    QStringLiteral("it begins where the row in slot %1 begins").arg(j);
                break;
            }
            if (other > start)
                end = std::min(end, other);
        }
        const int assumedEnd =
            i == 0 ? pageSize : starts[static_cast<size_t>(i - 1)] & rowOffsetMask;
        if (problems[static_cast<size_t>(i)].isEmpty() && assumedEnd != end)
            problems[static_cast<size_t>(i)] =
                QStringLiteral("its bytes run into another row (offset %1)").arg(start);
    }
    return problems;
}

// What the table definition says of its columns, checked against itself: for each column
// (in libmdb's order) what is wrong with its definition, or nothing.
std::vector<QString> checkDefinition(const MdbTableDef* table) {
    const guint count = table->columns->len;
    std::vector<QString> problems(count);
    std::map<int, guint> numbers, places;
    std::vector<std::pair<int, guint>> fixedOffsets;
    guint variable = 0;
    for (guint i = 0; i < count; ++i) {
        const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
        QString& problem = problems[i];
        const int size = storedSize(col->col_type);
        if (size == unknownLayout)
            continue; // not one this reader knows; none of ours
        if (col->col_num < 0 || static_cast<unsigned>(col->col_num) >= table->num_cols)
            problem = QStringLiteral("its number %1 lies beyond the table's %2 columns")
                          .arg(col->col_num)
                          .arg(table->num_cols);
        else if (numbers.count(col->col_num))
            problem =
                QStringLiteral("its number %1 is also that of another column").arg(col->col_num);
        numbers.emplace(col->col_num, i);
        if (size == variableLength) {
            ++variable;
            if (col->is_fixed)
                problem = QStringLiteral("it is declared of fixed length, although it holds %1")
                              .arg(typeName(col->col_type));
            else if (col->var_col_num >= table->num_var_cols)
                problem = QStringLiteral("it is variable-length value %1 of a table declared to "
                                         "have %2")
                              .arg(col->var_col_num)
                              .arg(table->num_var_cols);
            else if (places.count(static_cast<int>(col->var_col_num)))
                problem = QStringLiteral("its variable-length place %1 is also that of another "
                                         "column")
                              .arg(col->var_col_num);
            else if (col->col_type == MDB_TEXT &&
                     (col->col_size <= 0 || col->col_size > largestText))
                problem = QStringLiteral("it declares a size of %1 bytes").arg(col->col_size);
            places.emplace(static_cast<int>(col->var_col_num), i);
        } else if (!col->is_fixed) {
            problem = QStringLiteral("it is declared of variable length, although it holds %1")
                          .arg(typeName(col->col_type));
        } else if (col->col_size != size && col->col_type != MDB_BOOL) {
            problem = QStringLiteral("it declares %1 bytes for %2, which takes %3")
                          .arg(col->col_size)
                          .arg(typeName(col->col_type))
                          .arg(size);
        } else if (col->fixed_offset < 0 || col->fixed_offset + size > jet4PageSize) {
            problem = QStringLiteral("its offset %1 lies beyond any row").arg(col->fixed_offset);
        } else if (size > 0) {
            fixedOffsets.emplace_back(col->fixed_offset, i);
        }
    }
    // Fixed-length values lie side by side, never on top of each other.
    std::sort(fixedOffsets.begin(), fixedOffsets.end());
    for (size_t k = 1; k < fixedOffsets.size(); ++k) {
        const auto* before = static_cast<const MdbColumn*>(
            g_ptr_array_index(table->columns, fixedOffsets[k - 1].second));
        if (fixedOffsets[k].first < before->fixed_offset + before->col_size &&
            problems[fixedOffsets[k].second].isEmpty())
            problems[fixedOffsets[k].second] =
                QStringLiteral("its offset %1 lies inside column '%2'")
                    .arg(fixedOffsets[k].first)
                    .arg(QString::fromUtf8(before->name));
    }
    if (variable != table->num_var_cols)
        for (guint i = 0; i < count; ++i) {
            const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
            if (storedSize(col->col_type) == variableLength && problems[i].isEmpty())
                problems[i] = QStringLiteral("the table is declared to have %1 variable-length "
                                             "columns, but defines %2")
                                  .arg(table->num_var_cols)
                                  .arg(variable);
        }
    return problems;
}

// A row's own layout, checked before libmdb's reading of it is trusted: the count of columns,
// the null mask and the table of variable-length values fit the row, and those values lie in
// order between the fixed-length values and that table. `fixedEnds[k]` is where the first k+1
// fixed-length columns end: a row written before a column was added holds fewer of them.
QString checkRow(const MdbTableDef* table, const unsigned char* row, int size,
                 const std::vector<int>& fixedEnds) {
    if (size < 2)
        return QStringLiteral("it is %1 bytes long").arg(size);
    const int columns = wordAt(row);
    const int mask = (columns + 7) / 8;
    const auto fixedEnd = [&](int fixedColumns) {
        if (fixedColumns <= 0 || fixedEnds.empty())
            return 0;
        return fixedEnds[static_cast<size_t>(
            std::min(fixedColumns, static_cast<int>(fixedEnds.size())) - 1)];
    };
    if (table->num_var_cols == 0)
        return 2 + fixedEnd(columns) + mask <= size
                   ? QString()
                   : QStringLiteral("its values do not fit its length");
    if (2 + mask + 2 > size)
        return QStringLiteral("its null mask does not fit its length");
    const int last = size - 1;
    const int values = wordAt(row + last - mask - 1);
    const int tableStart = size - mask - 4 - 2 * values; // where the end offset lies
    if (tableStart < 2)
        return QStringLiteral("its table of %1 variable-length values does not fit its length")
            .arg(values);
    int previous = 2 + fixedEnd(columns - values);
    for (int i = 0; i <= values; ++i) {
        const int offset = wordAt(row + last - mask - 3 - 2 * i);
        if (offset < previous || offset > tableStart)
            return QStringLiteral("variable-length value %1 lies outside its place (offset %2)")
                .arg(i)
                .arg(offset);
        previous = offset;
    }
    return QString();
}

// A text decoded from stored bytes is sound when every character came from the file and is one
// that a library's records can hold: no replacement character, no half of a surrogate pair, no
// control character but tab and line breaks, nothing unassigned or for private use.
bool soundText(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate()) {
            if (i + 1 >= text.size() || !text[i + 1].isLowSurrogate())
                return false;
            const char32_t code = QChar::surrogateToUcs4(c, text[i + 1]);
            if (QChar::category(code) == QChar::Other_NotAssigned ||
                QChar::category(code) == QChar::Other_PrivateUse)
                return false;
            ++i;
            continue;
        }
        switch (c.category()) {
        case QChar::Other_Surrogate: // a low half alone
        case QChar::Other_NotAssigned:
        case QChar::Other_PrivateUse:
            return false;
        case QChar::Other_Control:
            if (c != u'\t' && c != u'\n' && c != u'\r')
                return false;
            break;
        default:
            if (c == QChar::ReplacementCharacter || c.isNonCharacter())
                return false;
        }
    }
    return true;
}

} // namespace

struct AccessReader::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle() {
        if (mdb)
            mdb_close(mdb);
    }
};

AccessReader::AccessReader(const QString& path, bool salvage)
    : path_(path), salvage_(salvage), handle_(std::make_unique<Handle>()) {
    checkFile(path);
    const QByteArray name = narrowPath(path);
    handle_->mdb = mdb_open(name.constData(), MDB_NOFLAGS);
    if (!handle_->mdb || !mdb_read_catalog(handle_->mdb, MDB_TABLE))
        throw Error(QStringLiteral("'%1' is damaged: its list of tables cannot be read").arg(path));
}

AccessReader::~AccessReader() = default;

bool AccessReader::hasTable(const QString& name) const {
    return findTable(handle_->mdb, name) != nullptr;
}

QStringList
AccessReader::readTable(const QString& name, const QString& key,
                        const std::function<void(const std::vector<AccessColumn>&)>& onColumns,
                        const std::function<void(const std::vector<data::Value>&)>& onRow) {
    MdbHandle* mdb = handle_->mdb;
    MdbCatalogEntry* entry = findTable(mdb, name);
    if (!entry)
        throw Error(QStringLiteral("'%1' has no table '%2'").arg(path_, name));
    const auto damaged = [&](const QString& what) {
        return Error(QStringLiteral("'%1' is damaged: %2").arg(path_, what));
    };

    const std::unique_ptr<MdbTableDef, TableDefFree> table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get()) || table->num_cols > MDB_MAX_COLS ||
        table->columns->len != table->num_cols)
        throw damaged(QStringLiteral("the columns of table '%1' cannot be read").arg(name));
    std::vector<AccessColumn> columns;
    std::vector<const MdbColumn*> defs;
    for (guint i = 0; i < table->columns->len; ++i) {
        const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
        columns.push_back(
            {QString::fromUtf8(col->name), kindOf(col->col_type), typeName(col->col_type)});
        defs.push_back(col);
    }

    // The definition first: a column it describes impossibly is refused, or left empty.
    QStringList notes, damage;
    const std::vector<QString> definition = checkDefinition(table.get());
    std::vector<bool> trusted(columns.size(), true);
    std::vector<int> fixedEnds; // in libmdb's order, which is the rows' order
    for (size_t c = 0; c < columns.size(); ++c) {
        const int size = storedSize(defs[c]->col_type);
        if (defs[c]->is_fixed) // libmdb counts a row's fixed-length columns by this flag
            fixedEnds.push_back(
                std::max(fixedEnds.empty() ? 0 : fixedEnds.back(),
                         definition[c].isEmpty() && size >= 0 ? defs[c]->fixed_offset + size : 0));
        if (definition[c].isEmpty())
            continue;
        trusted[c] = false;
        damage << QStringLiteral("column '%1': %2").arg(columns[c].name, definition[c]);
        notes << QStringLiteral("column '%1' left empty in every row: its definition is damaged "
                                "(%2)")
                     .arg(columns[c].name, definition[c]);
    }
    if (!damage.isEmpty() && !salvage_)
        throw damaged(QStringLiteral("the definition of table '%1' is damaged: %2")
                          .arg(name, damage.mid(0, damageNamed).join(QStringLiteral("; "))));
    onColumns(columns);

    // Then every row. Refusing names the first damaged rows; salvaging lists each one.
    const auto refuse = [&] {
        throw damaged(QStringLiteral("table '%1': %2")
                          .arg(name, damage.mid(0, damageNamed).join(QStringLiteral("; "))));
    };
    damage.clear();
    const auto rowDamaged = [&](const QString& where, const QString& what) {
        damage << where + QStringLiteral(": ") + what;
        notes << where + QStringLiteral(" left out: ") + what;
        if (!salvage_ && damage.size() >= damageNamed)
            refuse();
    };
    mdb_rewind_table(table.get());
    std::vector<MdbField> fields(MDB_MAX_COLS);
    std::vector<Value> row(columns.size());
    const int pageSize = static_cast<int>(mdb->fmt->pg_size);
    qint64 rows = 0;
    guint32 page = 0;
    std::vector<QString> slotProblems;
    std::map<qint32, qint64> keys; // each record code and the row that holds it
    int keyColumn = -1;
    for (size_t c = 0; c < columns.size(); ++c)
        if (!key.isEmpty() && columns[c].name.compare(key, Qt::CaseInsensitive) == 0 && trusted[c])
            keyColumn = static_cast<int>(c);
    std::set<int> fetched;
    // Rows of the page just left whose slot is damaged and which libmdb passed over.
    const auto passedOver = [&] {
        for (size_t s = 0; s < slotProblems.size(); ++s)
            if (!slotProblems[s].isEmpty() && !fetched.count(static_cast<int>(s)))
                rowDamaged(QStringLiteral("the row in slot %1 of page %2").arg(s).arg(page),
                           slotProblems[s]);
    };
    while (mdb_fetch_row(table.get())) {
        ++rows;
        if (table->cur_phys_pg != page) {
            passedOver();
            page = table->cur_phys_pg;
            slotProblems = checkPage(mdb->pg_buf, pageSize);
            fetched.clear();
        }
        const int slot = static_cast<int>(table->cur_row) - 1;
        fetched.insert(slot);
        const QString where =
            QStringLiteral("row %1 (page %2, slot %3)").arg(rows).arg(page).arg(slot);
        QString problem = static_cast<size_t>(slot) < slotProblems.size()
                              ? slotProblems[static_cast<size_t>(slot)]
                              : QStringLiteral("its slot lies beyond the page's rows");
        // The row just fetched lies on the current page; take its fields with the null mask
        // (the bound-column API gives NULL and an empty text alike).
        int start = 0;
        size_t length = 0;
        if (problem.isEmpty() && mdb_find_row(mdb, slot, &start, &length) != 0)
            problem = QStringLiteral("its place on the page cannot be found");
        start &= rowOffsetMask;
        if (problem.isEmpty())
            problem =
                checkRow(table.get(), mdb->pg_buf + start, static_cast<int>(length), fixedEnds);
        if (problem.isEmpty() && mdb_crack_row(table.get(), start, length, fields.data()) <
                                     static_cast<int>(columns.size()))
            problem = QStringLiteral("its values cannot be told apart");
        if (!problem.isEmpty()) {
            rowDamaged(where, problem);
            continue;
        }
        QStringList doubts;
        for (size_t c = 0; c < columns.size(); ++c) {
            const MdbField& f = fields[c];
            const auto* bytes = static_cast<const unsigned char*>(f.value);
            const int type = defs[c]->col_type;
            const int fixed = fixedSize(type);
            row[c] = Value();
            if (f.is_null || !trusted[c])
                continue;
            const auto doubt = [&](const QString& what) {
                doubts << QStringLiteral("column '%1' %2").arg(columns[c].name, what);
            };
            if (f.siz < 0 || f.start < start ||
                f.start + f.siz > start + static_cast<int>(length) || (fixed && f.siz != fixed)) {
                doubt(QStringLiteral("lies outside its row"));
                continue;
            }
            switch (columns[c].kind) {
            case AccessKind::Integer:
                row[c] = Value(integerAt(bytes, fixed));
                break;
            case AccessKind::DateTime: {
                const double days = doubleAt(bytes);
                if (!data::isStorable(platform::DateTime(days)))
                    doubt(QStringLiteral("holds a date outside the years 100 to 9999"));
                else
                    row[c] = Value(platform::DateTime(days));
                break;
            }
            case AccessKind::Text: {
                QString text;
                if (type == MDB_TEXT) {
                    const bool compressed = f.siz >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
                    if (f.siz > defs[c]->col_size) {
                        doubt(QStringLiteral("holds %1 bytes, more than the %2 it declares")
                                  .arg(f.siz)
                                  .arg(defs[c]->col_size));
                        break;
                    }
                    if (!compressed && f.siz % 2) {
                        doubt(QStringLiteral("holds a text of an odd number of bytes"));
                        break;
                    }
                    text = decodeJetText(bytes, f.siz);
                } else { // a memo may lie on other pages: libmdb follows them
                    char* memo = mdb_col_to_string(mdb, mdb->pg_buf, f.start, type, f.siz);
                    text = QString::fromUtf8(memo);
                    g_free(memo);
                }
                if (!soundText(text))
                    doubt(QStringLiteral("holds a text that does not decode"));
                else
                    row[c] = Value(text);
                break;
            }
            case AccessKind::Other:
                break;
            }
        }
        // The record code is the old table's key: a repeated one means a row is not what the
        // file meant (the new file would refuse it anyway).
        if (keyColumn >= 0 && row[static_cast<size_t>(keyColumn)].isInteger()) {
            const qint32 code = row[static_cast<size_t>(keyColumn)].toInteger();
            const auto [seen, first] = keys.emplace(code, rows);
            if (!first) {
                rowDamaged(where, QStringLiteral("its %1 %2 is also that of row %3")
                                      .arg(key)
                                      .arg(code)
                                      .arg(seen->second));
                continue;
            }
        }
        if (!doubts.isEmpty()) {
            if (!salvage_) {
                rowDamaged(where, doubts.join(QStringLiteral(", ")));
                continue;
            }
            for (const QString& d : doubts)
                notes << where + QStringLiteral(": ") + d + QStringLiteral(", left empty");
        }
        onRow(row);
    }
    passedOver();
    if (rows != table->num_rows) {
        const QString counted =
            QStringLiteral("table '%1' holds %2 rows, of which %3 could be read")
                .arg(name)
                .arg(table->num_rows)
                .arg(rows);
        if (!salvage_ && damage.isEmpty())
            throw damaged(counted);
        damage << counted;
        notes << QStringLiteral("the table holds %1 rows, of which %2 could be found")
                     .arg(table->num_rows)
                     .arg(rows);
    }
    if (!damage.isEmpty() && !salvage_)
        refuse();
    return notes;
}

} // namespace tools
