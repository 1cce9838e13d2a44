#include "data/value.h"

#include "platform/textrules.h"

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

} // namespace data
