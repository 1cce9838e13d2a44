#include "support/menus.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>

namespace testsupport {

bool chooseFromContextMenu(QWidget* target, const QString& objectName, QStringList* texts) {
    bool enabled = false;
    QObject scope; // cancels the timer should no menu open
    QTimer::singleShot(0, &scope, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* a : menu->actions()) {
            if (texts && !a->isSeparator())
                *texts << a->text();
            if (a->objectName() == objectName) {
                enabled = a->isEnabled();
                if (enabled)
                    a->trigger();
            }
        }
        menu->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(2, 2),
                            target->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(target, &event);
    return enabled;
}

} // namespace testsupport
