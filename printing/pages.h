#pragma once

#include <QString>
#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace printing {

// Paints a printout on the device's pages, the one way every layout does: begins the painter,
// runs `draw` with it and ends it. `what` names the printout in the messages ("the labels").
// When `draw` throws, `abandon` runs first, before the painter ends (a printer drops the pages
// it was given), and the exception goes on. Throws platform::Error when the device cannot be
// painted on.
void paintPages(QPagedPaintDevice& device, const QString& what,
                const std::function<void(QPainter&)>& draw, const std::function<void()>& abandon);

// The next page, for `what`; throws platform::Error when it cannot be begun.
void nextPage(QPagedPaintDevice& device, const QString& what);

} // namespace printing
