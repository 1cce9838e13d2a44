#pragma once

// The whole program over a temporary executable folder: the five windows created by the real
// start-up code, the main window shown, the record sets open. Header-only, for the forms and
// app tests (which link the program's libraries).

#include "anaform_/anaform.h"
#include "app/startup.h"
#include "data/adoquery.h"
#include "support/scripteddialogs.h"
#include "support/tempdatabase.h"

#include <QApplication>
#include <QTest>
#include <memory>

namespace testsupport {

struct ProgramFixture {
    std::unique_ptr<TempDatabase> db;
    std::unique_ptr<ScriptedDialogs> dialogs;

    // Seeds through `seed` before the program starts; false when the start failed.
    template <typename Seed> bool start(Seed&& seed) {
        db = std::make_unique<TempDatabase>();
        dialogs = std::make_unique<ScriptedDialogs>();
        seed(*db);
        app::createWindows(db->executablePath());
        app::showMainWindow();
        return QTest::qWaitForWindowActive(anaform) && anaform->okuyucu->active() &&
               anaform->kitap->active();
    }

    void stop() {
        app::destroyWindows();
        dialogs.reset();
        db.reset();
    }
};

// Brings a window to the front and waits until it has the focus.
inline bool activate(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

} // namespace testsupport
