#include "platform/activewindow.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>

namespace platform {

namespace {

// The window last brought to the front, until the window system has made it active.
class PendingActivation : public QObject {
public:
    void set(QWidget* window) {
        if (window_)
            window_->removeEventFilter(this);
        window_ = window;
        activeBefore_ = QApplication::activeWindow();
        window_->installEventFilter(this);
    }
    // Null once the window has become active, was hidden, or another window became active.
    QWidget* window() const {
        const bool waiting =
            window_ && window_->isVisible() && QApplication::activeWindow() == activeBefore_;
        return waiting ? window_.data() : nullptr;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ &&
            (event->type() == QEvent::WindowActivate || event->type() == QEvent::Hide)) {
            window_->removeEventFilter(this);
            window_ = nullptr;
        }
        return false;
    }

private:
    QPointer<QWidget> window_;
    QPointer<QWidget> activeBefore_;
};

PendingActivation& pending() {
    static PendingActivation instance;
    return instance;
}

} // namespace

void bringToFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
    if (QApplication::activeWindow() != window)
        pending().set(window);
}

QWidget* boxOwner() {
    if (QWidget* window = pending().window())
        return window;
    return QApplication::activeWindow();
}

} // namespace platform
