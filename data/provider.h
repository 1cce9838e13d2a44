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
// the file read-write and never creates it, registers the program's Turkish LIKE, waits a
// little for a lock held by another copy of the program, and reports every failure as a
// platform::Error with a readable message.
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

    // Inserts one row with the given columns (indices into the table's columns) and values;
    // returns the key the database gave it.
    qint64 insertRow(const TableDef& table, const std::vector<int>& columns,
                     const std::vector<Value>& values);
    // Updates the row that still holds every value of `original`'s row `row` (read by
    // query()); fails with "Row cannot be located for updating..." when it no longer does.
    void updateRow(const TableDef& table, const RowStore& original, int row,
                   const std::vector<int>& columns, const std::vector<Value>& values);
    // Deletes that row, on the same terms ("... for deletion...").
    void deleteRow(const TableDef& table, const RowStore& original, int row);
    // Reads the row with this key into `rows` (appended); false when there is none.
    bool readRow(const TableDef& table, qint64 key, RowStore& rows);

private:
    QString path_;
    std::unique_ptr<sqlite::Database> db_;
};

// How long a write waits for a lock held by another connection before it fails.
constexpr int busyTimeoutMs = 3000;

} // namespace data
