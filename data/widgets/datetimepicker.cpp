#include "data/widgets/datetimepicker.h"

#include "platform/connect.h"
#include "platform/textrules.h"

#include <QWheelEvent>
#include <algorithm>

namespace data {

namespace {
// The range of the window system's date picker; 30 December 1899 (the day count 0) lies in it.
const QDate firstDate(1752, 9, 14);
const QDate lastDate(9999, 12, 31);
} // namespace

TDateTimePicker::TDateTimePicker(QWidget* parent) : QDateEdit(parent) {
    const QLocale locale = platform::programLocale();
    setLocale(locale);
    setDateRange(firstDate, lastDate);
    setDisplayFormat(locale.dateFormat(QLocale::ShortFormat));
    setCalendarPopup(true);
    setFocusPolicy(Qt::StrongFocus); // the wheel does not take the focus
    showValue();
    platform::connectGuarded(this, &QDateEdit::dateChanged, this,
                             [this](QDate date) { shownDateChanged(date); });
}

bool TDateTimePicker::canShow(QDate date) {
    return date >= firstDate && date <= lastDate;
}

void TDateTimePicker::wheelEvent(QWheelEvent* event) {
    // The date changes by the wheel only while the picker has the focus.
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    QDateEdit::wheelEvent(event);
}

bool TDateTimePicker::focusNextPrevChild(bool next) {
    return QWidget::focusNextPrevChild(next);
}

void TDateTimePicker::setDate(platform::DateTime value) {
    changedByUser_ = false;
    value_ = value_.withDate(value.date());
    showValue();
}

void TDateTimePicker::setDateTime(platform::DateTime value) {
    changedByUser_ = false;
    value_ = value;
    showValue();
}

void TDateTimePicker::showValue() {
    // A date outside the picker's range is brought to its nearest end.
    const QDate date = std::clamp(value_.date(), firstDate, lastDate);
    if (date != value_.date())
        value_ = value_.withDate(date);
    if (QDateEdit::date() != date)
        QDateEdit::setDate(date);
}

void TDateTimePicker::shownDateChanged(QDate date) {
    if (date.isValid() && date != value_.date()) {
        value_ = value_.withDate(date);
        changedByUser_ = true;
    }
}

} // namespace data
