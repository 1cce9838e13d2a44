#include "data/connection.h"

#include "data/connectionstring.h"
#include "data/databasefile.h"
#include "data/sqlite.h"
#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace data {

using platform::Error;

namespace {

QString actualKindName(const sqlite::Statement& st, int column) {
    const sqlite::ColumnDeclaration d = st.declaration(column);
    const QString type = d.declaredType.toUpper();
    if (type.isEmpty())
        return QStringLiteral("Variant");
    if (type.contains(QLatin1String("INT")))
        return d.primaryKey && type == QLatin1String("INTEGER") ? kindName(Kind::AutoInc)
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

// "c1 IS ? COLLATE BINARY AND ...": the row as it was read in the given columns, nulls included,
// byte for byte (a column that another program declared NOCASE would otherwise miss a change of
// letter case made by another copy).
QString sameValuesCondition(const TableDef& table, const std::vector<int>& columns) {
    QStringList parts;
    for (const int c : columns)
        parts << columnName(table, c) + QStringLiteral(" IS ? COLLATE BINARY");
    return parts.join(QStringLiteral(" AND "));
}

void bindOriginal(sqlite::Statement& st, int first, const std::vector<int>& columns,
                  const RowStore& original, int row) {
    for (size_t i = 0; i < columns.size(); ++i)
        st.bindCell(first + static_cast<int>(i), original.cell(row, columns[i]));
}

// " RETURNING c1, c2, ...": every column of the table in its order, as the write left them.
QString returningAll(const TableDef& table) {
    QStringList names;
    for (int c = 0; c < static_cast<int>(table.columns.size()); ++c)
        names << columnName(table, c);
    return QStringLiteral(" RETURNING ") + names.join(QStringLiteral(", "));
}

// Runs a write that returns the rows it wrote, to the end: SQLite makes the change and commits
// it (or rolls it back) within this one statement, so a row read here is a row stored.
int runWrite(sqlite::Statement& st, const TableDef& table, RowStore& stored) {
    RowStore rows(static_cast<int>(table.columns.size()));
    const std::vector<int> map = sqlite::RowInserter::all(table);
    while (st.step())
        st.readRow(map, rows);
    for (int r = 0; r < rows.rowCount(); ++r)
        stored.appendRow(rows, r);
    return rows.rowCount();
}

// A column of a table that is missing or of another kind.
class ColumnError : public Error {
public:
    ColumnError(TableFault::Kind kind, QString column, QString declaredType, QString message)
        : Error(std::move(message)), kind(kind), column(std::move(column)),
          declaredType(std::move(declaredType)) {}
    TableFault::Kind kind;
    QString column, declaredType;
};

// Where each of the table's columns stands in the statement's result; checks name and kind.
std::vector<int> mapColumns(const sqlite::Statement& st, const TableDef& table) {
    const int count = st.columnCount();
    std::vector<int> map;
    map.reserve(table.columns.size());
    for (const ColumnDef& def : table.columns) {
        const QString name = QString::fromUtf16(def.name);
        int found = -1;
        for (int i = 0; i < count && found < 0; ++i)
            if (name.compare(st.columnName(i), Qt::CaseInsensitive) == 0)
                found = i;
        if (found < 0)
            throw ColumnError(TableFault::Kind::MissingColumn, name, QString(),
                              QStringLiteral("Field '%1' not found").arg(name));
        const QString actual = actualKindName(st, found);
        if (actual != kindName(def.kind))
            throw ColumnError(
                TableFault::Kind::WrongColumnKind, name, st.declaration(found).declaredType,
                QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                    .arg(name, kindName(def.kind), actual));
        map.push_back(found);
    }
    return map;
}

// Whether a trigger's statement may write or drop rows: anything in its body beyond refusing
// the change with a message (SELECT RAISE(ABORT, '...'), which the program shows as the post's
// failure). Quoted texts and names are left out of the search.
bool triggerChangesRows(QString sql) {
    static const QRegularExpression quoted(
        QStringLiteral(R"('(?:[^']|'')*'|"(?:[^"]|"")*"|\[[^\]]*\]|`[^`]*`)"));
    static const QRegularExpression begin(QStringLiteral(R"(\bBEGIN\b)"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression writes(
        QStringLiteral(R"(\b(INSERT|UPDATE|DELETE|REPLACE|IGNORE)\b)"),
        QRegularExpression::CaseInsensitiveOption);
    sql.replace(quoted, QStringLiteral("''"));
    const QRegularExpressionMatch body = begin.match(sql);
    return !body.hasMatch() || writes.match(sql, body.capturedEnd()).hasMatch();
}

} // namespace

Connection::Connection(const QString& cs) {
    const QString source = dataSourceOf(cs);
    if (source.isEmpty())
        throw Error(QStringLiteral("Missing Connection or ConnectionString"));
    path_ = databaseFilePath(source);
    requireDatabaseFile(path_, FileUse::ReadWrite,
                        QStringLiteral(". Put its last backup in its place, or make a new "
                                       "database with 'ternavolk-db create'"));

    db_ = std::make_unique<sqlite::Database>(path_, sqlite::Database::Mode::ReadWrite);
    db_->setBusyTimeout(sqlite::busyTimeoutMs);
    sqlite::installTurkishLike(db_->handle());

    // Opening is lazy: read the header now, so a file that is no database fails here. A journal
    // left by an unfinished save is played back here.
    const int check = db_->readHeader();
    if (check != SQLITE_OK) {
        const int primary = check & 0xFF;
        if (primary == SQLITE_NOTADB) {
            if (isAccessFile(path_)) {
                // Points the librarian to the tool that brings the old file across.
                const QString converted = path_.chopped(QFileInfo(path_).fileName().size()) +
                                          QStringLiteral("DATA-yeni.mdb");
                throw FileError(FileFault::AccessFormat, path_,
                                QStringLiteral("'%1' dosyası eski Access biçiminde bir veritabanı; "
                                               "program yalnızca kendi biçimini açar. Dönüştürmek "
                                               "için dosyanın bir yedeğini alın, ternavolk-db "
                                               "import \"%1\" \"%2\" komutunu çalıştırın, sonra "
                                               "eski dosyayı kaldırıp yeni dosyanın adını DATA.mdb "
                                               "yapın")
                                    .arg(path_, converted));
            }
            throw FileError(FileFault::NotADatabase, path_,
                            QStringLiteral("The file '%1' is not a database").arg(path_),
                            db_->lastError());
        }
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_CORRUPT ||
            primary == SQLITE_IOERR)
            throw db_->error(check, false);
        throw FileError(
            sqlite::Database::faultOf(check), path_,
            QStringLiteral("The file '%1' cannot be read: %2").arg(path_, db_->lastError()),
            db_->lastError());
    }
    // The journal stays a rollback journal beside the file (no write-ahead log, which a network
    // share cannot serve), and every save reaches the disk before it is reported done.
    db_->keepRollbackJournal();
    db_->execute(QStringLiteral("PRAGMA synchronous = FULL"));
}

Connection::~Connection() = default;

void Connection::execute(const QString& sql) {
    db_->execute(sql);
}

void Connection::query(const QString& sql, const TableDef& table, RowStore& rows) {
    sqlite::Statement st(*db_, sql);
    const std::vector<int> map = mapColumns(st, table);
    if (std::find(checked_.begin(), checked_.end(), &table) == checked_.end()) {
        const QString problem = tableRulesProblem(*db_, table);
        if (!problem.isEmpty())
            throw Error(problem);
        checked_.push_back(&table);
    }
    rows = RowStore(static_cast<int>(table.columns.size()));
    while (st.step())
        st.readRow(map, rows);
}

void Connection::insertRow(const TableDef& table, const std::vector<int>& columns,
                           const std::vector<Value>& values, RowStore& stored) {
    sqlite::RowInserter insert(*db_, table, columns, sqlite::RowInserter::Rules::AsGiven,
                               returningAll(table));
    insert.bind(values);
    if (runWrite(insert.statement(), table, stored) == 0) // a trigger of another program dropped it
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
        sqlite::bindValue(st, static_cast<int>(i) + 1, table, columns[i], values[i]);
    bindOriginal(st, static_cast<int>(columns.size()) + 1, compared, original, row);
    if (runWrite(st, table, stored) == 0)
        throw Error(QStringLiteral("Row cannot be located for updating. Some values may have "
                                   "been changed since it was last read."));
}

void Connection::deleteRow(const TableDef& table, const RowStore& original, int row) {
    const std::vector<int> every = sqlite::RowInserter::all(table);
    sqlite::Statement st(*db_, QStringLiteral("DELETE FROM ") + table.tableName() +
                                   QStringLiteral(" WHERE ") + sameValuesCondition(table, every));
    bindOriginal(st, 1, every, original, row);
    st.step();
    if (db_->changes() == 0)
        throw Error(QStringLiteral("Row cannot be located for deletion. Some values may have "
                                   "been changed since it was last read."));
}

QString tableProblem(const sqlite::Database& db, const TableDef& table) {
    return tableFault(db, table).message;
}

TableFault tableFault(const sqlite::Database& db, const TableDef& table) {
    TableFault fault;
    try {
        sqlite::Statement st(db, QStringLiteral("SELECT * FROM ") + table.tableName() +
                                     QStringLiteral(" LIMIT 0"));
        mapColumns(st, table);
    } catch (const ColumnError& e) {
        fault.kind = e.kind;
        fault.column = e.column;
        fault.declaredType = e.declaredType;
        fault.message = e.message();
    } catch (const Error& e) {
        fault.message = e.message();
        fault.kind = TableFault::Kind::Other;
        try {
            sqlite::Statement named(db, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE "
                                                       "type IN ('table', 'view') AND name = ? "
                                                       "COLLATE NOCASE"));
            named.bindText(1, table.tableName());
            if (named.step() && named.text(0) == u"0")
                fault.kind = TableFault::Kind::MissingTable;
        } catch (const Error&) {
        }
    }
    return fault;
}

} // namespace data

namespace data {

QString tableRulesProblem(const sqlite::Database& db, const TableDef& table) {
    return tableRulesFault(db, table).message;
}

TableRulesFault tableRulesFault(const sqlite::Database& db, const TableDef& table) {
    TableRulesFault fault;
    const QString broken =
        QStringLiteral("The table '%1' of the file '%2' does not keep the rules the program's "
                       "saves rely on: ")
            .arg(table.tableName(), db.path());
    const sqlite::ColumnDeclaration key =
        db.declaration(table.tableName(), QString::fromUtf16(table.columns[0].name));
    if (key.found && key.primaryKey && !key.autoIncrement) {
        fault.kind = TableRulesFault::Kind::KeyWithoutAutoIncrement;
        fault.message =
            broken + QStringLiteral("its key IDNO is not INTEGER PRIMARY KEY AUTOINCREMENT, so "
                                    "the key of a deleted row could be given to a new row, and a "
                                    "change meant for the deleted row would land on the new "
                                    "one. Another program made that table; put the file's last "
                                    "backup in its place");
        return fault;
    }
    sqlite::Statement triggers(db, QStringLiteral("SELECT name, sql FROM sqlite_master WHERE "
                                                  "type = 'trigger' AND tbl_name = ? COLLATE "
                                                  "NOCASE ORDER BY name"));
    triggers.bindText(1, table.tableName());
    while (triggers.step()) {
        if (!triggerChangesRows(triggers.text(1)))
            continue;
        fault.kind = TableRulesFault::Kind::WritingTrigger;
        fault.trigger = triggers.text(0);
        fault.message = broken + QStringLiteral("it carries the trigger '%1', which changes rows "
                                                "behind the program's back, so a saved row could "
                                                "differ from the one the program shows. Another "
                                                "program added it; remove it (DROP TRIGGER "
                                                "\"%1\") or put the file's last backup in its "
                                                "place")
                                     .arg(fault.trigger);
        return fault;
    }
    return fault;
}

} // namespace data
