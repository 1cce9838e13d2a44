#pragma once

#include <QColor>
#include <QFont>

class QWidget;

namespace platform {

// "MS Sans Serif" at the given pixel height where the system has it; otherwise the system's
// ordinary sans-serif face at the same height.
QFont classicFont(int pixelHeight, bool bold = false);

// Paints a widget's background in one colour (panels, group boxes, windows).
void fillBackground(QWidget* widget, const QColor& colour);

// Places a top-level window of that outer size in the middle of the primary screen.
void centreOnScreen(QWidget* window);

} // namespace platform
