#include "printing/millimetres.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>

namespace printing {

Millimetres::Millimetres(const QPaintDevice& device)
    : device_(device), perMmX_(device.logicalDpiX() / 25.4), perMmY_(device.logicalDpiY() / 25.4) {}

void usePaperCorner(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

QFont printFont(double points, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                      QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    // The same widths on every device: no hinting to the screen's pixels.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

double lineHeight(const Millimetres& page, const QFont& font) {
    const QFontMetricsF metrics(font, const_cast<QPaintDevice*>(&page.device()));
    return page.mmY(metrics.height());
}

double drawLine(QPainter& painter, const Millimetres& page, const QFont& font, const QString& text,
                const QRectF& boxMm, Qt::Alignment align) {
    const QFontMetricsF metrics(font, const_cast<QPaintDevice*>(&page.device()));
    const double width = page.x(boxMm.width());
    const QString shown = metrics.elidedText(text, Qt::ElideRight, width);
    const double advance = metrics.horizontalAdvance(shown);
    double left = page.x(boxMm.left());
    if (align & Qt::AlignRight)
        left += width - advance;
    else if (align & Qt::AlignHCenter)
        left += (width - advance) / 2;
    painter.setFont(font);
    painter.drawText(QPointF(left, page.y(boxMm.top()) + metrics.ascent()), shown);
    return page.mmY(metrics.height());
}

} // namespace printing
