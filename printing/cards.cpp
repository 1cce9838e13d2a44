#include "printing/cards.h"

#include "printing/pages.h"

#include "platform/errors.h"
#include "printing/barcode.h"
#include "printing/millimetres.h"
#include "printing/pdffile.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>

namespace printing {

namespace {
constexpr double gridLeft = (210 - cardColumns * cardWidth) / 2;
constexpr double gridTop = (297 - cardRows * cardHeight) / 2;
constexpr double markLength = 5; // each cut mark, ending 1.5 mm before the card's edge
constexpr double markGap = 1.5;

struct Fonts {
    QFont school = printFont(8, true);
    QFont heading = printFont(6.5);
    QFont name = printFont(12, true);
    QFont detail = printFont(8.5);
    QFont digits = printFont(8);
};

void drawCutMarks(QPainter& p, const Millimetres& page) {
    p.save();
    p.setPen(QPen(Qt::black, page.x(0.15)));
    const double right = gridLeft + cardColumns * cardWidth;
    const double bottom = gridTop + cardRows * cardHeight;
    for (int c = 0; c <= cardColumns; ++c) {
        const double x = gridLeft + c * cardWidth;
        p.drawLine(page.at(x, gridTop - markGap - markLength), page.at(x, gridTop - markGap));
        p.drawLine(page.at(x, bottom + markGap), page.at(x, bottom + markGap + markLength));
    }
    for (int r = 0; r <= cardRows; ++r) {
        const double y = gridTop + r * cardHeight;
        p.drawLine(page.at(gridLeft - markGap - markLength, y), page.at(gridLeft - markGap, y));
        p.drawLine(page.at(right + markGap, y), page.at(right + markGap + markLength, y));
    }
    p.restore();
}

void drawCard(QPainter& p, const Millimetres& page, const Fonts& fonts, const ReaderCard& card,
              const QRectF& cell) {
    const QRectF inner = cell.adjusted(cardMargin, cardMargin, -cardMargin, -cardMargin);
    const double w = inner.width();
    double y = inner.top();
    y += drawLine(p, page, fonts.school, card.school, QRectF(inner.left(), y, w, 0),
                  Qt::AlignHCenter);
    y += drawLine(p, page, fonts.heading, QStringLiteral("KÜTÜPHANE KARTI"),
                  QRectF(inner.left(), y, w, 0), Qt::AlignHCenter);
    y += 0.8;
    y += drawLine(p, page, fonts.name, card.name, QRectF(inner.left(), y, w, 0));
    QString detail;
    if (!card.level.isEmpty())
        detail = QStringLiteral("Sınıf: ") + card.level;
    if (!card.number.isEmpty())
        detail += (detail.isEmpty() ? QString() : QStringLiteral("    ")) + QStringLiteral("No: ") +
                  card.number;
    y += drawLine(p, page, fonts.detail, detail, QRectF(inner.left(), y, w, 0));
    y += 0.8;

    const Code128 code(card.code);
    const double module = code.moduleWidthFor(w);
    if (module <= 0)
        throw platform::Error(
            QStringLiteral("The code '%1' is too long for a card").arg(card.code));
    const double digitsHeight = lineHeight(page, fonts.digits);
    const double bars = std::min(14.0, inner.bottom() - digitsHeight - y);
    const double barsTop = inner.bottom() - digitsHeight - bars;
    code.draw(p, page, inner.center().x() - code.modules() * module / 2, barsTop, module, bars);
    drawLine(p, page, fonts.digits, card.code, QRectF(inner.left(), barsTop + bars, w, 0),
             Qt::AlignHCenter);
}

} // namespace

QRectF cardRect(int index) {
    const int row = index / cardColumns, column = index % cardColumns;
    return QRectF(gridLeft + column * cardWidth, gridTop + row * cardHeight, cardWidth, cardHeight);
}

void printCards(const std::vector<ReaderCard>& cards, QPagedPaintDevice& device,
                platform::Progress& progress, const std::function<void()>& abandon) {
    usePaperCorner(device);
    const QString what = QStringLiteral("the cards");
    paintPages(
        device, what,
        [&](QPainter& p) {
            const Millimetres page(device);
            const Fonts fonts;
            progress.begin(static_cast<qint64>(cards.size()));
            for (size_t i = 0; i < cards.size(); ++i) {
                const int place = static_cast<int>(i % cardsPerPage);
                if (place == 0) {
                    if (i > 0)
                        nextPage(device, what);
                    drawCutMarks(p, page);
                }
                drawCard(p, page, fonts, cards[i], cardRect(place));
                progress.step(static_cast<qint64>(i) + 1);
            }
        },
        abandon);
}

void saveCardsPdf(const std::vector<ReaderCard>& cards, const QString& path, const QString& creator,
                  platform::Progress& progress) {
    PdfFile file(path, QStringLiteral("Okuyucu Kartları"), creator);
    printCards(cards, file.writer(), progress);
    file.commit();
}

} // namespace printing
