#include "platform/textrules.h"

#include <algorithm>

namespace platform {

QChar turkishUpper(QChar c) {
    if (c == u'i')
        return QChar(u'İ');
    if (c == u'ı')
        return QChar(u'I');
    return c.toUpper();
}

QString turkishUpper(const QString& text) {
    // One character for one, so an upper-cased text keeps its length under a column's size.
    QString out = text;
    for (QChar& c : out)
        c = turkishUpper(c);
    return out;
}

QLocale programLocale() {
    const QLocale current;
    if (current.language() == QLocale::C)
        return QLocale(QLocale::Turkish, QLocale::Turkey);
    return current;
}

QString shortDateText(QDate date) {
    return programLocale().toString(date, QLocale::ShortFormat);
}

QString longTimeText(QTime time) {
    QString format = programLocale().timeFormat(QLocale::LongFormat);
    // Long formats end in a time-zone name ("t"); the program shows the time alone.
    format.remove(QLatin1Char('t'));
    return time.toString(format.trimmed());
}

QString dateTimeDisplayText(const DateTime& value) {
    const QTime t = value.time();
    QString text = shortDateText(value.date());
    if (t.hour() != 0 || t.minute() != 0 || t.second() != 0)
        text += QLatin1Char(' ') + longTimeText(t);
    return text;
}

bool dayDigits(QDate day, char out[10]) {
    int y = 0, m = 0, d = 0;
    day.getDate(&y, &m, &d); // once: each of day(), month() and year() works the date out anew
    if (!day.isValid() || y < 1 || y > 9999)
        return false;
    const auto digit = [](int v) { return static_cast<char>('0' + v); };
    const char text[10] = {digit(d / 10),   digit(d % 10),       '.',
                           digit(m / 10),   digit(m % 10),       '.',
                           digit(y / 1000), digit(y / 100 % 10), digit(y / 10 % 10),
                           digit(y % 10)};
    std::copy(text, text + 10, out);
    return true;
}

QString dayText(QDate day) {
    char digits[10];
    if (dayDigits(day, digits))
        return QString::fromLatin1(digits, 10);
    return day.isValid() ? day.toString(QStringView(dayFormat)) : QString();
}

QString dayTimeText(const QDateTime& moment) {
    return dayText(moment.date()) + QLatin1Char(' ') +
           moment.time().toString(QStringLiteral("HH:mm:ss"));
}

QString errorBoxText(const QString& message) {
    if (message.isEmpty() || message.back().unicode() <= u'.')
        return message;
    return message + QLatin1Char('.');
}

} // namespace platform
