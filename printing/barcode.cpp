#include "printing/barcode.h"

#include "platform/errors.h"
#include "printing/millimetres.h"

#include <QPainter>
#include <cmath>
#include <memory>
#include <zint.h>

namespace printing {

namespace {
constexpr qsizetype longestCode = 80;

QString faultText(CodeFault fault) {
    switch (fault) {
    case CodeFault::Empty:
        return QStringLiteral("it is empty");
    case CodeFault::NotAscii:
        return QStringLiteral("only the characters of a keyboard's plain letters, digits and "
                              "signs (ASCII) can be carried");
    case CodeFault::TooLong:
        return QStringLiteral("it is longer than %1 characters").arg(longestCode);
    }
    return QString();
}

struct SymbolDeleter {
    void operator()(zint_symbol* s) const { ZBarcode_Delete(s); }
};
} // namespace

std::optional<CodeFault> codeFault(const QString& text) {
    if (text.isEmpty())
        return CodeFault::Empty;
    if (text.size() > longestCode)
        return CodeFault::TooLong;
    for (const QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return CodeFault::NotAscii;
    return std::nullopt;
}

Code128::Code128(const QString& text) : text_(text) {
    if (const auto fault = codeFault(text))
        throw platform::Error(
            QStringLiteral("Cannot encode '%1' as Code 128: %2").arg(text, faultText(*fault)));
    const std::unique_ptr<zint_symbol, SymbolDeleter> symbol(ZBarcode_Create());
    if (!symbol)
        throw platform::Error(
            QStringLiteral("Cannot encode '%1' as Code 128: out of memory").arg(text));
    symbol->symbology = BARCODE_CODE128;
    symbol->show_hrt = 0; // the digits under the bars are the layout's own text
    const QByteArray bytes = text.toLatin1();
    int rc =
        ZBarcode_Encode(symbol.get(), reinterpret_cast<const unsigned char*>(bytes.constData()),
                        static_cast<int>(bytes.size()));
    if (rc < ZINT_ERROR)
        rc = ZBarcode_Buffer_Vector(symbol.get(), 0);
    if (rc >= ZINT_ERROR || !symbol->vector || symbol->width <= 0)
        throw platform::Error(QStringLiteral("Cannot encode '%1' as Code 128: %2")
                                  .arg(text, QString::fromLatin1(symbol->errtxt)));
    // The vector's units per module, whatever scale zint draws at.
    modules_ = symbol->width;
    const double unit = static_cast<double>(symbol->vector->width) / modules_;
    for (const zint_vector_rect* r = symbol->vector->rectangles; r; r = r->next)
        bars_.push_back({r->x / unit, r->width / unit});
}

double Code128::moduleWidthFor(double widthMm) const {
    for (int dots = mostDotsPerModule; dots >= fewestDotsPerModule; --dots) {
        const double module = dots * dotMm;
        if (widthWithQuietZones(module) <= widthMm + 1e-9)
            return module;
    }
    return 0;
}

void Code128::draw(QPainter& painter, const Millimetres& page, double leftMm, double topMm,
                   double moduleMm, double heightMm) const {
    const double left = std::round(leftMm / dotMm) * dotMm;
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    for (const Bar& bar : bars_)
        painter.drawRect(
            page.rect(QRectF(left + bar.start * moduleMm, topMm, bar.width * moduleMm, heightMm)));
    painter.restore();
}

} // namespace printing
