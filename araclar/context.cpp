#include "araclar/context.h"

#include "araclar/database.h"
#include "tools/backupfolder.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace araclar {

QString Context::libraryKey(const QString& name) const {
    QString path = tools::libraryIdentity(databasePath);
#ifdef Q_OS_WIN
    path = path.toLower(); // one library however its path's letters are written
#endif
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("kutuphane-") + QString::fromLatin1(hash.toHex().left(16)) + u'/' + name;
}

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
