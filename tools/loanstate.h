#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QStringView>
#include <optional>

// The state of a loan as the companion's lists, the desk and the lists import read it from the
// loans register: whether it has come back, and its dates.
namespace tools {

// The status the loan entry window's list writes when a book has come back.
inline constexpr char16_t returnedStatus[] = u"Geri Alindi";

// A loan has come back when its status, with blanks left out and letters compared as the
// program's search compares them (case and the Turkish dotted and dotless i do not count),
// reads "Geri Alindi". Every other status ("Verildi", "Veridi", empty, anything) means out.
bool isReturnedStatus(QStringView status);
// The same on the status as SQLite hands it over (UTF-8; a null view for none).
bool isReturnedStatus(QByteArrayView utf8);

// The date part of a stored date-time ("2009-05-21 16:15:25.890"); empty when there is none or
// it cannot be read.
std::optional<QDate> storedDate(QStringView text);
// The same on the text as SQLite hands it over (UTF-8; a null view for none).
std::optional<QDate> storedDate(QByteArrayView utf8);

// How many days a loan due on `due` is late on `today`: today − due when due lies before today,
// otherwise 0 (also without a due date).
int daysLate(std::optional<QDate> due, QDate today);

} // namespace tools
