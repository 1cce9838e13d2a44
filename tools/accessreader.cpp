#include "tools/accessreader.h"

#include "data/value.h"
#include "platform/errors.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdio>
#include <cstring>
// mdbtools.h includes glib.h inside extern "C", where glib's C++ templates cannot stand. A
// build of libmdb without GLib (the Windows one) brings its own small stand-in instead.
#if __has_include(<glib.h>)
#include <glib.h>
#endif
#include <mdbtools.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace tools {

using data::Value;
using platform::Error;

namespace {

constexpr qint64 jet4PageSize = 4096;
constexpr int jetVersionOffset = 0x14;

#ifdef _WIN32
int duplicate(int fd) {
    return _dup(fd);
}
int duplicateTo(int fd, int to) {
    return _dup2(fd, to);
}
int closeFd(int fd) {
    return _close(fd);
}
int fdOf(FILE* f) {
    return _fileno(f);
}
#else
int duplicate(int fd) {
    return dup(fd);
}
int duplicateTo(int fd, int to) {
    return dup2(fd, to);
}
int closeFd(int fd) {
    return close(fd);
}
int fdOf(FILE* f) {
    return fileno(f);
}
#endif

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

// Little-endian, as Jet stores every number.
qint32 integerAt(const unsigned char* p, int size) {
    if (size == 1)
        return p[0];
    if (size == 2)
        return static_cast<qint16>(static_cast<quint16>(p[0] | p[1] << 8));
    return static_cast<qint32>(static_cast<quint32>(p[0]) | static_cast<quint32>(p[1]) << 8 |
                               static_cast<quint32>(p[2]) << 16 | static_cast<quint32>(p[3]) << 24);
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

// libmdb says on stderr what it cannot read and carries on with what it has. Its words are
// caught while it works, so that they can end the import, or go into the summary, instead of
// standing unexplained among the tool's own lines.
class LibraryMessages {
public:
    LibraryMessages() {
        std::fflush(stderr);
        file_ = std::tmpfile();
        saved_ = file_ ? duplicate(fdOf(stderr)) : -1;
        if (saved_ >= 0)
            duplicateTo(fdOf(file_), fdOf(stderr));
    }
    ~LibraryMessages() {
        restore();
        if (file_)
            std::fclose(file_);
    }
    LibraryMessages(const LibraryMessages&) = delete;
    LibraryMessages& operator=(const LibraryMessages&) = delete;

    // The first line libmdb wrote, or the empty text.
    QString firstLine() {
        restore();
        if (!file_)
            return QString();
        std::rewind(file_);
        char line[512];
        if (!std::fgets(line, sizeof line, file_))
            return QString();
        return QString::fromLocal8Bit(line).trimmed();
    }

private:
    void restore() {
        if (saved_ < 0)
            return;
        std::fflush(stderr);
        duplicateTo(saved_, fdOf(stderr));
        closeFd(saved_);
        saved_ = -1;
    }
    FILE* file_ = nullptr;
    int saved_ = -1;
};

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

struct AccessReader::Handle {
    MdbHandle* mdb = nullptr;
    ~Handle() {
        if (mdb)
            mdb_close(mdb);
    }
};

AccessReader::AccessReader(const QString& path) : path_(path), handle_(std::make_unique<Handle>()) {
    checkFile(path);
    LibraryMessages messages;
    const QByteArray name = narrowPath(path);
    handle_->mdb = mdb_open(name.constData(), MDB_NOFLAGS);
    const bool read = handle_->mdb && mdb_read_catalog(handle_->mdb, MDB_TABLE);
    catalogNote_ = messages.firstLine();
    if (!read)
        throw Error(QStringLiteral("'%1' is damaged: its list of tables cannot be read%2")
                        .arg(path, catalogNote_.isEmpty()
                                       ? QString()
                                       : QStringLiteral(" (") + catalogNote_ + QLatin1Char(')')));
}

AccessReader::~AccessReader() = default;

bool AccessReader::hasTable(const QString& name) const {
    return findTable(handle_->mdb, name) != nullptr;
}

QString
AccessReader::readTable(const QString& name,
                        const std::function<void(const std::vector<AccessColumn>&)>& onColumns,
                        const std::function<void(const std::vector<data::Value>&)>& onRow) {
    MdbHandle* mdb = handle_->mdb;
    MdbCatalogEntry* entry = findTable(mdb, name);
    if (!entry)
        throw Error(missingTable(name));
    LibraryMessages messages;
    const auto damaged = [&](const QString& what) {
        const QString said = messages.firstLine();
        return Error(
            QStringLiteral("'%1' is damaged: %2%3")
                .arg(path_, what,
                     said.isEmpty() ? QString() : QStringLiteral(" (") + said + QLatin1Char(')')));
    };

    const std::unique_ptr<MdbTableDef, TableDefFree> table(mdb_read_table(entry));
    if (!table || !mdb_read_columns(table.get()) || table->num_cols > MDB_MAX_COLS)
        throw damaged(QStringLiteral("the columns of table '%1' cannot be read").arg(name));
    std::vector<AccessColumn> columns;
    std::vector<int> types;
    for (guint i = 0; i < table->columns->len; ++i) {
        const auto* col = static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, i));
        columns.push_back(
            {QString::fromUtf8(col->name), kindOf(col->col_type), typeName(col->col_type)});
        types.push_back(col->col_type);
    }
    onColumns(columns);

    mdb_rewind_table(table.get());
    std::vector<MdbField> fields(MDB_MAX_COLS);
    std::vector<Value> row(columns.size());
    const qint64 pageSize = mdb->fmt->pg_size;
    qint64 rows = 0;
    while (mdb_fetch_row(table.get())) {
        // The row just fetched lies on the current page; take its fields with the null mask
        // (the bound-column API gives NULL and an empty text alike).
        int start = 0;
        size_t length = 0;
        if (mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &length) != 0 ||
            mdb_crack_row(table.get(), start, length, fields.data()) <
                static_cast<int>(columns.size()))
            throw damaged(QStringLiteral("a row of table '%1' cannot be read").arg(name));
        for (size_t c = 0; c < columns.size(); ++c) {
            const MdbField& f = fields[c];
            const auto* bytes = static_cast<const unsigned char*>(f.value);
            const int fixed = fixedSize(types[c]);
            if (f.is_null) {
                row[c] = Value();
                continue;
            }
            if (f.siz < 0 || f.start < 0 || f.start + f.siz > pageSize || (fixed && f.siz != fixed))
                throw damaged(QStringLiteral("a value of column '%1' in table '%2' cannot be read")
                                  .arg(columns[c].name, name));
            switch (columns[c].kind) {
            case AccessKind::Integer:
                row[c] = Value(integerAt(bytes, fixed));
                break;
            case AccessKind::DateTime: {
                const double days = doubleAt(bytes);
                if (!data::isStorable(platform::DateTime(days)))
                    throw damaged(QStringLiteral("a date of column '%1' in table '%2' lies "
                                                 "outside the years 100 to 9999")
                                      .arg(columns[c].name, name));
                row[c] = Value(platform::DateTime(days));
                break;
            }
            case AccessKind::Text:
                if (types[c] == MDB_TEXT) {
                    row[c] = Value(decodeJetText(bytes, f.siz));
                } else { // a memo may lie on other pages: libmdb follows them
                    char* text = mdb_col_to_string(mdb, mdb->pg_buf, f.start, types[c], f.siz);
                    row[c] = Value(QString::fromUtf8(text));
                    g_free(text);
                }
                break;
            case AccessKind::Other:
                row[c] = Value();
                break;
            }
        }
        onRow(row);
        ++rows;
    }
    if (rows != table->num_rows)
        throw damaged(QStringLiteral("table '%1' holds %2 rows, of which %3 could be read")
                          .arg(name)
                          .arg(table->num_rows)
                          .arg(rows));
    return messages.firstLine();
}

QString AccessReader::missingTable(const QString& name) const {
    if (!catalogNote_.isEmpty()) // the list of tables was read only in part
        return QStringLiteral("'%1' is damaged: table '%2' cannot be found (%3)")
            .arg(path_, name, catalogNote_);
    return QStringLiteral("'%1' has no table '%2'").arg(path_, name);
}

} // namespace tools
