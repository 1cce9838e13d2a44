#include "tools/sheetwall.h"

#include "tools/wall.h"

#include <QFileInfo>

namespace tools::sheets {

namespace {

// The most the parent takes from the child in all: the limits of a list, with room for the
// records' own bytes.
constexpr qint64 mostBytes = mostTextBytes + 24 * mostCells + (64ll << 20);

[[noreturn]] void garbled(const QString& path) {
    refuse(Fault::Damaged, path, QStringLiteral("its reader handed over what cannot be read"));
}

QString breachDetail(const wall::BreachError& e) {
    QString detail = e.message();
    for (const QString& line : e.said())
        detail += QStringLiteral("; the reader said: ") + line;
    return detail;
}

} // namespace

Workbook readBehindWall(const QString& program, const QString& path,
                        const std::function<void()>& between) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        refuse(Fault::Missing, path);
    Workbook book;
    book.path = path;
    try {
        wall::Child child(program, {QString::fromUtf16(readSheetCommand), path},
                          wall::limitsFor("TERNAVOLK_SHEET", info.size()), between, mostBytes);
        bool begun = false;
        qint64 cells = 0, textBytes = 0;
        for (;;) {
            wall::RecordReader r(child.nextRecord());
            switch (r.tag()) {
            case WorkbookTag: {
                const auto format = r.take<quint8>();
                const bool date1904 = r.take<bool>();
                if (!r.sound() || begun || format > static_cast<quint8>(Format::Csv))
                    garbled(path);
                book.format = static_cast<Format>(format);
                book.date1904 = date1904;
                begun = true;
                break;
            }
            case SheetTag: {
                const QString name = r.take<QString>();
                if (!r.sound() || !begun)
                    garbled(path);
                book.sheets.push_back({name, {}});
                break;
            }
            case RowTag: {
                if (book.sheets.empty())
                    garbled(path);
                Row row;
                row.index = r.take<qint32>();
                const auto count = r.take<quint32>();
                if (row.index < 0 || row.index >= mostRows || count > mostColumns)
                    garbled(path);
                row.cells.reserve(count);
                for (quint32 i = 0; i < count && r.stream().status() == QDataStream::Ok; ++i) {
                    const auto column = r.take<qint32>();
                    const auto kind = r.take<quint8>();
                    Cell cell;
                    if (column < 0 || column >= mostColumns ||
                        kind > static_cast<quint8>(Cell::Kind::Date))
                        garbled(path);
                    cell.kind = static_cast<Cell::Kind>(kind);
                    if (cell.kind == Cell::Kind::Text)
                        cell.text = r.take<QString>();
                    else
                        cell.number = r.take<double>();
                    textBytes += 2 * cell.text.size();
                    row.cells.emplace_back(column, std::move(cell));
                }
                if (!r.sound())
                    garbled(path);
                cells += static_cast<qint64>(count);
                if (cells > mostCells || textBytes > mostTextBytes)
                    refuse(Fault::TooLarge, path,
                           QStringLiteral("more than %1 filled cells or %2 MB of text")
                               .arg(mostCells)
                               .arg(mostTextBytes >> 20));
                book.sheets.back().rows.push_back(std::move(row));
                break;
            }
            case FailedTag: {
                const auto fault = r.take<quint8>();
                const QString detail = r.take<QString>();
                if (!r.sound() || fault > static_cast<quint8>(Fault::Interrupted))
                    garbled(path);
                child.finish();
                refuse(static_cast<Fault>(fault), path, detail);
            }
            case DoneTag:
                if (!r.sound() || !begun)
                    garbled(path);
                child.finish();
                return book;
            default:
                garbled(path);
            }
        }
    } catch (const wall::BreachError& e) {
        switch (e.breach()) {
        case wall::Breach::NotStarted:
            refuse(Fault::ReaderFailed, path, e.message());
        case wall::Breach::Interrupted:
            refuse(Fault::Interrupted, path);
        case wall::Breach::TooMuch:
            refuse(Fault::TooLarge, path, e.message());
        default:
            refuse(Fault::Damaged, path, breachDetail(e));
        }
    }
}

} // namespace tools::sheets
