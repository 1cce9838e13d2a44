#pragma once

#include <QString>

namespace platform {

enum class Icon { None, Stop, Question };
enum class Buttons { Ok, YesNo, OkCancel };
enum class Answer { Ok, Cancel, Yes, No };
// Where a box stands and whose it is: the window system's box over the active window (its
// buttons speak the desktop's language), or the program's own box in the middle of the screen
// (its buttons read "OK" and "Cancel" on every desktop).
enum class Placement { OverActiveWindow, ScreenCentre };

// Every message box of the program goes through this one service, so tests can script the
// answers and no test ever blocks on a real modal box.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // One modal box; `defaultAnswer` is the button that Enter presses.
    virtual Answer show(const QString& caption, const QString& text, Icon icon, Buttons buttons,
                        Answer defaultAnswer, Placement placement) = 0;
};

// The service in force (the Qt one in the program, a scripted one in tests).
Dialogs& dialogs();
// Installs a service; returns the previous one. The caller keeps ownership.
Dialogs* setDialogs(Dialogs* service);

// The application title: the caption of every box that has none of its own.
QString applicationTitle();

// The plain box of the entry checks: title as caption, the text, one OK, no icon, in the
// middle of the screen.
void showMessage(const QString& text);
// The application-wide error box: title, stop icon, one OK, the "." rule applied.
void showError(const QString& message);
// The delete question: caption "Dikkat", Yes/No with Yes the default, question icon.
// True unless the answer is No.
bool askDelete(const QString& question);
// The grid's "Confirm" / "Delete record?" box: OK (default) and Cancel, question icon, in the
// middle of the screen.
bool confirmDeleteRecord();

} // namespace platform
