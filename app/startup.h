#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>
#include <memory>

namespace app {

// Installs Qt's own translation for the desktop's language (Turkish where it names none), so
// that the buttons, menus and calendars Qt draws speak it. Null when there is none to load.
std::unique_ptr<QTranslator> installQtTranslation(const QString& executablePath,
                                                  const QLocale& system = QLocale::system());

// Creates the five windows, all hidden, in their fixed order: anaform (the main window),
// kitapkayit, okuyucu_kayit, emanetkitap, emanetkitapkaydi. Nothing touches the database yet.
void createWindows(const QString& executablePath);

// Makes the main window visible, maximised, which runs its show handler (the record sets open)
// and, once it has the focus, its activate handler. Started minimised (Windows only), it shows
// only a minimised window, and the record sets open when the user first restores it.
void showMainWindow(bool startMinimised = false);

// Destroys the windows in the reverse order; record sets close, nothing pending is saved.
void destroyWindows();

// Whether Windows asked this process to start minimised without activation (never elsewhere).
bool startedMinimised();

// The whole program: title, windows, event loop. Returns the exit code.
int run(const QString& executablePath);

} // namespace app
