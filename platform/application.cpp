#include "platform/application.h"

#include "platform/dialogs.h"
#include "platform/guard.h"
#include "platform/qtdialogs.h"

namespace platform {

namespace {
QtDialogs qtDialogs;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // Not the display name: Qt would append that to every window caption.
    setApplicationName(applicationTitle());
    setDialogs(&qtDialogs);
}

Application::~Application() {
    setDialogs(nullptr);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    bool result = false;
    guard([&] { result = QApplication::notify(receiver, event); });
    return result;
}

} // namespace platform
