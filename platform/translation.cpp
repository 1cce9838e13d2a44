#include "platform/translation.h"

#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace platform {

QLocale desktopLanguage(const QLocale& system) {
    if (system.language() == QLocale::C || system.language() == QLocale::AnyLanguage)
        return QLocale(QLocale::Turkish, QLocale::Turkey);
    return system;
}

bool loadQtTranslation(QTranslator& translator, const QLocale& locale,
                       const QString& executableDir) {
    const QString folders[] = {
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
        QDir(executableDir).filePath(QStringLiteral("translations")),
    };
    for (const QString& folder : folders)
        if (translator.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder))
            return true;
    return false;
}

} // namespace platform
