#pragma once

#include "data/rowstore.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace data::sqlite {
class Database;
}

// The lending desk: its rules, and each of its actions (lend, give back, undo) as one short
// transaction that writes exactly what the loan entry window and its status list would write.
// A loan names its reader and book by the copied name (ADISOYADI) and title (KITABINADI); the
// desk finds and writes loans that way and never changes a table's columns. No widget here:
// the companion's "Ödünç Masası" page shows what these return, in Turkish.
namespace tools::desk {

// The rules a desk applies, with the defaults of the school-library regulation.
struct Rules {
    int loanDays = 15;    // the due date is today + loanDays
    int pupilLimit = 3;   // books a pupil may hold at once
    int teacherLimit = 5; // books a teacher may hold at once
    QStringList notLent{QStringLiteral("Başvuru"), QStringLiteral("Ansiklopedi"),
                        QStringLiteral("Sözlük"), QStringLiteral("Dergi")}; // TURU not lent
    bool lateBlocks = true; // a reader with a late book gets no new one
    bool operator==(const Rules&) const = default;
};

// A teacher: UNVANI holds "Öğretmen" (capitals, small letters and the Turkish letters alike, as
// the program's search compares them: "ÖĞRETMEN", "Ogretmen").
bool isTeacher(QStringView title);
// Whether a book of the kind TURU is not lent: the kind, blanks around it left out, is one of the
// rules' kinds (compared as above).
bool isNotLent(const Rules& rules, QStringView kind);

// A connection to DATA.mdb for the desk's actions, opened for each and closed after it (so no
// file stays open, and no lock outlives the action): an existing file only, waiting up to
// data::sqlite::busyTimeoutMs for another copy's write, every commit on the disk. Throws
// data::FileError.
std::unique_ptr<data::sqlite::Database> openDesk(const QString& path);

struct Reader {
    qint64 id = 0;
    QString name; // ADISOYADI
    QString level;
    QString school;
    QString number;
    QString title;     // UNVANI
    QString phone;     // CEPTELEFONU, or TELEFONU when that is empty
    int namesakes = 1; // readers with exactly this name (their loans cannot be told apart)
};

struct Book {
    qint64 id = 0;
    QString title; // KITABINADI
    QString author;
    QString kind; // TURU
    QString serial;
    QString code;
};

std::optional<Reader> readReader(const data::sqlite::Database& db, qint64 id);
std::optional<Book> readBook(const data::sqlite::Database& db, qint64 id);

// A loan row of hareket as stored, every column byte for byte (IDNO, O_ADI_SOYADI, TELEFONU,
// ADIGIKITAP, TESLIMTARIHI, GERIGETIRMETARIHI, ACIKLAMA, DURUM), for writing it back or
// comparing it with what is stored now.
class LoanRow {
public:
    LoanRow();
    static LoanRow fromStore(const data::RowStore& rows, int row);
    qint64 id() const;
    // A column as text (null as the empty text), by its name in hareket.
    QString text(const char16_t* column) const;
    bool isNull(const char16_t* column) const;
    const data::RowStore& store() const { return row_; }

private:
    data::RowStore row_;
};

// A loan that is still out (not back by tools::isReturnedStatus), with its dates.
struct OutLoan {
    LoanRow row;
    QString reader;
    QString book;
    std::optional<QDate> given;
    std::optional<QDate> due;
    int daysLate = 0;
};

// What a reader holds now: the loans out under the reader's name, oldest first, and what the
// rules allow.
struct ReaderState {
    Reader reader;
    std::vector<OutLoan> held;
    int limit = 0; // the pupil's or the teacher's limit
    int late() const;
    int mayTake() const; // limit − held, at least 0
};
ReaderState readerState(const data::sqlite::Database& db, const Reader& reader, QDate today,
                        const Rules& rules);

// The loans of a title still out, oldest first (the copies of one title held by several
// readers, or by one reader twice).
std::vector<OutLoan> loansOutOf(const data::sqlite::Database& db, const QString& title,
                                QDate today);

// A rule that stops a loan until the librarian overrides it.
enum class Rule { NotLent, Limit, Late };
struct Stop {
    Rule rule;
    int held = 0;  // Limit: books held; Late: late books held
    int limit = 0; // Limit: the reader's limit
    QString kind;  // NotLent: the book's TURU
    bool operator==(const Stop&) const = default;
};

struct Lending {
    enum class Outcome {
        Lent,       // written
        Stopped,    // a rule stopped it (stops), nothing written
        ReaderGone, // the reader is no longer in the register
        BookGone,   // the book is no longer in the register
    };
    Outcome outcome = Outcome::Stopped;
    std::vector<Stop> stops;
    std::optional<LoanRow> written; // Lent: the row as stored
    std::optional<Reader> reader;
    std::optional<Book> book;
};

// Lends the book `book` to the reader `reader` at `now`, in one transaction: the reader and the
// book are read again, every rule not in `overridden` is applied, and only then the loan is
// written: O_ADI_SOYADI the reader's ADISOYADI, TELEFONU the reader's CEPTELEFONU (TELEFONU
// when that is empty; null when both are), ADIGIKITAP the book's KITABINADI, TESLIMTARIHI
// `now`, GERIGETIRMETARIHI `now` + the loan period, DURUM "Verildi", ACIKLAMA null, as the
// loan entry window stores them ("2026-05-21 10:00:00.000"). Throws data::FileError when the
// file is busy or cannot be written (nothing written).
Lending lend(data::sqlite::Database& db, qint64 reader, qint64 book, const QDateTime& now,
             const Rules& rules, const std::vector<Rule>& overridden);

// What a return or an undo found.
enum class Outcome {
    Done,    // written
    Changed, // the row is no longer what the desk read or wrote: nothing changed
    Gone,    // the row is no longer in the register: nothing changed
};

struct Returning {
    Outcome outcome = Outcome::Changed;
    LoanRow before;               // as the desk listed it
    std::optional<LoanRow> after; // Done: as stored now
    int daysLate = 0;
};
// Gives the loan back: its DURUM becomes "Geri Alindi", provided the row is still exactly as
// listed (all columns), in one statement. Otherwise nothing changes.
Returning giveBack(data::sqlite::Database& db, const LoanRow& listed, QDate today);

// Takes a loan the desk wrote back: deleted when the stored row is still exactly `written`.
Outcome undoLend(data::sqlite::Database& db, const LoanRow& written);
// Takes a return back: the status of `before` restored when the stored row is still exactly
// `after`.
Outcome undoReturn(data::sqlite::Database& db, const LoanRow& before, const LoanRow& after);

} // namespace tools::desk
