#include "platform/textrules.h"

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

QString errorBoxText(const QString& message) {
    if (message.isEmpty() || message.back().unicode() <= u'.')
        return message;
    return message + QLatin1Char('.');
}

} // namespace platform
