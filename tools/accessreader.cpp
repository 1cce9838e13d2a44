#include "tools/accessreader.h"

#include "data/tables.h"
#include "data/value.h"
#include "platform/errors.h"
#include "tools/importevents.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
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
    if (!f.open(QIODevice::ReadOnly)) {
        const QFileInfo info(path);
        throw ImportFailure(info.exists() && !info.isDir() ? ImportCause::Other
                                                           : ImportCause::NotFound,
                            QStringLiteral("Cannot open '%1': %2").arg(path, f.errorString()));
    }
    const QByteArray head = f.read(jetVersionOffset + 1);
    const QByteArray signature = head.mid(4, 15);
    if (head.size() <= jetVersionOffset ||
        (signature != "Standard Jet DB" && signature != "Standard ACE DB"))
        throw ImportFailure(ImportCause::NotAccess,
                            QStringLiteral("'%1' is not an Access database file").arg(path));
    const int version = static_cast<unsigned char>(head[jetVersionOffset]);
    if (signature == "Standard ACE DB" || version > 1)
        throw ImportFailure(ImportCause::NotAccess,
                            QStringLiteral("'%1' is in a later Access format than 2000 or "
                                           "2002-2003; save it from Access in the Access 2000 "
                                           "format first")
                                .arg(path));
    if (version == 0)
        throw ImportFailure(ImportCause::NotAccess,
                            QStringLiteral("'%1' is in the Access 97 format; save it from Access "
                                           "in the Access 2000 format first")
                                .arg(path));
    if (f.size() < 3 * jet4PageSize || f.size() % jet4PageSize != 0) {
        ImportFailure failure(ImportCause::Damaged,
                              QStringLiteral("'%1' is damaged or cut short: its size of %2 bytes "
                                             "does not fit the Access format")
                                  .arg(path)
                                  .arg(f.size()));
        failure.reason = DamageReason::FileSize;
        throw failure;
    }
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
    throw ImportFailure(
        ImportCause::Other,
        QStringLiteral("Cannot open '%1': its folder's name cannot be handed to the Access "
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

// Why Access cannot have given a column this name, or the empty text. Jet refuses a name that
// is empty, longer than 64 characters or holds a control character, and gives no two columns
// of a table one name; a name read from damaged bytes (a length out of place) breaks these.
QString nameProblem(const QString& name) {
    if (name.isEmpty())
        return QStringLiteral("is empty");
    if (name.size() > 64)
        return QStringLiteral("is %1 characters long").arg(name.size());
    for (const QChar c : name)
        if (c.unicode() < 0x20)
            return QStringLiteral("holds a control character");
    if (!soundText(name))
        return QStringLiteral("holds a character that does not decode");
    return QString();
}

// The counter of record codes that the table's definition keeps (the next auto-number, as Jet
// counts it), read from the definition's own page; 0 when there is none.
qint64 codesGiven(MdbHandle* mdb, unsigned long page) {
    if (mdb_read_pg(mdb, page) <= 0 || mdb->pg_buf[0] != 0x02)
        return 0;
    return std::max<qint64>(0, integerAt(mdb->pg_buf + mdb->fmt->tab_num_rows_offset + 4, 4));
}

// How far outside the codes given a record code must lie to be taken for damage: Jet gives
// codes from 1 up to its counter, but some versions of Jet 4 set the counter back below codes
// already given when a row was appended with a code of its own, and a code may be appended
// below 1. A byte changed above a code's lowest one moves it by at least 256.
constexpr qint64 keyMargin = 255;

} // namespace

QString printableName(const QString& name) {
    QString out;
    for (const QChar c : name)
        out += c.unicode() < 0x20 || c.unicode() == 0x7f
                   ? QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'))
                   : QString(c);
    return out;
}

QString recordCodeColumn(const data::TableDef& table) {
    for (const data::ColumnDef& c : table.columns)
        if (c.kind == data::Kind::AutoInc)
            return QString::fromUtf16(c.name);
    return QString();
}

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
    if (!handle_->mdb || !mdb_read_catalog(handle_->mdb, MDB_TABLE)) {
        ImportFailure failure(
            ImportCause::Damaged,
            QStringLiteral("'%1' is damaged: its list of tables cannot be read").arg(path));
        failure.reason = DamageReason::Catalog;
        throw failure;
    }
}

AccessReader::~AccessReader() = default;

bool AccessReader::hasTable(const QString& name) const {
    return findTable(handle_->mdb, name) != nullptr;
}

std::vector<ImportWarning>
AccessReader::readTable(const data::TableDef& ours,
                        const std::function<void(const std::vector<AccessColumn>&)>& onColumns,
                        const std::function<void(const std::vector<data::Value>&)>& onRow) {
    const QString name = ours.tableName();
    const QString key = recordCodeColumn(ours);
    MdbHandle* mdb = handle_->mdb;
    MdbCatalogEntry* entry = findTable(mdb, name);
    if (!entry) {
        ImportFailure failure(ImportCause::MissingTable,
                              QStringLiteral("'%1' has no table '%2'").arg(path_, name));
        failure.table = name;
        throw failure;
    }
    const auto damaged = [&](ImportCause cause, DamageReason reason, const QString& what) {
        ImportFailure failure(cause, QStringLiteral("'%1' is damaged: %2").arg(path_, what));
        failure.table = name;
        failure.reason = reason;
        return failure;
    };

    const qint64 counter = codesGiven(mdb, entry->table_pg);
    const std::unique_ptr<MdbTableDef, TableDefFree> table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get()) || table->num_cols > MDB_MAX_COLS ||
        table->columns->len != table->num_cols)
        throw damaged(ImportCause::Definition, DamageReason::Definition,
                      QStringLiteral("the columns of table '%1' cannot be read").arg(name));
    std::vector<AccessColumn> columns;
    std::vector<const MdbColumn*> defs;
    for (guint i = 0; i < table->columns->len; ++i) {
        const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
        columns.push_back(
            {QString::fromUtf8(col->name), kindOf(col->col_type), typeName(col->col_type)});
        defs.push_back(col);
    }

    // The definition first: a column it describes impossibly, or names as Access cannot have
    // named it, is refused, or left empty.
    std::vector<ImportWarning> notes;
    const auto note = [&](WarningCode code, const QString& text, DamageReason reason,
                          const QString& column = QString()) {
        ImportWarning w;
        w.code = code;
        w.text = text;
        w.reason = reason;
        w.column = column;
        notes.push_back(w);
        return &notes.back();
    };
    QStringList definitionDamage;
    DamageReason definitionReason = DamageReason::None;
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
        if (definitionDamage.isEmpty())
            definitionReason = DamageReason::Definition;
        definitionDamage
            << QStringLiteral("column '%1': %2").arg(printableName(columns[c].name), definition[c]);
        note(WarningCode::ColumnDamaged,
             QStringLiteral("column '%1' left empty in every row: its definition is damaged (%2)")
                 .arg(printableName(columns[c].name), definition[c]),
             DamageReason::Definition, columns[c].name);
    }
    // The names lie one after another, each after its length: a damaged length moves every
    // name after it onto the next column's bytes. One damaged name among sound ones is a
    // damaged letter; two or more, and none from the first on can be trusted to be its own.
    std::vector<QString> nameProblems(columns.size());
    for (size_t c = 0; c < columns.size(); ++c) {
        nameProblems[c] = nameProblem(columns[c].name);
        for (size_t d = 0; d < c && nameProblems[c].isEmpty(); ++d)
            if (columns[d].name.compare(columns[c].name, Qt::CaseInsensitive) == 0)
                nameProblems[c] = QStringLiteral("is also that of column %1").arg(d + 1);
    }
    const auto damagedName = [](const QString& problem) { return !problem.isEmpty(); };
    const auto firstDamaged = static_cast<size_t>(
        std::find_if(nameProblems.begin(), nameProblems.end(), damagedName) - nameProblems.begin());
    const bool namesSound = firstDamaged == columns.size();
    const bool namesMoved =
        std::count_if(nameProblems.begin(), nameProblems.end(), damagedName) > 1;
    for (size_t c = 0; c < columns.size(); ++c) {
        const QString& problem = nameProblems[c];
        if (problem.isEmpty()) {
            if (namesMoved && c > firstDamaged) {
                trusted[c] = false;
                note(WarningCode::ColumnDamaged,
                     QStringLiteral("column %1 (named '%2') left empty in every row: its name "
                                    "may have been read from another column's bytes")
                         .arg(c + 1)
                         .arg(printableName(columns[c].name)),
                     DamageReason::Name, columns[c].name);
            }
            continue;
        }
        trusted[c] = false;
        if (definitionDamage.isEmpty())
            definitionReason = DamageReason::Name;
        const QString which =
            QStringLiteral("column %1 (named '%2')").arg(c + 1).arg(printableName(columns[c].name));
        definitionDamage << which + QStringLiteral(": its name ") + problem;
        note(WarningCode::ColumnDamaged,
             which + QStringLiteral(" left empty in every row: its name ") + problem +
                 QStringLiteral(", so its definition is damaged"),
             DamageReason::Name, columns[c].name);
    }
    // Names that read as names, but of which only a few are the program's: the names were read
    // from the wrong bytes, or the table is not the program's.
    if (namesSound) {
        qint64 known = 0;
        for (const AccessColumn& c : columns)
            known += ours.column(c.name) != nullptr;
        const qint64 others = static_cast<qint64>(columns.size()) - known;
        const auto programs = static_cast<qint64>(ours.columns.size());
        if (others > 0 && 2 * known < programs) {
            if (definitionDamage.isEmpty())
                definitionReason = DamageReason::Columns;
            const QString what = QStringLiteral("it names only %1 of the program's %2 columns, "
                                                "beside %3 that are not the program's")
                                     .arg(known)
                                     .arg(programs)
                                     .arg(others);
            definitionDamage << what;
            ImportWarning* w =
                note(WarningCode::FewColumns,
                     QStringLiteral("the definition of the table may be damaged: ") + what,
                     DamageReason::Columns);
            w->count = known;
            w->size = programs;
        }
    }
    if (!definitionDamage.isEmpty() && !salvage_)
        throw damaged(
            ImportCause::Definition, definitionReason,
            QStringLiteral("the definition of table '%1' is damaged: %2")
                .arg(name, definitionDamage.mid(0, damageNamed).join(QStringLiteral("; "))));
    onColumns(columns);

    // Then every row. Refusing names the first damaged rows; salvaging lists each one.
    struct Damage {
        QString text;
        qint64 row;
        DamageReason reason;
    };
    std::vector<Damage> damage;
    const auto refuse = [&] {
        QStringList texts;
        QList<qint64> numbers;
        for (size_t i = 0; i < damage.size() && i < static_cast<size_t>(damageNamed); ++i) {
            texts << damage[i].text;
            if (damage[i].row > 0)
                numbers << damage[i].row;
        }
        ImportFailure failure =
            damaged(ImportCause::Damaged, damage.front().reason,
                    QStringLiteral("table '%1': %2").arg(name, texts.join(QStringLiteral("; "))));
        failure.rows = numbers;
        throw failure;
    };
    struct Place {
        QString where;
        qint64 row; // 0 for a row libmdb passed over
        int page, slot;
    };
    const auto placed = [&](ImportWarning* w, const Place& at) {
        w->row = at.row;
        w->page = at.page;
        w->slot = at.slot;
    };
    const auto rowDamaged = [&](const Place& at, DamageReason reason, const QString& what) {
        damage.push_back({at.where + QStringLiteral(": ") + what, at.row, reason});
        placed(
            note(WarningCode::RowLeftOut, at.where + QStringLiteral(" left out: ") + what, reason),
            at);
        if (!salvage_ && damage.size() >= static_cast<size_t>(damageNamed))
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
    // Rows whose record code lies far outside the codes the table has given are held back
    // until the table's end: a few such rows beside many within are damage, many are a counter
    // set back (or codes that Jet gave at random).
    struct Held {
        std::vector<Value> row;
        Place at;
    };
    std::vector<Held> held;
    bool holding = keyColumn >= 0 && counter > 0 && defs[keyColumn]->is_long_auto;
    qint64 withinCounter = 0;
    const auto releaseHeld = [&] {
        for (const Held& h : held)
            onRow(h.row);
        held.clear();
        holding = false;
    };
    std::set<int> fetched;
    // Rows of the page just left whose slot is damaged and which libmdb passed over.
    const auto passedOver = [&] {
        for (size_t s = 0; s < slotProblems.size(); ++s)
            if (!slotProblems[s].isEmpty() && !fetched.count(static_cast<int>(s)))
                rowDamaged({QStringLiteral("the row in slot %1 of page %2").arg(s).arg(page), 0,
                            static_cast<int>(page), static_cast<int>(s)},
                           DamageReason::Offsets, slotProblems[s]);
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
        const Place at{QStringLiteral("row %1 (page %2, slot %3)").arg(rows).arg(page).arg(slot),
                       rows, static_cast<int>(page), slot};
        QString problem = static_cast<size_t>(slot) < slotProblems.size()
                              ? slotProblems[static_cast<size_t>(slot)]
                              : QStringLiteral("its slot lies beyond the page's rows");
        DamageReason reason = DamageReason::Offsets;
        // The row just fetched lies on the current page; take its fields with the null mask
        // (the bound-column API gives NULL and an empty text alike).
        int start = 0;
        size_t length = 0;
        if (problem.isEmpty() && mdb_find_row(mdb, slot, &start, &length) != 0)
            problem = QStringLiteral("its place on the page cannot be found");
        start &= rowOffsetMask;
        if (problem.isEmpty()) {
            reason = DamageReason::Layout;
            problem =
                checkRow(table.get(), mdb->pg_buf + start, static_cast<int>(length), fixedEnds);
        }
        if (problem.isEmpty() && mdb_crack_row(table.get(), start, length, fields.data()) <
                                     static_cast<int>(columns.size()))
            problem = QStringLiteral("its values cannot be told apart");
        if (!problem.isEmpty()) {
            rowDamaged(at, reason, problem);
            continue;
        }
        struct Doubt {
            size_t column;
            DamageReason reason;
            QString what;
        };
        std::vector<Doubt> doubts;
        for (size_t c = 0; c < columns.size(); ++c) {
            const MdbField& f = fields[c];
            const auto* bytes = static_cast<const unsigned char*>(f.value);
            const int type = defs[c]->col_type;
            const int fixed = fixedSize(type);
            row[c] = Value();
            if (!trusted[c])
                continue;
            const auto doubt = [&](DamageReason why, const QString& what) {
                doubts.push_back({c, why, what});
            };
            if (f.is_null) {
                // Jet keeps no bytes for a variable-length value the null mask says is absent:
                // bytes there mean the mask is damaged (a Yes/No column keeps its value in it).
                if (!f.is_fixed && type != MDB_BOOL && f.siz > 0)
                    doubt(DamageReason::NullMask,
                          QStringLiteral("is marked as holding no value, yet the row holds %1 "
                                         "bytes for it")
                              .arg(f.siz));
                continue;
            }
            if (f.siz < 0 || f.start < start ||
                f.start + f.siz > start + static_cast<int>(length) || (fixed && f.siz != fixed)) {
                doubt(DamageReason::OutsideRow, QStringLiteral("lies outside its row"));
                continue;
            }
            switch (columns[c].kind) {
            case AccessKind::Integer:
                row[c] = Value(integerAt(bytes, fixed));
                break;
            case AccessKind::DateTime: {
                const double days = doubleAt(bytes);
                if (!data::isStorable(platform::DateTime(days)))
                    doubt(DamageReason::Date,
                          QStringLiteral("holds a date outside the years 100 to 9999"));
                else
                    row[c] = Value(platform::DateTime(days));
                break;
            }
            case AccessKind::Text: {
                QString text;
                if (type == MDB_TEXT) {
                    const bool compressed = f.siz >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
                    if (f.siz > defs[c]->col_size) {
                        doubt(DamageReason::Text,
                              QStringLiteral("holds %1 bytes, more than the %2 it declares")
                                  .arg(f.siz)
                                  .arg(defs[c]->col_size));
                        break;
                    }
                    if (!compressed && f.siz % 2) {
                        doubt(DamageReason::Text,
                              QStringLiteral("holds a text of an odd number of bytes"));
                        break;
                    }
                    text = decodeJetText(bytes, f.siz);
                } else { // a memo may lie on other pages: libmdb follows them
                    char* memo = mdb_col_to_string(mdb, mdb->pg_buf, f.start, type, f.siz);
                    text = QString::fromUtf8(memo);
                    g_free(memo);
                }
                if (!soundText(text))
                    doubt(DamageReason::Text, QStringLiteral("holds a text that does not decode"));
                else
                    row[c] = Value(text);
                break;
            }
            case AccessKind::Other:
                break;
            }
        }
        // A null mask found damaged is not trusted for the fixed-length values it marks absent
        // either, whose bytes the row keeps whether they are absent or not.
        const bool maskDamaged = std::any_of(doubts.begin(), doubts.end(), [](const Doubt& d) {
            return d.reason == DamageReason::NullMask;
        });
        for (size_t c = 0; c < columns.size() && maskDamaged; ++c)
            if (trusted[c] && fields[c].is_null && fields[c].is_fixed && fields[c].siz > 0 &&
                defs[c]->col_type != MDB_BOOL)
                doubts.push_back({c, DamageReason::NullMask,
                                  QStringLiteral("is marked as holding no value by that damaged "
                                                 "null mask")});
        // The record code is the old table's key: a repeated one means a row is not what the
        // file meant (the new file would refuse it anyway).
        std::optional<qint32> code;
        if (keyColumn >= 0 && row[static_cast<size_t>(keyColumn)].isInteger()) {
            code = row[static_cast<size_t>(keyColumn)].toInteger();
            const auto [seen, first] = keys.emplace(*code, rows);
            if (!first) {
                rowDamaged(at, DamageReason::RepeatedKey,
                           QStringLiteral("its %1 %2 is also that of row %3")
                               .arg(key)
                               .arg(*code)
                               .arg(seen->second));
                continue;
            }
        }
        if (!doubts.empty()) {
            if (!salvage_) {
                QStringList what;
                for (const Doubt& d : doubts)
                    what << QStringLiteral("column '%1' %2").arg(columns[d.column].name, d.what);
                rowDamaged(at, doubts.front().reason, what.join(QStringLiteral(", ")));
                continue;
            }
            for (const Doubt& d : doubts)
                placed(note(WarningCode::ValueEmptied,
                            at.where + QStringLiteral(": column '%1' %2, left empty")
                                           .arg(columns[d.column].name, d.what),
                            d.reason, columns[d.column].name),
                       at);
        }
        if (holding && code) {
            if (*code < 1 - keyMargin || *code > counter + keyMargin) {
                if (held.size() < static_cast<size_t>(damageNamed)) {
                    held.push_back({row, at});
                    continue;
                }
                releaseHeld(); // too many to be damage
            } else {
                ++withinCounter;
            }
        }
        onRow(row);
    }
    passedOver();
    if (!held.empty()) {
        if (withinCounter > static_cast<qint64>(held.size())) {
            for (Held& h : held) {
                const QString what = QStringLiteral("its %1 %2 lies far outside the record "
                                                    "codes the table has given (1 to %3)")
                                         .arg(key)
                                         .arg(h.row[static_cast<size_t>(keyColumn)].toInteger())
                                         .arg(counter);
                if (!salvage_) {
                    rowDamaged(h.at, DamageReason::KeyOutOfRange, what);
                    continue;
                }
                placed(note(WarningCode::ValueEmptied,
                            h.at.where + QStringLiteral(": ") + what +
                                QStringLiteral("; given a new record code"),
                            DamageReason::KeyOutOfRange, key),
                       h.at);
                h.row[static_cast<size_t>(keyColumn)] = Value();
                onRow(h.row);
            }
            held.clear();
        } else {
            releaseHeld();
        }
    }
    if (rows != table->num_rows) {
        const QString counted =
            QStringLiteral("table '%1' holds %2 rows, of which %3 could be read")
                .arg(name)
                .arg(table->num_rows)
                .arg(rows);
        if (!salvage_ && damage.empty())
            throw damaged(ImportCause::Damaged, DamageReason::RowCount, counted);
        damage.push_back({counted, 0, DamageReason::RowCount});
        ImportWarning* w =
            note(WarningCode::RowsMissing,
                 QStringLiteral("the table holds %1 rows, of which %2 could be found")
                     .arg(table->num_rows)
                     .arg(rows),
                 DamageReason::RowCount);
        w->count = table->num_rows;
        w->size = rows;
    }
    if (!damage.empty() && !salvage_)
        refuse();
    return notes;
}

} // namespace tools
