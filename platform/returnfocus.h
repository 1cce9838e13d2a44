#pragma once

class QWidget;

namespace platform {

// After a failed write on leaving a control: the focus goes back into it, and when a mouse
// press moved the focus away, that press is dropped so that it clicks nothing.
void returnFocus(QWidget* control, bool byMousePress);

} // namespace platform
