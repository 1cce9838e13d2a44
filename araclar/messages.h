#pragma once

#include "platform/errors.h"
#include "platform/progress.h"

#include <QString>
#include <memory>
#include <utility>

class QWidget;
class QPrinter;

namespace araclar {


// The companion's own caption: every box it shows carries it.
QString title();

// Boxes through the program's message-box service (so tests script the answers).
void inform(const QString& text);
void fail(const QString& text);
// A question with Yes and No; No is the default, so Enter never does the irreversible step.
bool ask(const QString& text);

// The failure in Turkish (araclar/advice.h).
QString turkishMessage(const platform::Error& error);

// Runs what Qt called (a slot, a timer): whatever it throws is shown in the error box with the
// companion's caption and ends it there; nothing crosses back into Qt.
template <typename F> bool guarded(F&& handler) noexcept {
    try {
        std::forward<F>(handler)();
        return true;
    } catch (const platform::Abort&) {
        return false;
    } catch (const platform::Error& e) {
        fail(turkishMessage(e));
    } catch (const std::exception& e) {
        fail(QStringLiteral("Beklenmeyen bir hata oluştu (%1). Araçları kapatıp yeniden açın.")
                 .arg(QString::fromLocal8Bit(e.what())));
    } catch (...) {
        fail(QStringLiteral("Beklenmeyen bir hata oluştu. Araçları kapatıp yeniden açın."));
    }
    return false;
}

// The hourglass for as long as it lives: a task that runs to its end at once (a backup, a
// report read) shows that the companion is busy.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The file and folder choosers and the print dialog, behind one service so that tests answer
// them without a real dialog. An empty answer (or false) means the librarian cancelled.
class Choosers {
public:
    virtual ~Choosers() = default;
    virtual QString saveFile(QWidget* parent, const QString& caption, const QString& suggested,
                             const QString& filter) = 0;
    virtual QString openFile(QWidget* parent, const QString& caption, const QString& start,
                             const QString& filter) = 0;
    virtual QString folder(QWidget* parent, const QString& caption, const QString& start) = 0;
    // Shows the platform's print dialog for `printer`; true when the librarian chose to print.
    virtual bool print(QWidget* parent, QPrinter& printer) = 0;
    // The window of a long task started from `parent` (a TaskProgress), for as long as the task
    // runs; `title` says what it does.
    virtual std::unique_ptr<platform::Progress> progress(QWidget* parent, const QString& title);
};

Choosers& choosers();
// Installs a service and returns the previous one; nullptr brings back the Qt dialogs.
Choosers* setChoosers(Choosers* service);

} // namespace araclar
