#pragma once

#include <QApplication>

namespace platform {

// The application object: the title, the message-box service and the last line of defence
// for exceptions. Handlers run through guard() themselves; an exception that still reaches
// the event dispatch is shown in the error box there instead of ending the program.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    ~Application() override;

    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace platform
