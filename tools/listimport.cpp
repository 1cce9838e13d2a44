#include "tools/listimport.h"

#include "data/sqlite.h"
#include "platform/textrules.h"

#include <QFileInfo>
#include <cmath>

namespace tools::lists {

using sheets::Cell;

Source sourceOf(const sheets::Workbook& book, const sheets::Sheet& sheet, const sheets::Row& row) {
    return {QFileInfo(book.path).fileName(), book.sheets.size() > 1 ? sheet.name : QString(),
            row.index + 1};
}

QString sourceText(const Source& at) {
    if (at.sheet.isEmpty())
        return QStringLiteral("'%1' row %2").arg(at.file).arg(at.row);
    return QStringLiteral("'%1' sheet '%2' row %3").arg(at.file, at.sheet).arg(at.row);
}

QString englishText(const Listed& l) {
    QString head = sourceText(l.at);
    if (!l.key.isEmpty())
        head += (l.book ? QStringLiteral(", serial ") : QStringLiteral(", ")) + l.key;
    if (!l.name.isEmpty())
        head += u' ' + (l.name.size() > 40 ? l.name.left(39) + QChar(0x2026) : l.name);
    const QString other = sourceText(l.other);
    QString what;
    switch (l.issue) {
    case Issue::NoNumber:
        what = QStringLiteral("no pupil number; not taken");
        break;
    case Issue::BadNumber:
        what = QStringLiteral("'%1' is no pupil number; not taken").arg(l.value);
        break;
    case Issue::NoName:
        what = QStringLiteral("a pupil number without a name; not taken");
        break;
    case Issue::ListedTwice:
        what = QStringLiteral("listed before (%1); taken once").arg(other);
        break;
    case Issue::NumberTwice:
        what = QStringLiteral("the same number with another name or class (%1); neither taken")
                   .arg(other);
        break;
    case Issue::RegisterTwice:
        what = QStringLiteral("%1 readers of this school have this number in the register; none "
                              "changed")
                   .arg(l.value);
        break;
    case Issue::NoTitle:
        what = QStringLiteral("no book title; not taken");
        break;
    case Issue::SerialInRegister:
        what = QStringLiteral("its serial number is already in the register; skipped");
        break;
    case Issue::SerialListed:
        what =
            QStringLiteral("its serial number came earlier in the lists (%1); skipped").arg(other);
        break;
    case Issue::BarcodeInRegister:
        what = QStringLiteral("its barcode %1 is already in the register; skipped").arg(l.value);
        break;
    case Issue::BarcodeListed:
        what = QStringLiteral("its barcode %1 came earlier in the lists (%2); skipped")
                   .arg(l.value, other);
        break;
    case Issue::BadPrice:
        what = QStringLiteral("%1: '%2' is no price; not taken").arg(l.column, l.value);
        break;
    case Issue::PriceTooLarge:
        what = QStringLiteral("%1: '%2' is more than the register keeps; not taken")
                   .arg(l.column, l.value);
        break;
    case Issue::BadDate:
        what = QStringLiteral("%1: '%2' is no date; not taken").arg(l.column, l.value);
        break;
    case Issue::TooLong:
        what = QStringLiteral("%1: '%2' is longer than %3 characters; not taken")
                   .arg(l.column, l.value)
                   .arg(l.size);
        break;
    }
    return head + QStringLiteral(": ") + what;
}

namespace {
QString withoutLeadingZeros(const QString& digits) {
    qsizetype i = 0;
    while (i + 1 < digits.size() && digits[i] == u'0')
        ++i;
    return digits.mid(i);
}
} // namespace

QString wholeNumber(const Cell& cell) {
    if (cell.kind == Cell::Kind::Number) {
        const double v = cell.number;
        if (!std::isfinite(v) || v < 0 || v >= 1e15 || std::floor(v) != v)
            return QString();
        return QString::number(static_cast<qint64>(v));
    }
    if (cell.kind != Cell::Kind::Text)
        return QString();
    QString t = cell.text.trimmed();
    // "9001.0" and "9001,0": a number saved with its decimals.
    const qsizetype mark = std::max(t.indexOf(u'.'), t.indexOf(u','));
    if (mark > 0) {
        for (qsizetype i = mark + 1; i < t.size(); ++i)
            if (t[i] != u'0')
                return QString();
        t.truncate(mark);
    }
    if (t.isEmpty() || t.size() > 18)
        return QString();
    for (const QChar c : t)
        if (c < u'0' || c > u'9')
            return QString();
    return withoutLeadingZeros(t);
}

QString cellValue(const Cell& cell) {
    return sheets::cellText(cell).simplified();
}

HeaderRow::HeaderRow(const sheets::Row& row) : row_(row) {
    for (const auto& [column, cell] : row.cells) {
        const QString text = sheets::cellText(cell).simplified();
        if (text.isEmpty())
            continue;
        columns_.push_back(column);
        texts_.push_back(text);
        keys_.push_back(sheets::headerKey(text));
    }
    for (size_t i = 0; i < columns_.size(); ++i)
        ends_.push_back(i + 1 < columns_.size() ? columns_[i + 1] : columns_[i] + 2);
}

int HeaderRow::findKey(const QString& key) const {
    for (size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i] == key)
            return static_cast<int>(i);
    return -1;
}

int HeaderRow::find(std::initializer_list<const char16_t*> keys) const {
    for (const char16_t* key : keys)
        if (const int i = findKey(QString::fromUtf16(key)); i >= 0)
            return i;
    return -1;
}

const Cell* HeaderRow::value(int header, const sheets::Row& row) const {
    if (header < 0)
        return nullptr;
    const auto h = static_cast<size_t>(header);
    for (const auto& [column, cell] : row.cells)
        if (column >= columns_[h] && column < ends_[h] && !cellValue(cell).isEmpty())
            return &cell;
    return nullptr;
}

QString schoolKey(const QString& school) {
    return platform::turkishUpper(school.simplified());
}

} // namespace tools::lists
