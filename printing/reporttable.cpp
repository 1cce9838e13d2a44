#include "printing/reporttable.h"

#include "platform/textrules.h"

#include <QDate>
#include <algorithm>

namespace printing {

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

bool isNumberCell(const QVariant& cell) {
    return cell.typeId() == QMetaType::Int || cell.typeId() == QMetaType::LongLong;
}

QString cellText(const QVariant& cell) {
    if (cell.isNull())
        return QString();
    switch (cell.typeId()) {
    case QMetaType::QDate:
        return platform::dayText(cell.toDate());
    case QMetaType::Int:
    case QMetaType::LongLong:
        return QString::number(cell.toLongLong());
    default:
        return cell.toString();
    }
}

} // namespace printing
