#pragma once

#include "printing/cards.h"
#include "printing/labels.h"
#include "printing/slips.h"

#include <QDate>
#include <QString>
#include <vector>

namespace data::sqlite {
class Database;
}

// What the labels, the cards and the reminder slips print, read from the registers: the one
// owner below the companion's pages and the tool's commands.
namespace tools::printdata {

// The library's name for its labels: the school most readers belong to (OKULU), or empty.
QString libraryName(const data::sqlite::Database& db);

// Which books get labels.
struct BookChoice {
    enum class Kind {
        WithCode, // every book that has a code
        Books,    // the books `books`, in that order
        Serials,  // SERINO, a whole number, from `fromSerial` to `toSerial`
        Since,    // added (EDINMETARIHI) on `since` or later
    };
    Kind kind = Kind::WithCode;
    std::vector<qint64> books;
    qint64 fromSerial = 0;
    qint64 toSerial = 0;
    QDate since;
};

struct LabelBook {
    qint64 id = 0;
    printing::BookLabel label; // label.code is the BARKODU, blanks around it left out
};
// The chosen books, with or without a code: for Books in the order given, otherwise by serial
// number (numbers in their order, then the others), then by IDNO.
std::vector<LabelBook> chooseBooks(const data::sqlite::Database& db, const BookChoice& choice);

// Which readers get cards: those of `school` and `level` (the class; empty: any), or the
// readers `readers` when any are given.
struct ReaderChoice {
    QString school;
    QString level;
    std::vector<qint64> readers;
};
struct CardReader {
    qint64 id = 0;
    printing::ReaderCard card; // card.code: tools::readerCardCode
};
// The chosen readers by school, class and name (Turkish alphabet); the readers given by key in
// the order given.
std::vector<CardReader> chooseReaders(const data::sqlite::Database& db, const ReaderChoice& choice);
// The schools, and the classes of a school (all schools when empty), for the choosers; sorted.
QStringList schools(const data::sqlite::Database& db);
QStringList levels(const data::sqlite::Database& db, const QString& school);

// One reminder slip per reader with a late loan on `today` (the loans out, as the overdue list
// reads them, due before today), the reader found by the loan's copied name: the school, class
// and number of that reader when the name is one reader's. Sorted by school, class and name
// (Turkish alphabet) so that each class's slips lie together; the books on a slip by due date.
// `school`: only the readers of that school (empty: all).
std::vector<printing::ReminderSlip> reminderSlips(const data::sqlite::Database& db, QDate today,
                                                  const QString& school = QString());

} // namespace tools::printdata
