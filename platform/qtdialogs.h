#pragma once

#include "platform/dialogs.h"

namespace platform {

// The message-box service on Qt's QMessageBox: modal to the whole application, owned by the
// active window of the program (so the focus goes back there afterwards), centred on the
// screen when no window is active.
class QtDialogs : public Dialogs {
public:
    Answer show(const QString& caption, const QString& text, Icon icon, Buttons buttons,
                Answer defaultAnswer) override;
};

} // namespace platform
