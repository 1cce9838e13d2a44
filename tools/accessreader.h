#pragma once

#include "data/tables.h"
#include "data/value.h"
#include "tools/importevents.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace tools {

// What an old file's column holds, as far as bringing it across needs to know.
enum class AccessKind { Integer, DateTime, Text, Other };

struct AccessColumn {
    QString name;
    AccessKind kind;
    QString typeName; // the old file's own name of the column's type, for messages
};

// Reads the tables of an Access-format database (Jet 4: Access 2000 and 2002-2003), opened
// read-only through mdbtools' libmdb. Values come as the program's own: null apart from an
// empty text, whole numbers exact, date-times from the stored day count. Every failure throws
// platform::Error with a message that names the file.
//
// libmdb trusts the file: what it hands over is checked here against the file's own structure
// (the table definition's columns, their names and its row count and counter of record codes,
// the row offsets of each data page, each row's null mask and table of variable-length values,
// the texts themselves). By default the first damaged rows end the read with a message naming
// them; when salvaging, a damaged row is left out and a value that cannot be trusted is read as
// empty, and each is listed in the table's notes. Failures are thrown as ImportFailure.
//
// libmdb says on stderr what it cannot read; this class leaves that stream alone (it runs in a
// child process whose stderr the importing parent reads).
class AccessReader {
public:
    AccessReader(const QString& path, bool salvage);
    ~AccessReader();
    AccessReader(const AccessReader&) = delete;
    AccessReader& operator=(const AccessReader&) = delete;

    bool hasTable(const QString& name) const;

    // Reads every row of the program's table `table` as the old file holds it, in the file's
    // order: first the old table's columns, then each row's values in that order. Throws when
    // the table is missing or damaged (unless salvaging). Returns, when salvaging, every row
    // left out and every value not trusted. The record code (the program's key column, if the
    // old table has it) holds each value once and lies within the codes the table has given: a
    // row that repeats one, or one of a few rows far outside, is damage.
    std::vector<ImportWarning>
    readTable(const data::TableDef& table,
              const std::function<void(const std::vector<AccessColumn>&)>& onColumns,
              const std::function<void(const std::vector<data::Value>&)>& onRow);

private:
    struct Handle;
    QString path_;
    bool salvage_;
    std::unique_ptr<Handle> handle_;
};

// A text as Jet 4 stores it: UTF-16LE, or, behind the marker FF FE, runs of one-byte
// (Latin-1) characters and UTF-16LE characters, each 00 byte switching from one to the other.
QString decodeJetText(const unsigned char* bytes, int size);

// A column name as a message shows it: a control character (which a damaged name may hold) as a
// backslash, "u" and its four hex digits.
QString printableName(const QString& name);

// The name of the program's record code column (its key) in `table`, or the empty text.
QString recordCodeColumn(const data::TableDef& table);

} // namespace tools
