#include "data/value.h"

#include "platform/textrules.h"

#include <cmath>

namespace data {

QString Value::displayText() const {
    if (isText())
        return std::get<QString>(v_);
    if (isInteger())
        return QString::number(std::get<qint32>(v_));
    if (isDateTime())
        return platform::dateTimeDisplayText(std::get<platform::DateTime>(v_));
    return QString();
}

bool isStorable(platform::DateTime dt) {
    // Far beyond the years asked, the day count is refused before it is turned into a date.
    if (!std::isfinite(dt.days()) || std::fabs(dt.days()) > 4'000'000)
        return false;
    const int year = dt.date().year();
    return year >= 100 && year <= 9999;
}

QString unstorableDateTimeMessage(const QString& column, platform::DateTime dt) {
    return QStringLiteral("The date and time of day count %1 cannot be stored in field '%2': "
                          "the file keeps dates from the year 100 to the year 9999 only")
        .arg(QString::number(dt.days(), 'g', 17), column);
}

} // namespace data
