#pragma once

#include "tools/sheet.h"

#include <QString>
#include <map>
#include <memory>
#include <vector>

namespace data::sqlite {
class Database;
}

// What the lists import's recognition and plans share: where a row of a list stands, the rows
// it lists (with why), and the rules of numbers and texts both the readers' and the books'
// import follow. The recognition never reads a file: it takes the cells the readers behind the
// wall handed over.
namespace tools::lists {

// Where a row stands: the file's name (without its folder), the sheet where the workbook has
// several, the row as Excel numbers it (1 for the first).
struct Source {
    QString file;
    QString sheet; // empty when the workbook has one sheet
    int row = 0;
    bool operator==(const Source&) const = default;
};
Source sourceOf(const sheets::Workbook& book, const sheets::Sheet& sheet, const sheets::Row& row);

// Why a row is listed.
enum class Issue {
    // A pupil's row.
    NoNumber,      // a name without a pupil number; not taken
    BadNumber,     // a pupil number that is no whole number (`value`); not taken
    NoName,        // a pupil number without a name; not taken
    ListedTwice,   // the same pupil again (`other`: where first); taken once
    NumberTwice,   // the same number with another name or class (`other`); neither taken
    RegisterTwice, // the register holds this school's number for several readers (`value`:
                   // how many); none changed
    // A book's row.
    NoTitle,           // values without a book title; not taken
    SerialInRegister,  // its serial number is already in the register; skipped
    SerialListed,      // its serial number came earlier in the lists (`other`); skipped
    BarcodeInRegister, // (no serial) its barcode is already in the register; skipped
    BarcodeListed,     // (no serial) its barcode came earlier in the lists (`other`); skipped
    BadPrice,          // `value` is no price; not taken
    PriceTooLarge,     // `value` is beyond what the register's price column holds; not taken
    BadDate,           // `value` is no date (or one the file cannot keep); not taken
    // Either.
    TooLong, // the text `value` is longer than the column `column` (`size` characters)
};

// A row the import lists instead of taking it (or beside taking it).
struct Listed {
    Listed() = default;
    Listed(Source at_, bool book_, QString key_, QString name_, Issue issue_,
           QString column_ = QString(), QString value_ = QString(), int size_ = 0)
        : at(std::move(at_)), book(book_), key(std::move(key_)), name(std::move(name_)),
          issue(issue_), column(std::move(column_)), value(std::move(value_)), size(size_) {}

    Source at;
    bool book = false; // a book's row (else a pupil's)
    QString key;       // the pupil's number, or the book's serial number (empty: none)
    QString name;      // the pupil's name, or the book's title
    Issue issue = Issue::NoNumber;
    QString column; // the register's column the issue concerns
    QString value;  // the value in question
    int size = 0;   // TooLong: the column's size
    Source other;   // ListedTwice, NumberTwice, SerialListed, BarcodeListed
    bool operator==(const Listed&) const = default;
};

// "'eokul_9.XLS' row 7" / "'liste.xlsx' sheet '9-A' row 7".
QString sourceText(const Source& at);
// The listed row in English, for the tool: "'kitaplar.xlsx' row 7, serial 2: its serial
// number came earlier in the lists ('kitaplar.xlsx' row 6); skipped".
QString englishText(const Listed& listed);

// A number as the import compares and stores it: a whole number's digits without leading
// zeros ("9001" for 9001.0, " 09001 ", "9001,0"); empty when the cell holds no whole number.
QString wholeNumber(const sheets::Cell& cell);

// A text column's value as the import stores it: the cell's text with blanks around it and
// runs of blanks inside it made one ("  GÜLŞEN   ÖZ " → "GÜLŞEN ÖZ").
QString cellValue(const sheets::Cell& cell);

// The columns of a header row: for each header cell its column and its text, and where its
// values may stand. A report engine merges a header over several cells and may print the
// values under any of them: a header's values are looked for from its own column up to the
// next header's (the last header's in its own column and the next one).
class HeaderRow {
public:
    HeaderRow() = default;
    explicit HeaderRow(const sheets::Row& row);
    const sheets::Row& row() const { return row_; }
    // The header cell whose key (sheets::headerKey) is one of `keys`: its index, or -1.
    int find(std::initializer_list<const char16_t*> keys) const;
    int findKey(const QString& key) const;
    int count() const { return static_cast<int>(columns_.size()); }
    const QString& text(int header) const { return texts_[static_cast<size_t>(header)]; }
    const QString& key(int header) const { return keys_[static_cast<size_t>(header)]; }
    // The value of header `header` in the data row `row`: the first cell with something in
    // its span; null when none (or `header` is -1).
    const sheets::Cell* value(int header, const sheets::Row& row) const;

private:
    sheets::Row row_;
    std::vector<int> columns_, ends_;
    std::vector<QString> texts_, keys_;
};

// The register changed between the preview and the write (another computer saved): nothing
// was written, the preview is to be made again.
class ChangedMeanwhile : public platform::Error {
public:
    using Error::Error;
};

// The school's name as the register is matched by it: capitals by the Turkish rule, blanks
// made one ("Gazi  Lisesi" and "GAZİ LİSESİ" are one school).
QString schoolKey(const QString& school);

} // namespace tools::lists
