#include "app/startup.h"

#include "anaform_/anaform.h"
#include "emanetkitap_/emanetkitap.h"
#include "emanetkitapkaydi_/emanetkitapkaydi.h"
#include "kitap_/kitapkayit.h"
#include "okuyucu_kayit_/okuyucu_kayit.h"
#include "platform/translation.h"

#include <QApplication>
#include <QFileInfo>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace app {

std::unique_ptr<QTranslator> installQtTranslation(const QString& executablePath,
                                                  const QLocale& system) {
    auto translator = std::make_unique<QTranslator>();
    if (!platform::loadQtTranslation(*translator, platform::desktopLanguage(system),
                                     QFileInfo(executablePath).absolutePath()))
        return nullptr;
    QCoreApplication::installTranslator(translator.get());
    return translator;
}

void createWindows(const QString& executablePath) {
    anaform = new Tanaform;
    anaform->setExecutablePath(executablePath);
    anaform->winId(); // the main window's native window exists from here on
    kitapkayit = new Tkitapkayit;
    okuyucu_kayit = new Tokuyucu_kayit;
    emanetkitap = new Temanetkitap;
    emanetkitapkaydi = new Temanetkitapkaydi;
    emanetkitap->bindLoans(emanetkitapkaydi->emanetD);
}

void showMainWindow(bool startMinimised) {
    if (startMinimised) {
        anaform->startMinimised();
        return;
    }
    anaform->showMaximized();
    anaform->raise();
    anaform->activateWindow();
}

void destroyWindows() {
    // The entry windows first: their controls are bound to the record sets of the other two.
    delete emanetkitap;
    emanetkitap = nullptr;
    delete okuyucu_kayit;
    okuyucu_kayit = nullptr;
    delete kitapkayit;
    kitapkayit = nullptr;
    delete emanetkitapkaydi;
    emanetkitapkaydi = nullptr;
    delete anaform;
    anaform = nullptr;
}

bool startedMinimised() {
#ifdef Q_OS_WIN
    STARTUPINFOW info{};
    info.cb = sizeof info;
    GetStartupInfoW(&info);
    return (info.dwFlags & STARTF_USESHOWWINDOW) &&
           (info.wShowWindow == SW_SHOWMINNOACTIVE || info.wShowWindow == SW_SHOWMINIMIZED ||
            info.wShowWindow == SW_MINIMIZE);
#else
    return false;
#endif
}

int run(const QString& executablePath) {
    const auto qtTexts = installQtTranslation(executablePath);
    createWindows(executablePath);
    showMainWindow(startedMinimised());
    const int code = QApplication::exec();
    destroyWindows();
    return code;
}

} // namespace app
