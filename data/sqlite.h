#pragma once

#include "data/databasefile.h"
#include "data/rowstore.h"
#include "data/tables.h"
#include "data/value.h"
#include "platform/progress.h"

#include <QByteArrayView>
#include <QDeadlineTimer>
#include <QString>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <vector>

// The one way of the program and its tools to SQLite: every call of SQLite's C API lies in
// sqlite.cpp.
namespace data::sqlite {

// How long a write of the program waits for a lock held by another connection before it fails.
constexpr int busyTimeoutMs = 3000;
// How long a command of the database tool waits in all for a file that another copy of the
// program holds locked.
constexpr int toolPatienceMs = 30000;

// Registers the program's Turkish LIKE (data::turkishLike) on a connection.
void installTurkishLike(sqlite3* db);

// What the file declares of one column of a table: its declared type, whether it is the key,
// and whether that key counts up without ever giving a number out again (AUTOINCREMENT).
struct ColumnDeclaration {
    bool found = false; // false: no such table or column
    QString declaredType;
    bool primaryKey = false;
    bool autoIncrement = false;
};

// Owns one connection to one file; closed with sqlite3_close_v2. Neither copied nor moved.
// Every failure of SQLite on it is turned into a message that names the file, says what
// happened and what to do (failure()).
class Database {
public:
    enum class Mode {
        ReadWrite, // an existing file, never created
        ReadOnly,  // an existing file, never written
        Create,    // a new file may be made
    };
    // Opens the file with extended result codes on; throws platform::Error naming the file.
    Database(const QString& path, Mode mode);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }
    // SQLite's own text for the last failure.
    QString lastError() const;
    // SQLite's own text for the failed result code `rc`: the connection's when it failed so,
    // else SQLite's general text for the code.
    QString reason(int rc) const;
    // The message for the failed result code `rc` of a statement that writes (`writing`) or
    // reads. Failures of the file (locked, damaged, unwritable folder, full disk, input or
    // output, a journal left by an unfinished save) name the file and what to do; every other
    // failure (a refused change, a wrong statement) keeps SQLite's own text.
    QString failure(int rc, bool writing, bool deleting = false) const;
    // The same as an error to throw, with its cause and SQLite's own text.
    FileError error(int rc, bool writing, bool deleting = false) const;
    // The cause of the failed result code `rc`.
    static FileFault faultOf(int rc);

    // Reads the file's header (opening is lazy): SQLITE_OK when the file is a database that
    // can be read now, else SQLite's extended result code, for failure().
    int readHeader();
    // How long a statement waits for a lock held by another connection before it fails.
    void setBusyTimeout(int ms);
    // Runs one statement to its end, discarding any rows it returns.
    void execute(const QString& sql);
    // Runs one or more statements separated by ";", discarding any rows.
    void executeScript(const QString& sql);
    // How many rows the last insert, update or delete changed.
    int changes() const;
    // The new key of the last insert on this connection.
    qint64 lastInsertKey() const;

    // Keeps the rollback journal beside the file: a file that another program switched to the
    // write-ahead log (WAL) is switched back, which folds the log into the file. Only for a
    // connection that may write. Throws platform::Error when the file cannot be switched.
    void keepRollbackJournal();
    // The file's journal mode as SQLite names it ("delete", "wal", ...).
    QString journalMode();

    // What the file declares of the column `column` of the table `table`.
    ColumnDeclaration declaration(const QString& table, const QString& column) const;

    // Copies every page of this file into `to` (SQLite's online backup) within one read
    // transaction of this file, so that the copy is one committed moment of it however many
    // steps it takes; waits for locks on either file until `deadline`. `to` changes in one
    // transaction of its own: a copy that fails or is stopped (`progress` may throw
    // platform::Cancelled) leaves it as it was. Reports the pages copied to `progress`. Throws
    // FileError naming the file that failed.
    void copyInto(Database& to, QDeadlineTimer deadline,
                  platform::Progress& progress = platform::noProgress());

private:
    QString path_;
    sqlite3* db_ = nullptr;
};

// A connection that writes beside the running program as the program itself writes: an
// existing file it may read and write, the busy timeout (by default the program's), the
// program's Turkish LIKE, the rollback journal kept (a file switched to WAL is switched back)
// and every commit on the disk before it is reported done. Throws FileError.
std::unique_ptr<Database> openForWriting(const QString& path, int busyMs = busyTimeoutMs);

// One short write transaction: BEGIN IMMEDIATE takes the write lock at once (waiting up to the
// connection's busy timeout for another copy's write), so that what is read inside it stays as
// read until COMMIT. Rolled back when it ends without commit(), on any exception.
class WriteTransaction {
public:
    explicit WriteTransaction(Database& db);
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;
    void commit();

private:
    Database& db_;
    bool done_ = false;
};

// One prepared statement for as long as it is used. Throws platform::Error on failure.
class Statement {
public:
    Statement(const Database& db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* handle() const { return stmt_; }
    // One step: true while a row stands ready, false when done.
    bool step();
    // Ready to run again with new bindings.
    void reset();
    void bindNull(int index);
    void bindInt64(int index, sqlite3_int64 v);
    void bindDouble(int index, double v);
    void bindText(int index, const QString& text);
    void bindText(int index, const char* utf8, int size);
    void bindBlob(int index, const void* data, int size);
    // Binds a stored cell again as it was read: null, integer, real, text or blob.
    void bindCell(int index, const RowStore::Cell& cell);

    // The columns of the result.
    int columnCount() const;
    QString columnName(int column) const;
    // What the file declares of the table column behind the result column `column` (found is
    // false for an expression); the statement's own declared type when it names no column.
    ColumnDeclaration declaration(int column) const;
    // The current row's cell: null or not, as text (null as the empty text), as UTF-8 bytes
    // valid until the next step.
    bool isNull(int column) const;
    // As a whole number (null as 0).
    qint64 int64(int column) const;
    QString text(int column) const;
    QByteArrayView utf8(int column) const;
    // Appends the current row to `rows`: the result columns `map` in that order, each cell as
    // SQLite keeps it (null, integer, real, text, blob).
    void readRow(const std::vector<int>& map, RowStore& rows) const;

private:
    void check(int rc);
    const Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// Binds `value` as the parameter `index` for the column `column` of `table`: null, an integer,
// a text, a date-time as its ISO text. A value of another kind than the column's and a
// date-time the file cannot give back ("... the file keeps dates from the year 100 to the year
// 9999 only") are refused with platform::Error.
void bindValue(Statement& st, int index, const TableDef& table, int column, const Value& value);

// Inserts rows into one table through one prepared statement: the given columns (indices into
// the table's columns) in that order, each value bound by bindValue, with `tail` after the
// statement (" RETURNING ..."). Every date-time is checked to be storable; what else is checked
// depends on where the rows come from (Rules).
class RowInserter {
public:
    enum class Rules {
        // Rows the tool makes: each value of its column's kind ("table.COLUMN: a value of
        // another kind than Integer"), no text longer than its column ("table.COLUMN: '...' is
        // longer than n characters").
        Strict,
        // Rows from another program's file: each value of its column's kind; a longer text is
        // kept whole and counted (tooLong()).
        KeepLongTexts,
        // A record set's post: each value as the record set holds it (it may give back as
        // text what another program stored in a column of another kind); its fields keep
        // texts within their columns.
        AsGiven,
    };
    RowInserter(const Database& db, const TableDef& table, std::vector<int> columns, Rules rules,
                const QString& tail = QString());
    // Every column of the table but the key, in the table's order.
    static std::vector<int> allButKey(const TableDef& table);
    // Every column of the table, key included.
    static std::vector<int> all(const TableDef& table);

    // Binds one value per column; then step the statement (or insert() does both).
    void bind(const std::vector<Value>& values);
    // Binds and runs the insert, ready for the next row.
    void insert(const std::vector<Value>& values);
    Statement& statement() { return statement_; }

    // Rules::KeepLongTexts: for each column (index into the table's columns) how many texts
    // were longer than it.
    const std::map<int, qint64>& tooLong() const { return tooLong_; }

private:
    const TableDef& table_;
    std::vector<int> columns_;
    Rules rules_;
    Statement statement_;
    std::map<int, qint64> tooLong_;
};

} // namespace data::sqlite
