#include "araclar/messages.h"

#include "araclar/taskprogress.h"
#include "platform/dialogs.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>

namespace araclar {

QString title() {
    return QStringLiteral("Ternavolk Kütüphane Araçları");
}

void inform(const QString& text) {
    platform::dialogs().show(title(), text, platform::Icon::None, platform::Buttons::Ok,
                             platform::Answer::Ok, platform::Placement::OverActiveWindow);
}

void fail(const QString& text) {
    platform::dialogs().show(title(), text, platform::Icon::Stop, platform::Buttons::Ok,
                             platform::Answer::Ok, platform::Placement::OverActiveWindow);
}

bool ask(const QString& text) {
    return platform::dialogs().show(title(), text, platform::Icon::Question,
                                    platform::Buttons::YesNo, platform::Answer::No,
                                    platform::Placement::OverActiveWindow) == platform::Answer::Yes;
}

WaitCursor::WaitCursor() {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WaitCursor::~WaitCursor() {
    QGuiApplication::restoreOverrideCursor();
}

std::unique_ptr<platform::Progress> Choosers::progress(QWidget* parent, const QString& title) {
    return std::make_unique<TaskProgress>(parent, title);
}

namespace {

class QtChoosers : public Choosers {
public:
    QString saveFile(QWidget* parent, const QString& caption, const QString& suggested,
                     const QString& filter) override {
        return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
    }
    QString openFile(QWidget* parent, const QString& caption, const QString& start,
                     const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, caption, start, filter);
    }
    QString folder(QWidget* parent, const QString& caption, const QString& start) override {
        return QFileDialog::getExistingDirectory(parent, caption, start);
    }
    bool print(QWidget* parent, QPrinter& printer) override {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("Yazdır"));
        return dialog.exec() == QDialog::Accepted;
    }
};

QtChoosers qtChoosers;
Choosers* current = &qtChoosers;

} // namespace

Choosers& choosers() {
    return *current;
}

Choosers* setChoosers(Choosers* service) {
    Choosers* previous = current;
    current = service ? service : &qtChoosers;
    return previous;
}

} // namespace araclar
