#pragma once

// For the companion's tests only (header-only: the shared fixtures do not link the companion).

#include "araclar/messages.h"
#include "platform/progress.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <memory>

namespace testsupport {

// Answers the companion's file and folder choosers with what the test queued, records their
// captions, never prints, and watches every long task: the titles and stage texts it showed,
// how far it came, and, when the test asks, a "İptal" at a given step.
class ScriptedChoosers : public araclar::Choosers {
public:
    ScriptedChoosers() : previous_(araclar::setChoosers(this)) {}
    ~ScriptedChoosers() override { araclar::setChoosers(previous_); }
    ScriptedChoosers(const ScriptedChoosers&) = delete;
    ScriptedChoosers& operator=(const ScriptedChoosers&) = delete;

    QString saveFile(QWidget*, const QString& caption, const QString& offered,
                     const QString&) override {
        suggested << offered;
        return next(caption);
    }
    QString openFile(QWidget*, const QString& caption, const QString&, const QString&) override {
        return next(caption);
    }
    QString folder(QWidget*, const QString& caption, const QString&) override {
        return next(caption);
    }
    bool print(QWidget*, QPrinter&) override { return false; }
    std::unique_ptr<platform::Progress> progress(QWidget*, const QString& title) override {
        tasks << title;
        return std::make_unique<Watch>(*this);
    }

    std::deque<QString> answers;
    QStringList captions;
    QStringList suggested;    // the file names a save chooser offered
    QStringList tasks;        // the title of each long task, in order
    QStringList stages;       // the texts its stages gave
    qint64 stepsTaken = 0;    // all steps of all tasks
    qint64 cancelAtStep = -1; // the step (counted over all tasks) at which "İptal" is pressed

private:
    class Watch : public platform::Progress {
    public:
        explicit Watch(ScriptedChoosers& owner) : owner_(owner) {}
        void begin(qint64, const QString& what) override {
            if (!what.isEmpty())
                owner_.stages << what;
        }
        void step(qint64) override {
            if (++owner_.stepsTaken == owner_.cancelAtStep)
                throw platform::Cancelled();
        }

    private:
        ScriptedChoosers& owner_;
    };

    QString next(const QString& caption) {
        captions << caption;
        if (answers.empty())
            return QString();
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
    araclar::Choosers* previous_;
};

} // namespace testsupport
