#pragma once

#include "tools/sheet.h"

#include <QByteArray>
#include <QString>

// The readers of the three formats a school's lists come in, run in this process: only the
// child behind the wall (tools/sheetwall.h), the benchmarks' bare parse and the fuzzing test's
// own checks call them. Each hands the workbook over sheet by sheet and row by row, and throws
// SheetError when the file cannot be taken (damaged, encrypted, not a spreadsheet, too large).
namespace tools::sheets {

// Where a reader hands over what it read, in this order: the workbook once, then for each
// sheet its name and its rows.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void workbook(Format format, bool date1904) = 0;
    virtual void sheet(const QString& name) = 0;
    virtual void row(const Row& row) = 0;
};

// Reads `path`, its format known by its first bytes, not by its name (e-Okul saves ".XLS" in
// capitals; a school renames files): a compound file is read as Excel 97-2003 by FreeXL (or
// refused as encrypted when it holds an encrypted package), a zip archive as .xlsx, a text as a
// list with separators.
void readFile(const QString& path, Sink& sink);

// The same, kept whole.
Workbook readWorkbook(const QString& path);

// The three readers.
void readXls(const QString& path, Sink& sink);
void readXlsx(const QString& path, Sink& sink);
// A text list: UTF-8 (with or without a byte-order mark), UTF-16 with its byte-order mark, or
// else Windows-1254; fields separated by ";", a tab or "," (whichever the first line uses
// most), quoted as Excel quotes them. One sheet, named `name`.
void readCsv(const QString& path, const QByteArray& bytes, const QString& name, Sink& sink);

// Counts what a reader hands over and refuses a file beyond the limits of a list (mostCells,
// mostTextBytes, mostRows, mostColumns).
class Budget {
public:
    explicit Budget(QString path) : path_(std::move(path)) {}
    void row(int index);
    void cell(int column, const Cell& cell);

private:
    QString path_;
    qint64 cells_ = 0;
    qint64 textBytes_ = 0;
};

} // namespace tools::sheets
