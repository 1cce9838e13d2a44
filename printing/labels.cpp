#include "printing/labels.h"

#include "printing/pages.h"

#include "platform/errors.h"
#include "printing/barcode.h"
#include "printing/millimetres.h"
#include "printing/pdffile.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>

namespace printing {

namespace {
constexpr double paperWidth = 210;
constexpr double paperHeight = 297;
constexpr double tallestBars = 15;
} // namespace

QRectF LabelSheet::label(int index) const {
    const int row = index / columns, column = index % columns;
    return QRectF(left + column * (labelWidth + columnGap), top + row * (labelHeight + rowGap),
                  labelWidth, labelHeight);
}

LabelSheet sheet3x8() {
    return LabelSheet{3, 8, 70, 37, 0.5, 0, 0, 0};
}

LabelSheet sheet3x7() {
    return LabelSheet{3, 7, 63.5, 38.1, 15.15, 7.21, 2.54, 0};
}

std::optional<SheetFault> sheetFault(const LabelSheet& s) {
    if (s.columns < 1 || s.rows < 1)
        return SheetFault::NoLabels;
    if (s.top < 0 || s.left < 0 || s.columnGap < 0 || s.rowGap < 0)
        return SheetFault::Negative;
    if (s.labelWidth < 30 || s.labelHeight < 15)
        return SheetFault::TooSmall;
    constexpr double slack = 0.005; // what a margin typed to the hundredth may add up to
    if (s.left + s.columns * s.labelWidth + (s.columns - 1) * s.columnGap > paperWidth + slack)
        return SheetFault::TooWide;
    if (s.top + s.rows * s.labelHeight + (s.rows - 1) * s.rowGap > paperHeight + slack)
        return SheetFault::TooHigh;
    return std::nullopt;
}

std::optional<LabelCodeFault> labelCodeFault(const QString& code, const LabelSheet& sheet) {
    if (const auto fault = codeFault(code)) {
        switch (*fault) {
        case CodeFault::Empty:
            return LabelCodeFault::Empty;
        case CodeFault::NotAscii:
            return LabelCodeFault::NotAscii;
        case CodeFault::TooLong:
            return LabelCodeFault::TooLong;
        }
    }
    if (Code128(code).moduleWidthFor(sheet.labelWidth - 2 * labelMargin) <= 0)
        return LabelCodeFault::TooWideForLabel;
    return std::nullopt;
}

namespace {

struct Fonts {
    QFont library = printFont(6.5);
    QFont title = printFont(8.5, true);
    QFont author = printFont(7);
    QFont serial = printFont(7, true);
    QFont digits = printFont(7.5);
};

void drawLabel(QPainter& p, const Millimetres& page, const Fonts& fonts, const BookLabel& label,
               const QString& library, const QRectF& cell) {
    const QRectF inner = cell.adjusted(labelMargin, labelMargin, -labelMargin, -labelMargin);
    const double w = inner.width();
    double y = inner.top();
    y += drawLine(p, page, fonts.library, library, QRectF(inner.left(), y, w, 0));
    y += drawLine(p, page, fonts.title, label.title, QRectF(inner.left(), y, w, 0));
    // The author on the left, the serial number on the right of the same line.
    const double serialWidth = std::min(w / 3, 20.0);
    const QString serial =
        label.serial.isEmpty() ? QString() : QStringLiteral("No: ") + label.serial;
    drawLine(p, page, fonts.serial, serial, QRectF(inner.right() - serialWidth, y, serialWidth, 0),
             Qt::AlignRight);
    y += drawLine(p, page, fonts.author, label.author,
                  QRectF(inner.left(), y, serial.isEmpty() ? w : w - serialWidth - 1, 0));
    y += 0.8;

    const Code128 code(label.code);
    const double module = code.moduleWidthFor(w);
    if (module <= 0)
        throw platform::Error(QStringLiteral("The code '%1' is too long for a label %2 mm wide")
                                  .arg(label.code)
                                  .arg(cell.width()));
    const double digitsHeight = lineHeight(page, fonts.digits);
    const double bars = std::min(tallestBars, inner.bottom() - digitsHeight - y);
    if (bars < 6)
        throw platform::Error(
            QStringLiteral("A label %1 mm high leaves no room for the barcode").arg(cell.height()));
    const double barsTop = inner.bottom() - digitsHeight - bars;
    const double barsLeft =
        inner.center().x() - code.modules() * module / 2; // the bars centred on the label
    code.draw(p, page, barsLeft, barsTop, module, bars);
    drawLine(p, page, fonts.digits, label.code, QRectF(inner.left(), barsTop + bars, w, 0),
             Qt::AlignHCenter);
}

} // namespace

void printLabels(const std::vector<BookLabel>& labels, const LabelRun& run,
                 QPagedPaintDevice& device, platform::Progress& progress,
                 const std::function<void()>& abandon) {
    if (sheetFault(run.sheet))
        throw platform::Error(QStringLiteral("The label sheet does not fit on A4 paper"));
    const int perSheet = run.sheet.perSheet();
    if (run.start < 1 || run.start > perSheet)
        throw platform::Error(
            QStringLiteral("The first label must lie between 1 and %1").arg(perSheet));
    usePaperCorner(device);
    const QString what = QStringLiteral("the labels");
    paintPages(
        device, what,
        [&](QPainter& p) {
            const Millimetres page(device);
            const Fonts fonts;
            progress.begin(static_cast<qint64>(labels.size()));
            int place = run.start - 1;
            for (size_t i = 0; i < labels.size(); ++i, ++place) {
                if (place == perSheet) {
                    nextPage(device, what);
                    place = 0;
                }
                drawLabel(p, page, fonts, labels[i], run.library, run.sheet.label(place));
                progress.step(static_cast<qint64>(i) + 1);
            }
        },
        abandon);
}

void saveLabelsPdf(const std::vector<BookLabel>& labels, const LabelRun& run, const QString& path,
                   const QString& creator, platform::Progress& progress) {
    PdfFile file(path, QStringLiteral("Kitap Etiketleri"), creator);
    printLabels(labels, run, file.writer(), progress);
    file.commit();
}

} // namespace printing
