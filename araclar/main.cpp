// ternavolk-araclar: the librarian's companion beside the program (overdue books, reading
// histories, statistics, printing and Excel lists, backups, the Access import).

#include "araclar/context.h"
#include "araclar/mainwindow.h"
#include "araclar/messages.h"
#include "platform/qtdialogs.h"
#include "platform/textrules.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ternavolk"));
    QApplication::setApplicationName(QStringLiteral("ternavolk-araclar"));
    // Calendars and numbers as the program formats them (Turkish where the system gives none).
    QLocale::setDefault(platform::programLocale());
    // The dialogs Qt draws (the buttons of a question, the file and print dialogs) in Turkish:
    // from Qt's own translations, or from a "translations" folder beside the companion.
    QTranslator qtTurkish;
    if (qtTurkish.load(QLocale(QLocale::Turkish, QLocale::Turkey), QStringLiteral("qtbase"),
                       QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        qtTurkish.load(QLocale(QLocale::Turkish, QLocale::Turkey), QStringLiteral("qtbase"),
                       QStringLiteral("_"),
                       QCoreApplication::applicationDirPath() + QStringLiteral("/translations")))
        QCoreApplication::installTranslator(&qtTurkish);
    platform::QtDialogs dialogs;
    platform::setDialogs(&dialogs);
    // Its own settings file, in the user's settings folder; the program itself reads none.
    const QString settingsFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(settingsFolder);
    araclar::MainWindow window(
        araclar::contextFor(QCoreApplication::applicationFilePath(),
                            settingsFolder + QStringLiteral("/ternavolk-araclar.ini")));
    window.show();
    QTimer::singleShot(0, &window, [&window] { araclar::guarded([&] { window.startUp(); }); });
    const int code = QApplication::exec();
    platform::setDialogs(nullptr);
    return code;
}
