#pragma once

#include "platform/progress.h"

#include <QElapsedTimer>
#include <QString>

class QProgressDialog;
class QWidget;

namespace araclar {

// A long task's window over the page that started it: what is being done, a bar, and "İptal"
// (or Esc), which stops the task (platform::Cancelled). It shows itself only when the task
// lasts longer than a moment, and lets the window system draw and take the click on "İptal"
// every few hundredths of a second while the task runs on the one thread.
class TaskProgress : public platform::Progress {
public:
    TaskProgress(QWidget* parent, const QString& title);
    ~TaskProgress() override;
    TaskProgress(const TaskProgress&) = delete;
    TaskProgress& operator=(const TaskProgress&) = delete;

    void begin(qint64 total, const QString& what) override;
    void step(qint64 done) override;

private:
    void breathe();

    QProgressDialog* dialog_;
    QElapsedTimer sinceBreath_;
    qint64 total_ = 0;
};

} // namespace araclar
