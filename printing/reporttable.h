#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace printing {

// One list as the companion shows, prints and saves it: a title, the column captions and the
// rows. A cell is a text, a whole number, a date (QDate) or empty (a null QVariant).
struct ReportTable {
    QString title;
    QStringList headers;
    QList<QVariantList> rows;
};

// A cell as it is shown and written: a date as dd.MM.yyyy, a number in digits, empty as "".
QString cellText(const QVariant& cell);
// Whether the cell is a number (shown and printed to the right of its column).
bool isNumberCell(const QVariant& cell);

// Whether `a` comes before `b` in the Turkish alphabet (a b c ç d e f g ğ h ı i j k l m n o ö
// p r s ş t u ü v y z), capitals and small letters alike; other characters by their code.
bool turkishLess(const QString& a, const QString& b);

} // namespace printing
