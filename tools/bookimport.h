#pragma once

#include "data/value.h"
#include "platform/progress.h"
#include "tools/listimport.h"

#include <QStringList>
#include <map>
#include <set>

namespace data::sqlite {
class Database;
}

// A school's books from its own spreadsheet into the books' register (kitapkayit): a header row
// somewhere in the first rows of each sheet, its columns named in the school's own words and
// matched to the register's columns by their text (the librarian may change the matching).
namespace tools::lists {

// Where a sheet's header row stands.
struct BookSheet {
    size_t book = 0;      // index into the workbooks
    size_t sheet = 0;     // index into that workbook's sheets
    size_t headerRow = 0; // index into the sheet's rows
    HeaderRow header;
};

struct BookLayout {
    std::vector<BookSheet> sheets; // every sheet with a header row, in order
    QStringList headers;           // the header texts found, each key once, in order
    QStringList keys;              // their keys (sheets::headerKey)
};

// The header rows of the workbooks: in each sheet, among its first 30 rows, the row naming the
// most of the register's columns, with a book title among them and at least one more. A
// workbook with no such row in any sheet is refused (SheetError NoHeader).
BookLayout findBookHeaders(const std::vector<sheets::Workbook>& books);

// For each register column the lists may fill (by index into kitapkayit's columns), the key of
// the header it is taken from; a column without an entry (or with an empty key) is left out.
using BookColumns = std::map<int, QString>;
// The matching made from the headers' words ("Demirbaş No", "Kayıt No" or "Seri No" for
// SERINO, "Kitabın Adı", "Eserin Adı" or "Adı" for KITABINADI, ...): each column the first
// header found that names it.
BookColumns automaticColumns(const BookLayout& layout);
// The register's columns a list may fill, in the register's order (all but IDNO).
std::vector<int> bookColumns();

struct Book {
    Source at;
    std::vector<data::Value> values; // one per column of kitapkayit but IDNO, in its order
    bool operator==(const Book&) const = default;
};

// The serial numbers and barcodes the register already holds, as the import compares them.
struct BookRegister {
    std::set<QString> serials, barcodes;
};
BookRegister readBookRegister(const data::sqlite::Database& db);

struct BookPlan {
    std::vector<Book> added;
    std::vector<Listed> skipped;  // serial number (or else barcode) already there
    std::vector<Listed> problems; // values the register cannot hold, rows without a title
    int rounded = 0;              // prices of taken books rounded down to whole lira
};

// The plan: every row under a header row becomes a book, unless it holds nothing the matching
// takes. Texts as written (blanks made one); a price (a number, "25,90", "25.90 TL",
// "1.250,75") keeps its whole lira, rounded down; a date (a date cell, an Excel serial, a
// "dd.MM.yyyy" text) becomes a date-time (a date alone at 00:00:00.000). A row whose serial
// number (SERINO), or else barcode (BARKODU), is already in the register or came earlier is
// skipped; a row with a value its column cannot hold is not taken and listed. Pure.
BookPlan planBooks(const std::vector<sheets::Workbook>& books, const BookLayout& layout,
                   const BookColumns& columns, const BookRegister& reg);

// Writes the plan's books into `path` in one short transaction; inside it the plan is made
// again against the register, and when it differs from `previewed` (another computer saved a
// book with one of these serial numbers meanwhile) nothing is written (platform::Error). A
// cancel and any failure write nothing. Returns how many were written.
int writeBooks(const QString& path, const std::vector<sheets::Workbook>& books,
               const BookLayout& layout, const BookColumns& columns, const BookPlan& previewed,
               int busyMs, platform::Progress& progress);

} // namespace tools::lists
