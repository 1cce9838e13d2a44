#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <optional>

namespace platform {

// A date with a time of day: the day count from 30 December 1899, the time of day as the
// fraction. Kept to whole milliseconds.
class DateTime {
public:
    constexpr DateTime() = default;
    constexpr explicit DateTime(double days) : days_(days) {}

    static DateTime fromDate(QDate date, QTime time = QTime(0, 0));
    static DateTime fromQDateTime(const QDateTime& dt) { return fromDate(dt.date(), dt.time()); }
    // ISO-8601 as stored in the database: "2009-05-21 16:15:25.890" (also without the
    // milliseconds or the time). Empty on text that is no such date.
    static std::optional<DateTime> fromIso(QStringView text);

    constexpr double days() const { return days_; }
    QDate date() const;
    QTime time() const;
    QDateTime toQDateTime() const { return QDateTime(date(), time(), Qt::UTC); }
    QString toIso() const;

    // The same time of day on another date.
    DateTime withDate(QDate date) const;

    bool operator==(const DateTime& other) const {
        const Parts a = parts(), b = other.parts();
        return a.day == b.day && a.ms == b.ms;
    }

private:
    struct Parts {
        qint64 day; // whole days from the epoch
        qint64 ms;  // time of day
    };
    Parts parts() const;
    double days_ = 0;
};

} // namespace platform
