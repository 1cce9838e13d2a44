#include "araclar/reporttable.h"

#include <QDate>
#include <algorithm>

namespace araclar {

namespace {
// A character's place: the Turkish letters in their alphabet's order, then everything else.
int place(QChar c) {
    static const QString alphabet =
        QStringLiteral("aAbBcCçÇdDeEfFgGğĞhHıIiİjJkKlLmMnNoOöÖpPqQrRsSşŞtTuUüÜvVwWxXyYzZ");
    if (c.unicode() < 0x30)
        return c.unicode(); // blanks and punctuation first
    if (c.isDigit())
        return 0x40 + c.digitValue(); // then digits
    const qsizetype at = alphabet.indexOf(c);
    if (at >= 0)
        return 0x50 + static_cast<int>(at / 2); // then letters
    return 0x1000 + c.unicode();
}
} // namespace

bool turkishLess(const QString& a, const QString& b) {
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int pa = place(a[i]), pb = place(b[i]);
        if (pa != pb)
            return pa < pb;
    }
    return a.size() < b.size();
}

QString dayText(QDate day) {
    if (!day.isValid())
        return QString();
    const int y = day.year();
    if (y < 1 || y > 9999)
        return day.toString(QStringLiteral("dd.MM.yyyy"));
    const auto digit = [](int v) { return QChar(static_cast<char16_t>(u'0' + v)); };
    const QChar text[10] = {
        digit(day.day() / 10),   digit(day.day() % 10), QChar(u'.'),     digit(day.month() / 10),
        digit(day.month() % 10), QChar(u'.'),           digit(y / 1000), digit(y / 100 % 10),
        digit(y / 10 % 10),      digit(y % 10)};
    return QString(text, 10);
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
