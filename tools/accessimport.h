#pragma once

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
    QStringList warnings;
};

// Called every few thousand rows while a table comes across.
using ImportProgress = std::function<void(const QString& table, qint64 rows)>;
constexpr qint64 importProgressStep = 5000;

// Brings the three tables of the Access-format database `oldPath` into a new database
// `newPath`, made as createDatabase makes it. Columns are matched by name; record codes (IDNO)
// are kept, so new rows get keys after the largest one. Everything is written into a temporary
// file beside `newPath` in one transaction and renamed at the end, so a failure (thrown as
// platform::Error) leaves no new file; `oldPath` is only read. Refuses an existing `newPath`.
std::vector<TableImport> importAccessDatabase(const QString& oldPath, const QString& newPath,
                                              const ImportProgress& progress = {});

} // namespace tools
