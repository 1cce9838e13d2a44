#include "platform/datetime.h"

#include <cmath>

namespace platform {

namespace {
constexpr qint64 msPerDay = 86'400'000;
const QDate& epoch() {
    static const QDate d(1899, 12, 30);
    return d;
}
} // namespace

// The whole part counts days from the epoch, the fraction's size is the time of day (so a
// negative count keeps a positive time of day, as the day count has always been read).
DateTime::Parts DateTime::parts() const {
    double whole = std::trunc(days_);
    qint64 ms = std::llround(std::fabs(days_ - whole) * msPerDay);
    if (ms >= msPerDay) { // round-off carried 23:59:59.9995 into the next day
        ms = 0;
        whole += days_ < 0 ? -1 : 1;
    }
    return {static_cast<qint64>(whole), ms};
}

DateTime DateTime::fromDate(QDate date, QTime time) {
    const qint64 day = epoch().daysTo(date);
    const qint64 ms = time.isValid() ? time.msecsSinceStartOfDay() : 0;
    const double fraction = static_cast<double>(ms) / msPerDay;
    return DateTime(day >= 0 ? day + fraction : day - fraction);
}

QDate DateTime::date() const {
    return epoch().addDays(parts().day);
}

QTime DateTime::time() const {
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(parts().ms));
}

DateTime DateTime::withDate(QDate d) const {
    return fromDate(d, time());
}

QString DateTime::toIso() const {
    return date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') +
           time().toString(QStringLiteral("HH:mm:ss.zzz"));
}

std::optional<DateTime> DateTime::fromIso(QStringView text) {
    // Date and time are read apart: a wall-clock text read as a local date-time would be lost
    // in the hour that summer time skips.
    const QString t = text.trimmed().toString();
    qsizetype cut = t.indexOf(QLatin1Char(' '));
    if (cut < 0)
        cut = t.indexOf(QLatin1Char('T'));
    const QDate d = QDate::fromString(cut < 0 ? t : t.left(cut), QStringLiteral("yyyy-MM-dd"));
    if (!d.isValid())
        return std::nullopt;
    if (cut < 0)
        return fromDate(d);
    static const QString formats[] = {QStringLiteral("HH:mm:ss.zzz"), QStringLiteral("HH:mm:ss"),
                                      QStringLiteral("HH:mm")};
    for (const QString& f : formats) {
        const QTime time = QTime::fromString(t.mid(cut + 1), f);
        if (time.isValid())
            return fromDate(d, time);
    }
    return std::nullopt;
}

} // namespace platform
