#include "platform/returnfocus.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace platform {

namespace {

// Drops the mouse press that is being delivered right now (the one that moved the focus out
// of a control whose write failed), so that the pressed button is not clicked. Removes itself
// after that press or when the event loop turns.
class PressCanceller : public QObject {
public:
    explicit PressCanceller(QObject* parent) : QObject(parent) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType())
            return false;
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            finish();
            return true;
        }
        return false;
    }
    void finish() {
        qApp->removeEventFilter(this);
        deleteLater();
    }
};

} // namespace

void returnFocus(QWidget* control, bool byMousePress) {
    if (byMousePress) {
        auto* canceller = new PressCanceller(control);
        qApp->installEventFilter(canceller);
        QTimer::singleShot(0, canceller, [canceller] { canceller->finish(); });
    }
    control->setFocus(Qt::OtherFocusReason);
}

} // namespace platform
