#pragma once

#include "platform/datetime.h"
#include "platform/errors.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <utility>
#include <vector>

// A spreadsheet as the lists import sees it, whatever format it came in (.xls, .xlsx, .csv):
// its sheets, and in each the cells that hold something. The readers of the three formats make
// it (tools/sheetfile.h, behind the wall), the import's recognition reads it
// (tools/pupillist.h, tools/booklist.h).
namespace tools::sheets {

enum class Format : quint8 { Xls, Xlsx, Csv };

struct Cell {
    enum class Kind : quint8 { Number, Text, Date };
    Kind kind = Kind::Text;
    double number = 0; // Number: as the sheet holds it; Date: the program's day count
    QString text;      // Text

    static Cell ofNumber(double v) { return {Kind::Number, v, {}}; }
    static Cell ofText(QString v) { return {Kind::Text, 0, std::move(v)}; }
    static Cell ofDate(double days) { return {Kind::Date, days, {}}; }
    bool operator==(const Cell&) const = default;
};

// One row of a sheet: its number (0 for the sheet's first row) and its cells that hold
// something, by column (0 for column A), in the order of their columns.
struct Row {
    int index = 0;
    std::vector<std::pair<int, Cell>> cells;

    // The cell of column `column`, or null.
    const Cell* at(int column) const;
};

struct Sheet {
    QString name;
    std::vector<Row> rows; // only rows with a cell, in their order
};

struct Workbook {
    QString path;
    Format format = Format::Csv;
    bool date1904 = false; // the workbook counts its dates from 1904 (Excel for the Mac)
    std::vector<Sheet> sheets;
};

// The most a list may hold: more filled cells or more text than this is refused as too large
// (a school's lists hold some thousands of cells; these stop a file made to exhaust memory).
inline constexpr qint64 mostCells = 2'000'000;
inline constexpr qint64 mostTextBytes = 256ll << 20;
// The most rows and columns a sheet has (Excel's own limits).
inline constexpr int mostRows = 1'048'576, mostColumns = 16'384;

// Why a list could not be taken.
enum class Fault : quint8 {
    Missing,         // no such file
    AccessDenied,    // it may not be read
    Empty,           // a file of no bytes
    NotASpreadsheet, // neither .xls, .xlsx nor a text list
    Encrypted,       // protected with a password
    Damaged,         // the reader found it damaged
    TooLarge,        // beyond the limits above
    NoHeader,        // no row of column names the import knows
    NoRows,          // a header, but no pupil with a number under it
    ReaderFailed,    // the reader behind the wall broke off, stalled or could not start
    Interrupted,     // the person stopped it (Ctrl+C)
};

// A list that could not be taken: its cause, the file, an English message for the tool, and a
// detail (the library's own words, or what the import looked for).
class SheetError : public platform::Error {
public:
    SheetError(Fault fault, QString path, QString message, QString detail = QString())
        : Error(std::move(message)), fault_(fault), path_(std::move(path)),
          detail_(std::move(detail)) {}
    Fault fault() const { return fault_; }
    const QString& path() const { return path_; }
    const QString& detail() const { return detail_; }

private:
    Fault fault_;
    QString path_;
    QString detail_;
};

// The English message for `fault` with the file `path` (and `detail` where there is one):
// "'x.xls' is protected with a password: ...; nothing was written".
QString faultMessage(Fault fault, const QString& path, const QString& detail = QString());
[[noreturn]] void refuse(Fault fault, const QString& path, const QString& detail = QString());

// The program's day count of an Excel date serial: in the 1900 system day 1 is 1 January 1900
// (Excel counts a 29 February 1900 that never was, so serials before 61 are a day off from the
// program's count), in the 1904 system day 0 is 1 January 1904. Empty for a serial that is no
// date (negative, the non-existent 29 February 1900, beyond 31 December 9999, not finite).
std::optional<double> serialToDays(double serial, bool date1904);

// A header's text in the form headers are compared in: letters folded as the program's search
// folds them (case, the dotted and dotless i, and ş/s, ğ/g, ç/c, ö/o, ü/u), everything but
// letters and digits left out ("Öğrenci No." and "ogrenci no" read the same).
QString headerKey(const QString& text);

// A cell as a text: a text as it is, a whole number in digits ("9001" for 9001.0), another
// number in its shortest form with a point, a date as dd.MM.yyyy.
QString cellText(const Cell& cell);

// The records the reader behind the wall hands over (tools/sheetwall.h), one payload each,
// beginning with its tag.
enum Record : quint8 {
    WorkbookTag = 'W', // quint8 format, bool date1904
    SheetTag = 'S',    // QString name
    RowTag = 'R',      // qint32 row, quint32 count, then per cell: qint32 column, quint8 kind,
                       // double (Number, Date) or QString (Text)
    FailedTag = 'F',   // quint8 fault, QString detail
    DoneTag = 'D',     // the whole workbook was handed over
};
QByteArray workbookRecord(Format format, bool date1904);
QByteArray sheetRecord(const QString& name);
QByteArray rowRecord(const Row& row);
QByteArray failureRecord(Fault fault, const QString& detail);
QByteArray doneRecord();

} // namespace tools::sheets
