#include "araclar/context.h"

#include "araclar/database.h"

#include <QDir>
#include <QFileInfo>

namespace araclar {

Context contextFor(const QString& executablePath, const QString& settingsFile) {
    Context c;
    c.databasePath = databasePathBeside(executablePath);
#ifdef Q_OS_WIN
    const QString tool = QStringLiteral("ternavolk-db.exe");
#else
    const QString tool = QStringLiteral("ternavolk-db");
#endif
    c.toolPath = QFileInfo(executablePath).absoluteDir().filePath(tool);
    c.settingsFile = settingsFile;
    return c;
}

} // namespace araclar
