#include "data/databasefile.h"

#include "platform/errors.h"

#include <QFile>
#include <QFileInfo>

namespace data {

using platform::Error;

namespace {
struct Problem {
    FileFault fault = FileFault::Other;
    QString message; // empty: no problem
};

Problem fileProblem(const QString& path, FileUse use, const QString& emptyAdvice) {
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return {FileFault::Missing, QStringLiteral("Could not find file '%1'.").arg(path)};
    if (use == FileUse::ReadWrite && (!info.isReadable() || !info.isWritable()))
        return {FileFault::AccessDenied,
                QStringLiteral("The file '%1' cannot be opened for reading and writing: access "
                               "is denied.")
                    .arg(path)};
    if (info.size() == 0)
        return {FileFault::Empty,
                QStringLiteral("The file '%1' is empty: it is not a database of the program")
                        .arg(path) +
                    emptyAdvice};
    return {};
}
} // namespace

QString databaseFileProblem(const QString& path, FileUse use, const QString& emptyAdvice) {
    return fileProblem(path, use, emptyAdvice).message;
}

void requireDatabaseFile(const QString& path, FileUse use, const QString& emptyAdvice) {
    const Problem problem = fileProblem(path, use, emptyAdvice);
    if (!problem.message.isEmpty())
        throw FileError(problem.fault, path, problem.message);
}

bool isAccessFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(32);
    return head.mid(4, 15) == "Standard Jet DB" || head.mid(4, 15) == "Standard ACE DB";
}

void requireNoFile(const QString& path) {
    const QString exists = existingFileProblem(path);
    if (!exists.isEmpty())
        throw FileError(FileFault::Exists, path, exists);
}

QString existingFileProblem(const QString& path) {
    const QFileInfo info(path);
    if (info.exists() || info.isSymLink())
        return QStringLiteral("The file '%1' already exists; it is left as it is").arg(path);
    return QString();
}

void createOwnerOnlyFile(const QString& path) {
    requireNoFile(path);
    QFile f(path);
#ifndef Q_OS_WIN
    // Made with these permissions in one step: no moment in which others could open it.
    const bool made = f.open(QIODevice::NewOnly | QIODevice::WriteOnly,
                             QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#else
    // A new file in the user's own folders is the user's; Windows keeps no POSIX modes.
    const bool made = f.open(QIODevice::NewOnly | QIODevice::WriteOnly);
#endif
    if (!made) {
        // The cause, for a message that says what fits: mostly a folder that may not be written.
        const QFileInfo folder(QFileInfo(path).absolutePath());
        FileFault fault = FileFault::CannotOpen;
        if (!folder.isDir())
            fault = FileFault::Missing;
        else if (!folder.isWritable())
            fault = FileFault::FolderNotWritable;
        else if (f.error() == QFileDevice::PermissionsError)
            fault = FileFault::AccessDenied;
        throw FileError(fault, fault == FileFault::Missing ? folder.filePath() : path,
                        QStringLiteral("Cannot create '%1': %2").arg(path, f.errorString()),
                        f.errorString());
    }
}

bool isWriteAheadLogFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // The file format's write and read versions (bytes 18 and 19): 2 for WAL, 1 for the
    // rollback journal.
    const QByteArray head = f.read(20);
    return head.size() == 20 && head.startsWith("SQLite format 3") && head[18] == 2 &&
           head[19] == 2;
}

} // namespace data
