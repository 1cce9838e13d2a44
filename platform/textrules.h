#pragma once

#include "platform/datetime.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace platform {

// Capitals by the Turkish rule: i becomes İ and ı becomes I; every other letter as usual.
QString turkishUpper(const QString& text);
QChar turkishUpper(QChar c);

// The locale the program formats dates with: the system's, or Turkish where the system
// offers only the neutral "C" locale.
QLocale programLocale();

// The locale's short date ("21.05.2009") and its long time without a time-zone suffix
// ("16:15:25").
QString shortDateText(QDate date);
QString longTimeText(QTime time);
// The short date, followed by a blank and the long time when the hour, minute or second is
// not zero (milliseconds do not count).
QString dateTimeDisplayText(const DateTime& value);

// A day as the companion's lists, printouts and files write it, whatever the locale: "21.05.2009"
// (day, month, four-digit year). dayDigits writes those ten characters into `out` without
// making a text, for writers of many rows; years outside 1–9999 are not written there (false).
QString dayText(QDate day);
bool dayDigits(QDate day, char out[10]);
// The same with the time of day: "21.05.2009 16:15:25".
QString dayTimeText(const QDateTime& moment);
// The form of dayText for Qt's date edits.
inline constexpr char16_t dayFormat[] = u"dd.MM.yyyy";

// The error box's text: the message with a "." added unless it is empty or already ends in a
// character up to and including "." (blank, ! " # $ % & ' ( ) * + , - .).
QString errorBoxText(const QString& message);

} // namespace platform
