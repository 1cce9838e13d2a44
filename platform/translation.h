#pragma once

#include <QLocale>
#include <QString>

class QTranslator;

namespace platform {

// The language of the texts Qt draws itself (its buttons, menus and calendar): the desktop's,
// and Turkish where the desktop names none (an unset, "C" or "POSIX" locale).
QLocale desktopLanguage(const QLocale& system = QLocale::system());

// Loads Qt's own translation for `locale` into `translator`: from Qt's translations folder, or
// else from a "translations" folder beside the executable (where the Windows build carries
// it). False when neither holds one (an English desktop needs none).
bool loadQtTranslation(QTranslator& translator, const QLocale& locale,
                       const QString& executableDir);

} // namespace platform
