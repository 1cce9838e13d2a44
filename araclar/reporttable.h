#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace araclar {

// One list as the pages show, print and save it: a title, the column captions and the rows.
// A cell is a text, a whole number, a date (QDate) or empty (a null QVariant).
struct ReportTable {
    QString title;
    QStringList headers;
    QList<QVariantList> rows;
};

// A cell as it is shown and written: a date as dd.MM.yyyy, a number in digits, empty as "".
QString cellText(const QVariant& cell);

// Whether `a` comes before `b` in the Turkish alphabet (a b c ç d e f g ğ h ı i j k l m n o ö
// p r s ş t u ü v y z), capitals and small letters alike; other characters by their code.
bool turkishLess(const QString& a, const QString& b);

// The day a report is printed or saved, as "dd.MM.yyyy".
QString dayText(QDate day);

} // namespace araclar
