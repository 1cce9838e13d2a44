#include "printing/pages.h"

#include "platform/errors.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace printing {

void paintPages(QPagedPaintDevice& device, const QString& what,
                const std::function<void(QPainter&)>& draw, const std::function<void()>& abandon) {
    QPainter p;
    if (!p.begin(&device))
        throw platform::Error(
            QStringLiteral("Cannot print %1: the printer or the file cannot be written").arg(what));
    try {
        draw(p);
    } catch (...) {
        if (abandon)
            abandon();
        p.end();
        throw;
    }
    p.end();
}

void nextPage(QPagedPaintDevice& device, const QString& what) {
    if (!device.newPage())
        throw platform::Error(
            QStringLiteral("Cannot print %1: a new page cannot be begun").arg(what));
}

} // namespace printing
