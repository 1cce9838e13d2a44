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

// The day a report is printed or saved, as "dd.MM.yyyy".
QString dayText(QDate day);

} // namespace araclar
