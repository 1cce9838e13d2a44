#pragma once

#include "data/rowstore.h"
#include "data/tables.h"

#include <QString>
#include <memory>
#include <vector>

namespace data {

namespace sqlite {
class Database;
}

// The provider: one connection to the database file that a connection string names. It opens
// the file read-write and never creates it, registers the program's Turkish LIKE, keeps the
// rollback journal with full syncs (switching back a file that another program put into WAL
// mode), waits a little for a lock held by another copy of the program, refuses a table that
// breaks the rules its writes rely on, and reports every failure as a platform::Error with a
// readable message.
class Connection {
public:
    // Opens the file of the string's Data Source.
    explicit Connection(const QString& connectionString);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const QString& filePath() const { return path_; }

    // Runs a statement once, stepping through any rows it returns and discarding them.
    void execute(const QString& sql);

    // Runs a select and reads every row into `rows`, one cell per column of `table` in the
    // table's order. The result must carry each of those columns by name and of its kind;
    // otherwise "Field '%s' not found" or "Type mismatch for field '%s', expecting: %s
    // actual: %s".
    void query(const QString& sql, const TableDef& table, RowStore& rows);

    // Inserts one row with the given columns (indices into the table's columns) and values,
    // and appends the row as stored, key included, to `stored`. One statement: either the row
    // is in the file and this returns, or nothing was stored and this throws.
    void insertRow(const TableDef& table, const std::vector<int>& columns,
                   const std::vector<Value>& values, RowStore& stored);
    // Updates `original`'s row `row` (read by query()) with the given columns and values, and
    // appends the row as stored to `stored`; one statement, as insertRow(). The row is found by
    // its key and the values as read of the columns written, so a change of another column by
    // someone else stays; when one of them changed, "Row cannot be located for updating...".
    void updateRow(const TableDef& table, const RowStore& original, int row,
                   const std::vector<int>& columns, const std::vector<Value>& values,
                   RowStore& stored);
    // Deletes that row when every column still holds its value as read ("... for deletion...").
    void deleteRow(const TableDef& table, const RowStore& original, int row);

private:
    QString path_;
    std::unique_ptr<sqlite::Database> db_;
    std::vector<const TableDef*> checked_; // tables whose rules were checked on this connection
};

// The schema check of one table on an open file: empty when the table holds each of its columns
// by name and of its kind; otherwise "no such table: ...", "Field '%s' not found" or "Type
// mismatch for field '%s', expecting: %s actual: %s".
QString tableProblem(const sqlite::Database& db, const TableDef& table);

// The same with its cause, for a caller that says it in its own words.
struct TableFault {
    enum class Kind { None, MissingTable, MissingColumn, WrongColumnKind, Other };
    Kind kind = Kind::None;
    QString column;       // MissingColumn, WrongColumnKind
    QString declaredType; // WrongColumnKind: the type the file declares
    QString message;      // as tableProblem gives it
};
TableFault tableFault(const sqlite::Database& db, const TableDef& table);

// What breaks the rules the program's writes rely on in the table (a message naming the table
// and the file), or the empty text: its key
// IDNO must be INTEGER PRIMARY KEY AUTOINCREMENT (a deleted row's key is never given out again,
// so a change meant for that row cannot land on a new one), and no trigger may change or drop
// a row behind the program's back (a post gives back the row as stored); a trigger that only
// refuses a change with a message is the file's own rule and stays.
QString tableRulesProblem(const sqlite::Database& db, const TableDef& table);

// The same with its cause.
struct TableRulesFault {
    enum class Kind { None, KeyWithoutAutoIncrement, WritingTrigger };
    Kind kind = Kind::None;
    QString trigger; // WritingTrigger: its name
    QString message; // as tableRulesProblem gives it
};
TableRulesFault tableRulesFault(const sqlite::Database& db, const TableDef& table);

} // namespace data
