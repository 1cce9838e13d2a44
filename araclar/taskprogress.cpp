#include "araclar/taskprogress.h"

#include "araclar/messages.h"

#include <QCoreApplication>
#include <QProgressDialog>

namespace araclar {

namespace {
// The bar counts in at most this many steps, whatever the task's own count.
constexpr int barSteps = 1000;
// How often the window system gets its turn while a task runs.
constexpr int breathMs = 40;
} // namespace

TaskProgress::TaskProgress(QWidget* parent, const QString& title)
    : dialog_(new QProgressDialog(parent)) {
    dialog_->setObjectName(QStringLiteral("taskProgress"));
    dialog_->setWindowTitle(araclar::title());
    dialog_->setLabelText(title);
    dialog_->setCancelButtonText(QStringLiteral("İptal"));
    dialog_->setWindowModality(Qt::WindowModal);
    dialog_->setMinimumDuration(400);
    dialog_->setAutoReset(false);
    dialog_->setAutoClose(false);
    dialog_->setRange(0, barSteps);
    dialog_->setValue(0);
    sinceBreath_.start();
}

TaskProgress::~TaskProgress() {
    dialog_->hide();
    dialog_->deleteLater();
}

void TaskProgress::begin(qint64 total, const QString& what) {
    total_ = total;
    if (!what.isEmpty())
        dialog_->setLabelText(what);
    // An unknown count shows a busy bar.
    dialog_->setRange(0, total > 0 ? barSteps : 0);
    dialog_->setValue(0);
    breathe();
}

void TaskProgress::step(qint64 done) {
    if (sinceBreath_.elapsed() < breathMs)
        return;
    if (total_ > 0)
        dialog_->setValue(static_cast<int>(std::min(done, total_) * barSteps / total_));
    breathe();
}

void TaskProgress::breathe() {
    sinceBreath_.restart();
    // QProgressDialog::setValue shows the window once the minimum duration has passed; the
    // events let it draw and take the click on "İptal".
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (dialog_->wasCanceled())
        throw platform::Cancelled();
}

} // namespace araclar
