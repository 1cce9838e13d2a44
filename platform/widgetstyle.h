#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace platform {

// The face the windows were drawn in at the given pixel height: "MS Sans Serif" on Windows, a
// face of Arial's widths elsewhere (the system's ordinary face where none is installed).
QFont classicFont(int pixelHeight, bool bold = false);

// Paints a widget's background in one colour (panels, group boxes, windows).
void fillBackground(QWidget* widget, const QColor& colour);

// Places a top-level window, frame and all, in the middle of the primary screen.
void centreOnScreen(QWidget* window);

} // namespace platform
