#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>

namespace testsupport {

// Records every message box and answers with what the test queued (or the default button).
// Installed for its lifetime.
class ScriptedDialogs : public platform::Dialogs {
public:
    struct Shown {
        QString caption;
        QString text;
        platform::Icon icon;
        platform::Buttons buttons;
        platform::Answer defaultAnswer;
        platform::Placement placement;
        QString owner; // the object name of the window the box stands over
    };

    ScriptedDialogs();
    ~ScriptedDialogs() override;

    platform::Answer show(const QString& caption, const QString& text, platform::Icon icon,
                          platform::Buttons buttons, platform::Answer defaultAnswer,
                          platform::Placement placement) override;

    void answerNext(platform::Answer a) { answers_.push_back(a); }
    const QList<Shown>& shown() const { return shown_; }
    QStringList texts() const;
    void clear() { shown_.clear(); }
    // Called while a box is "up", e.g. to see which window was active.
    std::function<void(const Shown&)> onShow;

private:
    QList<Shown> shown_;
    std::deque<platform::Answer> answers_;
    platform::Dialogs* previous_;
};

} // namespace testsupport
