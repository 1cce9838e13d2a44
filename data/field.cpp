#include "data/field.h"

#include "data/adoquery.h"
#include "platform/errors.h"

#include <limits>
#include <optional>

namespace data {

TField::TField(TADOQuery& dataSet, const ColumnDef& def, int index)
    : dataSet_(dataSet), def_(def), name_(QString::fromUtf16(def.name)), index_(index) {}

Value TField::value() const {
    return dataSet_.value(dataSet_.recNo(), index_);
}

void TField::setValue(const Value& value) {
    if (def_.kind == Kind::DateTime && value.isDateTime() && !isStorable(value.toDateTime()))
        throw platform::Error(unstorableDateTimeMessage(name_, value.toDateTime()));
    dataSet_.writeField(*this, value);
}

void TField::setAsDateTime(platform::DateTime value) {
    setValue(Value(value));
}

namespace {
// A whole number with an optional sign, within 32 bits.
std::optional<qint32> parseInteger(const QString& text) {
    qsizetype i = 0;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    if (i == text.size())
        return std::nullopt;
    for (qsizetype k = i; k < text.size(); ++k)
        if (text[k] < u'0' || text[k] > u'9')
            return std::nullopt;
    bool ok = false;
    const qint64 v = text.toLongLong(&ok);
    if (!ok || v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<qint32>(v);
}
// The text cut to `size` UTF-16 code units, never between the two halves of a character
// outside the basic plane (an emoji): such a character that would be cut goes whole.
QString cutToSize(const QString& text, int size) {
    if (size <= 0 || text.size() <= size)
        return text;
    qsizetype cut = size;
    if (text[cut - 1].isHighSurrogate() && text[cut].isLowSurrogate())
        --cut;
    return text.left(cut);
}
} // namespace

void TField::setText(const QString& text) {
    switch (def_.kind) {
    case Kind::WideString:
        setValue(Value(cutToSize(text, def_.size)));
        return;
    case Kind::AutoInc:
    case Kind::Integer: {
        if (text.isEmpty()) {
            setValue(Value());
            return;
        }
        const auto number = parseInteger(text);
        if (!number)
            throw platform::Error(QStringLiteral("'%1' is not a valid integer value for field '%2'")
                                      .arg(text, name_));
        setValue(Value(*number));
        return;
    }
    case Kind::DateTime: {
        if (text.isEmpty()) {
            setValue(Value());
            return;
        }
        const auto dt = platform::DateTime::fromIso(text);
        if (!dt)
            throw platform::Error(QStringLiteral("'%1' is not a valid date and time").arg(text));
        setValue(Value(*dt));
        return;
    }
    }
}

bool TField::isValidChar(QChar c) const {
    if (def_.kind == Kind::Integer || def_.kind == Kind::AutoInc)
        return c == u'+' || c == u'-' || (c >= u'0' && c <= u'9');
    return true;
}

} // namespace data
