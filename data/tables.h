#pragma once

#include <QString>
#include <span>

namespace data {

// The kinds of column the program knows; their names appear in the schema check's message.
enum class Kind { AutoInc, WideString, Integer, DateTime };
QString kindName(Kind kind);

struct ColumnDef {
    const char16_t* name;
    Kind kind;
    int size; // text: the maximum length in UTF-16 code units; 0 for the other kinds
};

struct TableDef {
    const char16_t* name;
    std::span<const ColumnDef> columns;

    QString tableName() const { return QString::fromUtf16(name); }
    // The column of that name, or null (names compare without regard to letter case).
    const ColumnDef* column(QStringView columnName) const;
    // "CREATE TABLE ..." for a new database.
    QString createStatement() const;
};

// The three tables, in the order the database tool creates them.
const TableDef& okuyucuTable();    // readers
const TableDef& kitapkayitTable(); // books
const TableDef& hareketTable();    // loans
std::span<const TableDef* const> allTables();

// The SQLite declared type written for a column of that kind and size.
QString declaredType(const ColumnDef& column);

} // namespace data
