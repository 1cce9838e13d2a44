#pragma once

#include "platform/dialogs.h"

namespace platform {

// The message-box service on Qt's QMessageBox: modal to the whole application, owned by the
// active window of the program (so the focus goes back there afterwards), centred over it, or
// in the middle of the screen when the placement asks for that or no window is active. The
// active window is the one an action has just brought to the front (platform::boxOwner()).
class QtDialogs : public Dialogs {
public:
    Answer show(const QString& caption, const QString& text, Icon icon, Buttons buttons,
                Answer defaultAnswer, Placement placement) override;
};

} // namespace platform
