#pragma once

#include "data/tables.h"
#include "platform/datetime.h"

#include <QString>
#include <variant>

namespace data {

// One column value: null, or a value of the column's kind.
class Value {
public:
    Value() = default;
    Value(qint32 v) : v_(v) {}
    Value(QString v) : v_(std::move(v)) {}
    Value(platform::DateTime v) : v_(v) {}

    bool isNull() const { return std::holds_alternative<std::monostate>(v_); }
    bool isInteger() const { return std::holds_alternative<qint32>(v_); }
    bool isText() const { return std::holds_alternative<QString>(v_); }
    bool isDateTime() const { return std::holds_alternative<platform::DateTime>(v_); }

    qint32 toInteger() const { return isInteger() ? std::get<qint32>(v_) : 0; }
    QString toText() const { return isText() ? std::get<QString>(v_) : QString(); }
    platform::DateTime toDateTime() const {
        return isDateTime() ? std::get<platform::DateTime>(v_) : platform::DateTime();
    }

    // The text a grid or a control shows: text as stored, integers in decimal, date-times as
    // the short date (and the long time where the time of day has hours, minutes or seconds);
    // null as the empty text.
    QString displayText() const;

    bool operator==(const Value& other) const { return v_ == other.v_; }

private:
    std::variant<std::monostate, qint32, QString, platform::DateTime> v_;
};

// Whether the file can keep a date-time and give it back: a finite day count whose date lies in
// the years 100 to 9999 (the four digits of the stored ISO text).
bool isStorable(platform::DateTime dt);
// Why a date-time cannot be written into the column `column`.
QString unstorableDateTimeMessage(const QString& column, platform::DateTime dt);

} // namespace data
