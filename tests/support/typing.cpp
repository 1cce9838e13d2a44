#include "support/typing.h"

#include <QTest>

namespace testsupport {

void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        const int key = (c.unicode() < 0x80 && c.isLetterOrNumber()) ? c.toUpper().unicode()
                                                                     : int(Qt::Key_unknown);
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(key), QString(c), Qt::NoModifier);
    }
}

} // namespace testsupport
