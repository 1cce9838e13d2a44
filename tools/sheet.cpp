#include "tools/sheet.h"

#include "data/turkishlike.h"
#include "platform/textrules.h"
#include "tools/wall.h"

#include <QDataStream>
#include <QLocale>
#include <cmath>

namespace tools::sheets {

const Cell* Row::at(int column) const {
    // Rows are short (a school's lists have some tens of columns): a straight search.
    for (const auto& [c, cell] : cells)
        if (c == column)
            return &cell;
    return nullptr;
}

QString faultMessage(Fault fault, const QString& path, const QString& detail) {
    const QString nothing = QStringLiteral("; nothing was written");
    const QString more = detail.isEmpty() ? QString() : QStringLiteral(" (") + detail + u')';
    switch (fault) {
    case Fault::Missing:
        return QStringLiteral("Could not find the list '%1'").arg(path) + nothing;
    case Fault::AccessDenied:
        return QStringLiteral("The list '%1' cannot be read: access is denied").arg(path) + nothing;
    case Fault::Empty:
        return QStringLiteral("The list '%1' is empty").arg(path) + nothing;
    case Fault::NotASpreadsheet:
        return QStringLiteral("'%1' is not a spreadsheet (.xls, .xlsx or .csv)%2").arg(path, more) +
               nothing;
    case Fault::Encrypted:
        return QStringLiteral("'%1' is protected with a password: save it again without one "
                              "(in Excel: File, Info, Protect Workbook)")
                   .arg(path) +
               nothing;
    case Fault::Damaged:
        return QStringLiteral("'%1' is damaged%2: open it in Excel or LibreOffice and save it "
                              "again")
                   .arg(path, more) +
               nothing;
    case Fault::TooLarge:
        return QStringLiteral("'%1' is too large for a list%2").arg(path, more) + nothing;
    case Fault::NoHeader:
        return QStringLiteral("'%1' has no row of column names that the import knows%2")
                   .arg(path, more) +
               nothing;
    case Fault::NoRows:
        return QStringLiteral("'%1' holds no pupil with a number under its header rows%2")
                   .arg(path, more) +
               nothing;
    case Fault::ReaderFailed:
        return QStringLiteral("'%1' could not be read: %2").arg(path, detail) + nothing;
    case Fault::Interrupted:
        return QStringLiteral("The reading of '%1' was interrupted").arg(path) + nothing;
    }
    return path;
}

void refuse(Fault fault, const QString& path, const QString& detail) {
    throw SheetError(fault, path, faultMessage(fault, path, detail), detail);
}

std::optional<double> serialToDays(double serial, bool date1904) {
    // 31 December 9999, the last day the program keeps, as a day count.
    constexpr double lastDay = 2958465;
    if (!std::isfinite(serial) || serial < 0)
        return std::nullopt;
    double days = 0;
    if (date1904) {
        days = serial + 1462;
    } else {
        if (serial < 1 || (serial >= 60 && serial < 61))
            return std::nullopt;
        days = serial < 60 ? serial + 1 : serial;
    }
    if (days >= lastDay + 1)
        return std::nullopt;
    return days;
}

QString headerKey(const QString& text) {
    QString key;
    key.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isLetterOrNumber())
            continue;
        key += QChar(static_cast<char16_t>(data::foldForLike(c.unicode())));
    }
    return key;
}

QString cellText(const Cell& cell) {
    switch (cell.kind) {
    case Cell::Kind::Text:
        return cell.text;
    case Cell::Kind::Number:
        if (std::isfinite(cell.number) && std::floor(cell.number) == cell.number &&
            std::fabs(cell.number) < 1e15)
            return QString::number(static_cast<qint64>(cell.number));
        return QString::number(cell.number, 'g', QLocale::FloatingPointShortest);
    case Cell::Kind::Date: {
        const platform::DateTime dt(cell.number);
        const QString day = platform::dayText(dt.date());
        const QTime t = dt.time();
        if (t.hour() == 0 && t.minute() == 0 && t.second() == 0)
            return day;
        return day + u' ' + t.toString(QStringLiteral("HH:mm:ss"));
    }
    }
    return QString();
}

namespace {
template <typename... T> QByteArray payload(quint8 tag, const T&... parts) {
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(wall::streamVersion);
    s << tag;
    ((s << parts), ...);
    return bytes;
}
} // namespace

QByteArray workbookRecord(Format format, bool date1904) {
    return payload(WorkbookTag, static_cast<quint8>(format), date1904);
}

QByteArray sheetRecord(const QString& name) {
    return payload(SheetTag, name);
}

QByteArray rowRecord(const Row& row) {
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s.setVersion(wall::streamVersion);
    s << static_cast<quint8>(RowTag) << static_cast<qint32>(row.index)
      << static_cast<quint32>(row.cells.size());
    for (const auto& [column, cell] : row.cells) {
        s << static_cast<qint32>(column) << static_cast<quint8>(cell.kind);
        if (cell.kind == Cell::Kind::Text)
            s << cell.text;
        else
            s << cell.number;
    }
    return bytes;
}

QByteArray failureRecord(Fault fault, const QString& detail) {
    return payload(FailedTag, static_cast<quint8>(fault), detail);
}

QByteArray doneRecord() {
    return payload(DoneTag);
}

} // namespace tools::sheets
