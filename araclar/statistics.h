#pragma once

#include "araclar/reporttable.h"

#include <QDate>

namespace data::sqlite {
class Database;
}

namespace araclar {

// The school year `today` lies in begins on 1 September (of this year from September on, of
// the year before until August).
QDate schoolYearStart(QDate today);

// Counts of the loans handed over between `from` and `to`, both days included, largest first
// (ties in the order of the Turkish alphabet):
// the books lent most often (by the title the loan copied),
ReportTable mostLentBooks(const data::sqlite::Database& db, QDate from, QDate to);
// the readers who borrowed most (by the name the loan copied),
ReportTable mostActiveReaders(const data::sqlite::Database& db, QDate from, QDate to);
// and the loans per school of the reader the name finds ("okuyucu kaydı yok" when none does,
// "aynı adda okuyucular farklı okullarda" when readers of that name are of several schools).
ReportTable loansPerSchool(const data::sqlite::Database& db, QDate from, QDate to);

// Every loan handed over between `from` and `to`, both days included, in the order they were
// handed over: the loans register of the period (of all time, for a wide enough period).
ReportTable loansOfPeriod(const data::sqlite::Database& db, QDate from, QDate to);
// Its statement: bind the first day and the day after the last as ISO dates.
QString loansOfPeriodSql();

} // namespace araclar
