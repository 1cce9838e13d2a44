#include "data/provider.h"

#include "data/connectionstring.h"
#include "data/sqlite.h"
#include "data/turkishlike.h"
#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstring>

namespace data {

using platform::Error;

namespace {

void likeFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    // like(pattern, text): "text LIKE pattern". Null on either side never matches.
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int pn = sqlite3_value_bytes(argv[0]);
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int tn = sqlite3_value_bytes(argv[1]);
    sqlite3_result_int(ctx, turkishLike(std::string_view(p ? p : "", static_cast<size_t>(pn)),
                                        std::string_view(t ? t : "", static_cast<size_t>(tn))));
}

bool isOldAccessFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(32);
    return head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB";
}

QString actualKindName(sqlite3* db, sqlite3_stmt* stmt, int column) {
    const char* table = sqlite3_column_table_name(stmt, column);
    const char* origin = sqlite3_column_origin_name(stmt, column);
    const char* database = sqlite3_column_database_name(stmt, column);
    const char* decl = sqlite3_column_decltype(stmt, column);
    int primaryKey = 0;
    if (table && origin) {
        const char* declared = nullptr;
        sqlite3_table_column_metadata(db, database, table, origin, &declared, nullptr, nullptr,
                                      &primaryKey, nullptr);
        if (declared)
            decl = declared;
    }
    const QString type = QString::fromUtf8(decl ? decl : "").toUpper();
    if (type.isEmpty())
        return QStringLiteral("Variant");
    if (type.contains(QLatin1String("INT")))
        return primaryKey && type == QLatin1String("INTEGER") ? kindName(Kind::AutoInc)
                                                              : kindName(Kind::Integer);
    if (type.contains(QLatin1String("CHAR")) || type.contains(QLatin1String("TEXT")) ||
        type.contains(QLatin1String("CLOB")))
        return kindName(Kind::WideString);
    if (type.contains(QLatin1String("DATE")) || type.contains(QLatin1String("TIME")))
        return kindName(Kind::DateTime);
    if (type.contains(QLatin1String("BLOB")))
        return QStringLiteral("Blob");
    return QStringLiteral("Float");
}

QString columnName(const TableDef& table, int column) {
    return QString::fromUtf16(table.columns[column].name);
}

void bindValue(sqlite::Statement& st, int index, const TableDef& table, int column,
               const Value& v) {
    if (v.isNull()) {
        st.bindNull(index);
    } else if (v.isInteger()) {
        st.bindInt64(index, v.toInteger());
    } else if (v.isDateTime()) {
        // Stored, such a date would come back as a text no one can read as a date.
        if (!isStorable(v.toDateTime()))
            throw Error(unstorableDateTimeMessage(columnName(table, column), v.toDateTime()));
        st.bindText(index, v.toDateTime().toIso());
    } else
        st.bindText(index, v.toText());
}

void bindCell(sqlite::Statement& st, int index, const RowStore::Cell& cell) {
    switch (cell.storage) {
    case RowStore::Storage::Null:
        st.bindNull(index);
        break;
    case RowStore::Storage::Integer: {
        sqlite3_int64 i = 0;
        std::memcpy(&i, cell.bytes.data(), sizeof i);
        st.bindInt64(index, i);
        break;
    }
    case RowStore::Storage::Float: {
        double d = 0;
        std::memcpy(&d, cell.bytes.data(), sizeof d);
        st.bindDouble(index, d);
        break;
    }
    case RowStore::Storage::Text:
        st.bindText(index, cell.bytes.data(), static_cast<int>(cell.bytes.size()));
        break;
    case RowStore::Storage::Blob:
        st.bindBlob(index, cell.bytes.data(), static_cast<int>(cell.bytes.size()));
        break;
    }
}

// "c1 IS ? AND c2 IS ? ...": the row as it was read in the given columns, nulls included.
QString sameValuesCondition(const TableDef& table, const std::vector<int>& columns) {
    QStringList parts;
    for (const int c : columns)
        parts << columnName(table, c) + QStringLiteral(" IS ?");
    return parts.join(QStringLiteral(" AND "));
}

void bindOriginal(sqlite::Statement& st, int first, const std::vector<int>& columns,
                  const RowStore& original, int row) {
    for (size_t i = 0; i < columns.size(); ++i)
        bindCell(st, first + static_cast<int>(i), original.cell(row, columns[i]));
}

std::vector<int> allColumns(const TableDef& table) {
    std::vector<int> columns(table.columns.size());
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i] = static_cast<int>(i);
    return columns;
}

// " RETURNING c1, c2, ...": every column of the table in its order, as the write left them.
QString returningAll(const TableDef& table) {
    QStringList names;
    for (int c = 0; c < static_cast<int>(table.columns.size()); ++c)
        names << columnName(table, c);
    return QStringLiteral(" RETURNING ") + names.join(QStringLiteral(", "));
}

void readColumns(sqlite3_stmt* stmt, const std::vector<int>& map, RowStore& rows) {
    rows.beginRow();
    for (const int i : map) {
        switch (sqlite3_column_type(stmt, i)) {
        case SQLITE_NULL:
            rows.addNull();
            break;
        case SQLITE_INTEGER:
            rows.addInteger(sqlite3_column_int64(stmt, i));
            break;
        case SQLITE_FLOAT:
            rows.addFloat(sqlite3_column_double(stmt, i));
            break;
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
            rows.addText(text, static_cast<size_t>(sqlite3_column_bytes(stmt, i)));
            break;
        }
        default: {
            const void* blob = sqlite3_column_blob(stmt, i);
            rows.addBlob(blob, static_cast<size_t>(sqlite3_column_bytes(stmt, i)));
            break;
        }
        }
    }
}

// Runs a write that returns the rows it wrote, to the end: SQLite makes the change and commits
// it (or rolls it back) within this one statement, so a row read here is a row stored.
int runWrite(sqlite::Statement& st, const TableDef& table, RowStore& stored) {
    RowStore rows(static_cast<int>(table.columns.size()));
    const std::vector<int> map = allColumns(table);
    while (st.step())
        readColumns(st.handle(), map, rows);
    for (int r = 0; r < rows.rowCount(); ++r)
        stored.appendRow(rows, r);
    return rows.rowCount();
}

// Where each of the table's columns stands in the statement's result; checks name and kind.
std::vector<int> mapColumns(sqlite3* db, sqlite3_stmt* stmt, const TableDef& table) {
    const int count = sqlite3_column_count(stmt);
    std::vector<int> map;
    map.reserve(table.columns.size());
    for (const ColumnDef& def : table.columns) {
        const QString name = QString::fromUtf16(def.name);
        int found = -1;
        for (int i = 0; i < count && found < 0; ++i)
            if (name.compare(QString::fromUtf8(sqlite3_column_name(stmt, i)),
                             Qt::CaseInsensitive) == 0)
                found = i;
        if (found < 0)
            throw Error(QStringLiteral("Field '%1' not found").arg(name));
        const QString actual = actualKindName(db, stmt, found);
        if (actual != kindName(def.kind))
            throw Error(QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                            .arg(name, kindName(def.kind), actual));
        map.push_back(found);
    }
    return map;
}

} // namespace

void sqlite::installTurkishLike(sqlite3* db) {
    sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                            nullptr, likeFunction, nullptr, nullptr);
}

Connection::Connection(const QString& cs) {
    const QString source = dataSourceOf(cs);
    if (source.isEmpty())
        throw Error(QStringLiteral("Missing Connection or ConnectionString"));
    path_ = databaseFilePath(source);
    const QFileInfo info(path_);
    if (!info.exists() || info.isDir())
        throw Error(QStringLiteral("Could not find file '%1'.").arg(path_));
    if (!info.isReadable() || !info.isWritable())
        throw Error(QStringLiteral("The file '%1' cannot be opened for reading and writing: "
                                   "access is denied.")
                        .arg(path_));

    if (info.size() == 0)
        throw Error(QStringLiteral("The file '%1' is empty: it is not a database of the program. "
                                   "Put its last backup in its place, or make a new database "
                                   "with 'ternavolk-db create'")
                        .arg(path_));

    db_ = std::make_unique<sqlite::Database>(path_, sqlite::Database::Mode::ReadWrite);
    sqlite3* raw = db_->handle();
    sqlite3_busy_timeout(raw, busyTimeoutMs);
    sqlite::installTurkishLike(raw);

    // Opening is lazy: read the header now, so a file that is no database fails here.
    const int check = sqlite3_exec(raw, "PRAGMA schema_version", nullptr, nullptr, nullptr);
    if (check != SQLITE_OK) {
        const int primary = check & 0xFF;
        if (primary == SQLITE_NOTADB) {
            if (isOldAccessFile(path_)) {
                // Points the librarian to the tool that brings the old file across.
                const QString converted = path_.chopped(QFileInfo(path_).fileName().size()) +
                                          QStringLiteral("DATA-yeni.mdb");
                throw Error(QStringLiteral("'%1' dosyası eski Access biçiminde bir veritabanı; "
                                           "program yalnızca kendi biçimini açar. Dönüştürmek "
                                           "için dosyanın bir yedeğini alın, ternavolk-db "
                                           "import \"%1\" \"%2\" komutunu çalıştırın, sonra "
                                           "eski dosyayı kaldırıp yeni dosyanın adını DATA.mdb "
                                           "yapın")
                                .arg(path_, converted));
            }
            throw Error(QStringLiteral("The file '%1' is not a database").arg(path_));
        }
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_CORRUPT ||
            primary == SQLITE_IOERR)
            throw Error(db_->failure(check, false));
        throw Error(
            QStringLiteral("The file '%1' cannot be read: %2").arg(path_, db_->lastError()));
    }
    // Every save reaches the disk before it is reported done; the journal stays a rollback
    // journal beside the file (no write-ahead log, which a network share cannot serve).
    db_->executeScript(QStringLiteral("PRAGMA synchronous = FULL"));
}

Connection::~Connection() = default;

void Connection::execute(const QString& sql) {
    sqlite::Statement st(*db_, sql);
    while (st.step()) {
    }
}

void Connection::query(const QString& sql, const TableDef& table, RowStore& rows) {
    sqlite::Statement st(*db_, sql);
    const std::vector<int> map = mapColumns(db_->handle(), st.handle(), table);
    rows = RowStore(static_cast<int>(table.columns.size()));
    while (st.step())
        readColumns(st.handle(), map, rows);
}

void Connection::insertRow(const TableDef& table, const std::vector<int>& columns,
                           const std::vector<Value>& values, RowStore& stored) {
    QString sql = QStringLiteral("INSERT INTO ") + table.tableName();
    if (columns.empty()) {
        sql += QStringLiteral(" DEFAULT VALUES");
    } else {
        QStringList names, marks;
        for (const int c : columns) {
            names << columnName(table, c);
            marks << QStringLiteral("?");
        }
        sql += QStringLiteral(" (") + names.join(QStringLiteral(", ")) +
               QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
    sqlite::Statement st(*db_, sql + returningAll(table));
    for (size_t i = 0; i < columns.size(); ++i)
        bindValue(st, static_cast<int>(i) + 1, table, columns[i], values[i]);
    if (runWrite(st, table, stored) == 0) // a trigger of another program dropped it
        throw Error(QStringLiteral("The file '%1' did not take the new row, and nothing was "
                                   "saved")
                        .arg(path_));
}

void Connection::updateRow(const TableDef& table, const RowStore& original, int row,
                           const std::vector<int>& columns, const std::vector<Value>& values,
                           RowStore& stored) {
    if (columns.empty()) {
        stored.appendRow(original, row);
        return;
    }
    QStringList sets;
    for (const int c : columns)
        sets << columnName(table, c) + QStringLiteral(" = ?");
    std::vector<int> compared{0}; // the key
    compared.insert(compared.end(), columns.begin(), columns.end());
    sqlite::Statement st(*db_, QStringLiteral("UPDATE ") + table.tableName() +
                                   QStringLiteral(" SET ") + sets.join(QStringLiteral(", ")) +
                                   QStringLiteral(" WHERE ") +
                                   sameValuesCondition(table, compared) + returningAll(table));
    for (size_t i = 0; i < columns.size(); ++i)
        bindValue(st, static_cast<int>(i) + 1, table, columns[i], values[i]);
    bindOriginal(st, static_cast<int>(columns.size()) + 1, compared, original, row);
    if (runWrite(st, table, stored) == 0)
        throw Error(QStringLiteral("Row cannot be located for updating. Some values may have "
                                   "been changed since it was last read."));
}

void Connection::deleteRow(const TableDef& table, const RowStore& original, int row) {
    const std::vector<int> every = allColumns(table);
    sqlite::Statement st(*db_, QStringLiteral("DELETE FROM ") + table.tableName() +
                                   QStringLiteral(" WHERE ") + sameValuesCondition(table, every));
    bindOriginal(st, 1, every, original, row);
    st.step();
    if (sqlite3_changes(db_->handle()) == 0)
        throw Error(QStringLiteral("Row cannot be located for deletion. Some values may have "
                                   "been changed since it was last read."));
}

QString tableProblem(const sqlite::Database& db, const TableDef& table) {
    try {
        sqlite::Statement st(db, QStringLiteral("SELECT * FROM ") + table.tableName() +
                                     QStringLiteral(" LIMIT 0"));
        mapColumns(db.handle(), st.handle(), table);
    } catch (const Error& e) {
        return e.message();
    }
    return QString();
}

} // namespace data
