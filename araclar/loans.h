#pragma once

#include "araclar/reporttable.h"
#include "tools/loanstate.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

namespace data::sqlite {
class Database;
}

namespace araclar {

// A loan's state and dates are read by the rules the desk and the lists import share.
using tools::daysLate;
using tools::isReturnedStatus;
using tools::storedDate;

// One loan that is still out, with what the readers' register says of its reader.
struct OutLoan {
    qint64 id = 0;
    QString reader; // the name the loan copied
    QString book;
    std::optional<QDate> handedOver;
    std::optional<QDate> due;
    int daysLate = 0;
    int readersOfThatName = 0; // readers whose ADISOYADI is exactly `reader`
    QString school;            // of that reader, when there is exactly one
    QString level;
    QString phone;
    // The reader, book and school as the filter compares them, made when first filtered.
    mutable QByteArray readerFolded, bookFolded, schoolFolded;
    mutable bool folded = false;
};

// The statement of the out and overdue lists: every loan with its reader found by the exact
// name it copied (how many readers, and the one reader's school, level and telephone).
QString loansWithReadersSql();

// Every loan still out on `today`, in the order of their numbers.
std::vector<OutLoan> readOutLoans(const data::sqlite::Database& db, QDate today);

// The two lists of the first page: the late ones, longest late first; and all that are out,
// soonest due first (those without a due date last). Indices into `loans`.
std::vector<int> overdueOrder(const std::vector<OutLoan>& loans);
std::vector<int> outOrder(const std::vector<OutLoan>& loans);

// A text in the form the filter compares: every letter folded as the program's LIKE folds it
// (data::foldForLike: case, the Turkish dotted and dotless i, ş/s, ğ/g, ç/c, ö/o, ü/u), UTF-8.
QByteArray foldedForSearch(QStringView text);

// What the librarian typed into a filter: found anywhere in a text, Turkish-aware as the
// program's search bars ("sahin" finds "ŞAHİN"); "%" and "_" keep their LIKE meaning.
class TextFilter {
public:
    explicit TextFilter(const QString& typed);
    bool empty() const { return folded.isEmpty(); }
    // Whether a text folded by foldedForSearch holds it.
    bool matches(const QByteArray& foldedText) const;

private:
    QByteArray folded;
    bool wildcards;
};

// Whether a loan is shown under the typed text (in the reader, the book or the school) and
// the chosen school (empty: all).
bool loanMatches(const OutLoan& loan, const TextFilter& filter, const QString& school);

// What stands in the school column for a loan whose name finds no reader or several.
QString readerNote(const OutLoan& loan);

// The rows in `order` as a list for the page, for printing and for Excel.
ReportTable loanTable(const QString& title, const std::vector<OutLoan>& loans,
                      const std::vector<int>& order);

} // namespace araclar
