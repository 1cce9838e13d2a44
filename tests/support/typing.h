#pragma once

#include <QString>

class QWidget;

namespace testsupport {

// Types text into a widget one character at a time as key events, Turkish letters included
// (QTest::keyClicks garbles non-ASCII characters).
void typeText(QWidget* widget, const QString& text);

} // namespace testsupport
