#include "tools/loanstate.h"

#include "data/turkishlike.h"
#include "platform/datetime.h"

#include <QString>
#include <string>

namespace tools {

namespace {

QString folded(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.isSpace() || c.unicode() == 0x0307) // blanks, and the dot "İ".toLower() leaves
            continue;
        out += QChar(static_cast<char16_t>(data::foldForLike(c.unicode())));
    }
    return out;
}

const QString& foldedReturned() {
    static const QString returned = folded(QStringView(returnedStatus));
    return returned;
}

} // namespace

bool isReturnedStatus(QStringView status) {
    return folded(status) == foldedReturned();
}

bool isReturnedStatus(QByteArrayView utf8) {
    // Most statuses are plain ASCII: compared here without making a text of them, against the
    // same folded form.
    static const std::string returned = foldedReturned().toStdString();
    if (utf8.isNull())
        return false;
    size_t matched = 0;
    for (const char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        if (b >= 0x80)
            return isReturnedStatus(QString::fromUtf8(utf8));
        if (b == ' ' || (b >= '\t' && b <= '\r'))
            continue;
        const char f = static_cast<char>(data::foldForLike(b));
        if (matched == returned.size() || returned[matched] != f)
            return false;
        ++matched;
    }
    return matched == returned.size();
}

namespace {

// The form the program stores ("2009-05-21 16:15:25.890", or cut after the day, the minute or
// the second), read directly: empty when the text is not of that form, otherwise its date (or
// none, for a day or time that does not exist).
template <typename CharAt>
std::optional<std::optional<QDate>> canonicalDate(CharAt at, qsizetype n) {
    static constexpr char16_t form[] = u"dddd-dd-dd dd:dd:dd.ddd";
    if (n != 10 && n != 16 && n != 19 && n != 23)
        return std::nullopt;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = at(i);
        if (form[i] == u'd' ? (c < u'0' || c > u'9') : c != form[i])
            return std::nullopt;
    }
    const auto number = [&](qsizetype from, int digits) {
        int v = 0;
        for (int k = 0; k < digits; ++k)
            v = v * 10 + (at(from + k) - u'0');
        return v;
    };
    const bool timeOk =
        n == 10 || (number(11, 2) < 24 && number(14, 2) < 60 && (n == 16 || number(17, 2) < 60));
    const QDate d(number(0, 4), number(5, 2), number(8, 2));
    if (!timeOk || !d.isValid())
        return std::optional<QDate>();
    return std::optional<QDate>(d);
}

} // namespace

std::optional<QDate> storedDate(QStringView text) {
    if (const auto d = canonicalDate([&](qsizetype i) { return text[i].unicode(); }, text.size()))
        return *d;
    if (text.isEmpty())
        return std::nullopt;
    // Any other form goes the program's own way.
    const std::optional<platform::DateTime> value = platform::DateTime::fromIso(text);
    if (!value || !value->date().isValid())
        return std::nullopt;
    return value->date();
}

std::optional<QDate> storedDate(QByteArrayView utf8) {
    if (utf8.isEmpty())
        return std::nullopt;
    if (const auto d = canonicalDate(
            [&](qsizetype i) { return static_cast<char16_t>(static_cast<unsigned char>(utf8[i])); },
            utf8.size()))
        return *d;
    return storedDate(QString::fromUtf8(utf8));
}

int daysLate(std::optional<QDate> due, QDate today) {
    if (!due || *due >= today)
        return 0;
    return static_cast<int>(due->daysTo(today));
}

} // namespace tools
