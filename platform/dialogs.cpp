#include "platform/dialogs.h"

#include "platform/textrules.h"

#include <cstdio>

namespace platform {

namespace {
// Used only when no service was installed (a tool without a window): writes to stderr and
// answers with the default button.
class ConsoleDialogs : public Dialogs {
public:
    Answer show(const QString& caption, const QString& text, Icon, Buttons, Answer defaultAnswer,
                Placement) override {
        std::fprintf(stderr, "%s: %s\n", caption.toLocal8Bit().constData(),
                     text.toLocal8Bit().constData());
        return defaultAnswer;
    }
};

ConsoleDialogs consoleDialogs;
Dialogs* current = &consoleDialogs;
} // namespace

Dialogs& dialogs() {
    return *current;
}

Dialogs* setDialogs(Dialogs* service) {
    Dialogs* previous = current;
    current = service ? service : &consoleDialogs;
    return previous;
}

QString applicationTitle() {
    return QStringLiteral("Ternavolk Kütüphane Takip");
}

void showMessage(const QString& text) {
    dialogs().show(applicationTitle(), text, Icon::None, Buttons::Ok, Answer::Ok,
                   Placement::ScreenCentre);
}

void showError(const QString& message) {
    dialogs().show(applicationTitle(), errorBoxText(message), Icon::Stop, Buttons::Ok, Answer::Ok,
                   Placement::OverActiveWindow);
}

bool askDelete(const QString& question) {
    return dialogs().show(QStringLiteral("Dikkat"), question, Icon::Question, Buttons::YesNo,
                          Answer::Yes, Placement::OverActiveWindow) != Answer::No;
}

bool confirmDeleteRecord() {
    return dialogs().show(QStringLiteral("Confirm"), QStringLiteral("Delete record?"),
                          Icon::Question, Buttons::OkCancel, Answer::Ok,
                          Placement::ScreenCentre) == Answer::Ok;
}

} // namespace platform
