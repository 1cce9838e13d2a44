#include "araclar/reporttable.h"

#include <QDate>

namespace araclar {

QString dayText(QDate day) {
    return day.toString(QStringLiteral("dd.MM.yyyy"));
}

QString cellText(const QVariant& cell) {
    if (cell.isNull())
        return QString();
    switch (cell.typeId()) {
    case QMetaType::QDate:
        return dayText(cell.toDate());
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(cell.toLongLong());
    default:
        return cell.toString();
    }
}

} // namespace araclar
