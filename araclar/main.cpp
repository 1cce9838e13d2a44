// ternavolk-araclar: the librarian's companion beside the program (overdue books, reading
// histories, statistics, printing and Excel lists, backups, the Access import).

#include "araclar/context.h"
#include "araclar/mainwindow.h"
#include "araclar/messages.h"
#include "platform/qtdialogs.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Ternavolk"));
    QApplication::setApplicationName(QStringLiteral("ternavolk-araclar"));
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
