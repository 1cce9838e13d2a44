#pragma once

#include "platform/progress.h"
#include "tools/pupillist.h"

#include <QDate>
#include <optional>
#include <set>

namespace data::sqlite {
class Database;
}

// A school's pupils into the readers' register (okuyucu), and every new school year the
// classes moved up by importing again. A pupil is matched by school and number (OKULU,
// NUMARASI); the register's other schools are never touched; nothing is ever deleted.
namespace tools::lists {

// What an imported reader is, exactly as the program spells it.
inline constexpr char16_t pupilTitle[] = u"Öğrenci"; // UNVANI
inline constexpr char16_t leftSchool[] = u"Ayrıldı"; // OGRENIMDURUMU of one who left

// One reader of the school as the register holds it.
struct RegisterReader {
    qint64 id = 0;
    QString name, number, klass, title;
    bool operator==(const RegisterReader&) const = default;
};

// A loan not yet back (by the rule of the companion's overdue list: tools/loanstate.h), of the
// reader whose exact name it copied.
struct BookOut {
    QString title;
    std::optional<QDate> handedOver, due;
    bool operator==(const BookOut&) const = default;
};

// The school's readers in the register. `number` keys are the register's numbers as the import
// compares them (wholeNumber's rule for digits, else the text trimmed).
struct Register {
    std::vector<RegisterReader> readers;
};
Register readRegister(const data::sqlite::Database& db, const QString& school);

struct Move {
    Pupil pupil;
    RegisterReader reader;
    std::vector<BookOut> booksOut; // conflicts: the loans not back under the register's name
};
struct Leaver {
    RegisterReader reader;
    std::vector<BookOut> booksOut;
};

// What importing the lists would do.
struct ReaderPlan {
    QString school;
    std::vector<Pupil> added;     // new readers
    std::vector<Move> moved;      // another class: the class is changed
    std::vector<Move> unchanged;  // the same: left alone
    std::vector<Move> conflicts;  // another name: not changed unless accepted
    std::vector<Leaver> leaving;  // of the school, in none of the lists: marked only on request
    std::vector<Listed> skipped;  // pupils listed but not taken (twice, or ambiguous numbers)
    std::vector<Listed> problems; // rows that are no pupil, values the register cannot hold

    // Whether writing this plan writes the same as writing `other` (the books out aside).
    bool writesAs(const ReaderPlan& other) const;
};

// The plan for `list` against `reg`, the register's readers of `school`. Pure: reads nothing.
// A pupil is a reader of the school when the numbers match; the names are compared with
// capitals by the Turkish rule and blanks made one; leaving are the school's pupils (title
// empty or "Öğrenci") not yet marked "Ayrıldı" whose number is in none of the lists.
ReaderPlan planReaders(const PupilList& list, const QString& school, const Register& reg);

// Fills the plan's books out for the conflicts and the leavers, from the loans register.
void readBooksOut(const data::sqlite::Database& db, ReaderPlan& plan);

// What the librarian chose beside the plan: the conflicts whose list name is taken (by reader
// code), the leavers to mark "Ayrıldı" (by reader code).
struct ReaderChoices {
    std::set<qint64> acceptNames;
    std::set<qint64> markLeft;
};

struct ReaderWrite {
    int added = 0, moved = 0, renamed = 0, markedLeft = 0;
};

// Writes the plan into `path` in one short transaction: the new readers (ADISOYADI, NUMARASI,
// OGRENIMDURUMU, OKULU, UNVANI "Öğrenci"; telephone, mobile and address empty), the moved
// readers' class (their only column changed), the accepted names (and class), the chosen
// leavers' class "Ayrıldı". Inside the transaction the register is read and the plan made
// again: when it differs from `previewed` (another computer changed the school's readers since
// the preview) nothing is written and platform::Error says so. A cancel through `progress`
// (platform::Cancelled) and any failure write nothing. `busyMs`: how long to wait for another
// copy's write.
ReaderWrite writeReaders(const QString& path, const PupilList& list, const ReaderPlan& previewed,
                         const ReaderChoices& choices, int busyMs, platform::Progress& progress);

} // namespace tools::lists
