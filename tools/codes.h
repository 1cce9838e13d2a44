#pragma once

#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace data::sqlite {
class Database;
}
namespace platform {
class Progress;
}

// The codes on the books' labels and the readers' cards, and how a scanned text finds its book
// or reader. The scheme:
//
// - A book's code is its BARKODU. "Barkod Ver" gives a book without one (null, empty or blanks)
//   a code of exactly 12 digits: "2", a variant digit, and the book's IDNO in 10 digits
//   ("200000000123" for the book 123). The variant is 0 unless that code is taken: by another
//   book's BARKODU (equal to it, or holding it, which the main window's "Barkodu" bar would
//   also find), by a reader's NUMARASI, or by the card code of a reader; then 1, 2, ... 9.
//   Digits only, an even count: Code 128 prints them in pairs, densely. The length and the
//   leading "2" keep them apart from pupils' numbers (a few digits in a school), and two codes
//   the program gives never hold one another, so the "Barkodu" bar finds exactly that book.
//   An existing BARKODU is never changed.
// - A reader's card carries the reader's NUMARASI when that finds exactly this reader (no other
//   reader has the same number, no book has it as BARKODU): the main window's "Numarası" bar
//   finds the pupil by it too. Any other reader (no number, a number shared with another
//   reader, as in a file that holds two schools) gets a card code that only the desk reads:
//   "K" and the reader's IDNO ("K123").
// - The desk takes a scanned (or typed) text, blanks around it left out, as: the readers whose
//   NUMARASI is that text, the reader whose IDNO a "K" code names (k or K), and the books whose
//   BARKODU is that text (letters also in capitals, for a scanner with Caps Lock on). One of
//   them: that reader or book. Several: the desk asks which. None: the text is a name typed by
//   hand and the desk searches the names.
namespace tools {

inline constexpr int bookCodeLength = 12;
// The code "Barkod Ver" gives the book `idno` with `variant` (0-9); empty when the key does
// not fit in 10 digits.
QString bookCode(qint64 idno, int variant = 0);
// Whether a text has the form of a code the program gives books.
bool isGivenBookCode(QStringView text);

// A reader's card code that only the desk reads: "K" and the IDNO.
QString deskReaderCode(qint64 idno);
// The IDNO a "K" code names ("K123", "k123"), or nothing for any other text.
std::optional<qint64> deskReaderKey(QStringView text);

// What a scanned text found.
struct Found {
    enum class Kind { Reader, Book };
    Kind kind;
    qint64 id = 0;
    QString name;   // the reader's ADISOYADI or the book's KITABINADI
    QString detail; // the reader's class and school, or the book's author
    bool operator==(const Found&) const = default;
};
// Every reader and book the text names, readers first, each once (see above).
std::vector<Found> resolveCode(const data::sqlite::Database& db, const QString& scanned);

// The code of a reader's card: the NUMARASI where it finds exactly this reader, else the desk's
// "K" code. Empty when there is no such reader.
QString readerCardCode(const data::sqlite::Database& db, qint64 reader);

// What "Barkod Ver" did.
struct GivenCode {
    qint64 book = 0;
    QString title;
    QString code;
};
struct CodeGiving {
    std::vector<GivenCode> given;   // in the order of the books asked for
    std::vector<qint64> alreadyHad; // books that had a code (left as it was)
    std::vector<qint64> missing;    // books no longer in the register
    std::vector<qint64> noFreeCode; // books for which all ten variants were taken
};
// Gives each of `books` that has no code a code of its own, in one transaction (BEGIN
// IMMEDIATE … COMMIT; nothing is written when anything fails or `progress` stops it). Throws
// data::FileError when the file is busy or cannot be written.
CodeGiving giveBookCodes(data::sqlite::Database& db, const std::vector<qint64>& books,
                         platform::Progress& progress);

// The indexes on the columns the desk looks codes and names up by (kitapkayit.BARKODU,
// okuyucu.NUMARASI, hareket.O_ADI_SOYADI, hareket.ADIGIKITAP). An index adds no column and
// changes no row: SQLite keeps it up to date on every write, the program's included.
QStringList lookupIndexStatements();
// Makes those that are missing, in one short transaction. False (and nothing made) when the
// file is busy or may not be written: the desk then looks up without them, only slower.
bool ensureLookupIndexes(data::sqlite::Database& db);

} // namespace tools
