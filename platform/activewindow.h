#pragma once

class QWidget;

namespace platform {

// Shows a window and brings it to the front as the active window; a visible window is only
// brought to the front (a minimised one stays minimised).
void bringToFront(QWidget* window);

// The window a message box belongs over: the window an action has just brought to the front,
// even while the window system has not yet made it active, else the active window (null when
// none of the program's windows is active).
QWidget* boxOwner();

} // namespace platform
