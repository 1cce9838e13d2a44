#pragma once

#include "platform/datetime.h"

#include <QDateEdit>

namespace data {

// The date picker: holds one date with a time of day, shows the date in the short date format
// and offers a drop-down calendar. Setting its date, by the program or by the user, replaces
// only the date part; the time of day it holds stays. It has no empty state.
class TDateTimePicker : public QDateEdit {
    Q_OBJECT
public:
    // The value every picker of the program starts with: 2009-05-21 16:15:25.890.
    static constexpr double initialValue = 39954.67738298611;

    explicit TDateTimePicker(QWidget* parent = nullptr);

    // The whole value, date and time of day.
    platform::DateTime date() const { return value_; }
    // Takes the date of `value` and keeps the picker's own time of day.
    void setDate(platform::DateTime value);
    // Replaces the whole value.
    void setDateTime(platform::DateTime value);
    // Whether the picker can show this date (14 September 1752 to 31 December 9999); it shows
    // any other as the nearest end of that range.
    static bool canShow(QDate date);
    // Whether the user changed the date since the program last set it.
    bool changedByUser() const { return changedByUser_; }

protected:
    // Tab and Shift+Tab leave the picker; they do not step through its date's parts.
    bool focusNextPrevChild(bool next) override;
    // The wheel over a picker without the focus passes by.
    void wheelEvent(QWheelEvent* event) override;

private:
    void showValue();
    // The user (or anything else) changed the date shown.
    void shownDateChanged(QDate date);

    platform::DateTime value_{initialValue};
    bool changedByUser_ = false;
};

} // namespace data
