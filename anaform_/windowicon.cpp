#include "anaform_/windowicon.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>

QIcon programIcon() {
    QImage image(128, 128, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 110, 90));
    p.drawRoundedRect(QRectF(4, 4, 120, 120), 20, 20);

    // Two pages of an open book.
    const QPen edge(QColor(40, 40, 40), 3);
    p.setPen(edge);
    p.setBrush(QColor(255, 250, 235));
    QPainterPath left;
    left.moveTo(64, 38);
    left.cubicTo(50, 30, 34, 30, 20, 36);
    left.lineTo(20, 96);
    left.cubicTo(34, 90, 50, 90, 64, 98);
    left.closeSubpath();
    QPainterPath right;
    right.moveTo(64, 38);
    right.cubicTo(78, 30, 94, 30, 108, 36);
    right.lineTo(108, 96);
    right.cubicTo(94, 90, 78, 90, 64, 98);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);

    // Lines of text.
    p.setPen(QPen(QColor(120, 120, 120), 2));
    for (int i = 0; i < 4; ++i) {
        const int y = 50 + i * 11;
        p.drawLine(28, y, 56, y + 2);
        p.drawLine(72, y + 2, 100, y);
    }
    p.end();
    return QIcon(QPixmap::fromImage(image));
}
