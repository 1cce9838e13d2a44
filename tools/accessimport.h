#pragma once

#include "tools/accessreader.h"
#include "tools/importevents.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace tools {

// What became of one table.
struct TableImport {
    QString table;
    qint64 read = 0;
    qint64 written = 0;
    std::vector<ImportWarning> warnings;
};

// Called every few thousand rows while a table comes across.
using ImportProgress = std::function<void(const QString& table, qint64 rows)>;
constexpr qint64 importProgressStep = 5000;

// Where the old file's tables come from, in the order of data::allTables().
class AccessSource {
public:
    virtual ~AccessSource() = default;
    // Throws (ImportFailure) when the old file cannot be read or lacks one of the tables.
    virtual void open() = 0;
    // Reads the next table, which is `name`: first its columns, then each row. Returns what is
    // to be listed as warnings: rows left out, values not trusted, remarks of the reader.
    virtual std::vector<ImportWarning>
    readTable(const QString& name,
              const std::function<void(const std::vector<AccessColumn>&)>& onColumns,
              const std::function<void(const std::vector<data::Value>&)>& onRow) = 0;
    // After the last table: throws when the reading did not end well after all.
    virtual void close() = 0;
};

// Brings the three tables of the Access-format database read by `old` into a new database
// `newPath`, made as createDatabase makes it. Columns are matched by name; record codes (IDNO)
// are kept, so new rows get keys after the largest one. Everything is written into a temporary
// file beside `newPath` in one transaction and renamed at the end, so a failure (thrown as
// ImportFailure: the reading's own, or write-failed with the cause) leaves no new file; the old
// file is only read. Refuses an existing `newPath` (exists).
std::vector<TableImport> importAccessDatabase(AccessSource& old, const QString& newPath,
                                              const ImportProgress& progress = {});

} // namespace tools
