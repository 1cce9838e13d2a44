#include "support/scripteddialogs.h"

#include "platform/activewindow.h"

#include <QWidget>

namespace testsupport {

ScriptedDialogs::ScriptedDialogs() : previous_(platform::setDialogs(this)) {}

ScriptedDialogs::~ScriptedDialogs() {
    platform::setDialogs(previous_);
}

platform::Answer ScriptedDialogs::show(const QString& caption, const QString& text,
                                       platform::Icon icon, platform::Buttons buttons,
                                       platform::Answer defaultAnswer,
                                       platform::Placement placement) {
    const QWidget* owner = platform::boxOwner();
    shown_.append({caption, text, icon, buttons, defaultAnswer, placement,
                   owner ? owner->objectName() : QString()});
    if (onShow)
        onShow(shown_.back());
    if (answers_.empty())
        return defaultAnswer;
    const platform::Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

QStringList ScriptedDialogs::texts() const {
    QStringList out;
    for (const Shown& s : shown_)
        out << s.text;
    return out;
}

} // namespace testsupport
