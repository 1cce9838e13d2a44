#pragma once

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPagedPaintDevice;
class QPaintDevice;
class QPainter;

namespace printing {

// Where a printed sheet's things lie, in millimetres from the paper's top left corner, turned
// into the device's own units (a PDF's 1200 dots per inch, a printer's resolution). The device
// must paint from the paper's corner: A4 with no margins (usePaperCorner), a printer set to
// its full page.
class Millimetres {
public:
    explicit Millimetres(const QPaintDevice& device);
    double x(double mm) const { return mm * perMmX_; }
    double y(double mm) const { return mm * perMmY_; }
    QPointF at(double xMm, double yMm) const { return {x(xMm), y(yMm)}; }
    QRectF rect(const QRectF& mm) const {
        return {x(mm.x()), y(mm.y()), x(mm.width()), y(mm.height())};
    }
    // Device units back into millimetres (vertical).
    double mmY(double units) const { return units / perMmY_; }
    double mmX(double units) const { return units / perMmX_; }
    const QPaintDevice& device() const { return device_; }

private:
    const QPaintDevice& device_;
    double perMmX_, perMmY_;
};

// A4 upright with no margins, so that the device paints from the paper's corner.
void usePaperCorner(QPagedPaintDevice& device);

// The face of everything the labels, cards and slips print: Liberation Sans (Debian's
// fonts-liberation, Arial's widths), Arial where that is missing (Windows), DejaVu Sans after
// them. The PDF embeds the face it used.
QFont printFont(double points, bool bold = false);

// A text on one line within `boxMm` (its left, top and width; the line's height is the font's),
// cut with "…" where it is wider. Returns the line's height in millimetres.
double drawLine(QPainter& painter, const Millimetres& page, const QFont& font, const QString& text,
                const QRectF& boxMm, Qt::Alignment align = Qt::AlignLeft);
// The height of one line of `font` in millimetres.
double lineHeight(const Millimetres& page, const QFont& font);

} // namespace printing
