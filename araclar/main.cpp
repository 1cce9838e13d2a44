// ternavolk-araclar: the librarian's companion beside the program (overdue books, reading
// histories, statistics, printing and Excel lists, backups, the Access import).

#include "araclar/context.h"
#include "araclar/mainwindow.h"
#include "araclar/messages.h"
#include "platform/qtdialogs.h"
#include "platform/textrules.h"
#include "platform/translation.h"

#include <QApplication>
#include <QDir>
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
    // The dialogs Qt draws (the buttons of a question, the file and print dialogs) in Turkish,
    // as every text of the companion is, whatever the desktop's language.
    QTranslator qtTurkish;
    if (platform::loadQtTranslation(qtTurkish, QLocale(QLocale::Turkish, QLocale::Turkey),
                                    QCoreApplication::applicationDirPath()))
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
