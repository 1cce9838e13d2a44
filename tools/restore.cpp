#include "tools/restore.h"

#include "data/databasefile.h"
#include "data/sqlite.h"
#include "platform/savefile.h"
#include "tools/backup.h"
#include "tools/backupfolder.h"
#include "tools/check.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace tools {

using data::FileError;
using data::FileFault;
using data::sqlite::Database;
using platform::Error;

SourceNotSound::SourceNotSound(QString source, QStringList problems)
    : Error(QStringLiteral("The file '%1' is not sound, so it was not put in place and nothing "
                           "was changed. Its check found:\n%2")
                .arg(source, problems.join(QLatin1Char('\n')))),
      source_(std::move(source)), problems_(std::move(problems)) {}

namespace {

// The registers as they stand: sound, damaged (with what is wrong), or missing. What stops a
// replacement (a journal left by an unfinished save, a lock held too long, a write-ahead log,
// no right to read and write the file) is thrown.
Replaced::Before lookAt(const QString& target, QStringList& damage) {
    const QFileInfo info(target);
    if (!info.exists() && !info.isSymLink())
        return Replaced::Before::Missing;
    if (info.isDir() || !info.isReadable() || !info.isWritable())
        data::requireDatabaseFile(target, data::FileUse::ReadWrite);
    if (info.size() == 0) {
        damage << data::databaseFileProblem(target, data::FileUse::ReadWrite);
        return Replaced::Before::Damaged;
    }
    if (data::isWriteAheadLogFile(target))
        throw FileError(FileFault::WriteAheadLog, target,
                        QStringLiteral("The file '%1' was switched to a write-ahead log (WAL) by "
                                       "another program. Close that program and open the file "
                                       "once with this program, which switches it back to its "
                                       "journal file; then try again")
                            .arg(target));
    const auto header = [&target] {
        Database db(target, Database::Mode::ReadOnly);
        db.setBusyTimeout(data::sqlite::toolPatienceMs);
        const int rc = db.readHeader();
        const int primary = rc & 0xFF;
        if (rc == SQLITE_READONLY_ROLLBACK || primary == SQLITE_BUSY || primary == SQLITE_LOCKED ||
            primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN)
            throw db.error(rc, false);
        return rc;
    };
    if (header() != SQLITE_OK) {
        damage << QStringLiteral("The file '%1' is damaged or is no database").arg(target);
        return Replaced::Before::Damaged;
    }
    const std::vector<CheckFinding> findings = checkFindings(target);
    if (findings.empty())
        return Replaced::Before::Sound;
    // A file another copy of the program held locked all through the check is not damaged.
    const CheckFinding& first = findings.front();
    if (first.kind == CheckFinding::Kind::File &&
        (first.fault == FileFault::Busy || first.fault == FileFault::LeftJournal ||
         first.fault == FileFault::InputOutput))
        throw FileError(first.fault, target, first.text);
    for (const CheckFinding& f : findings)
        damage << f.text;
    return Replaced::Before::Damaged;
}

// Copies `from` byte for byte into the new file `to`, for its owner only.
void copyBytes(const QString& from, const QString& to) {
    data::createOwnerOnlyFile(to);
    QFile in(from), out(to);
    bool ok = in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly | QIODevice::Truncate);
    while (ok) {
        const QByteArray block = in.read(1 << 20);
        if (block.isEmpty())
            break;
        ok = out.write(block) == block.size();
    }
    ok = ok && in.error() == QFileDevice::NoError && out.flush();
    if (!ok || QFileInfo(to).size() != QFileInfo(from).size()) {
        const QString why =
            out.error() != QFileDevice::NoError ? out.errorString() : in.errorString();
        out.close();
        QFile::remove(to);
        throw platform::WriteError(to, why);
    }
}

void writeInto(const QString& source, const QString& target, platform::Progress& progress) {
    const QDeadlineTimer deadline(data::sqlite::toolPatienceMs);
    Database from(source, Database::Mode::ReadOnly);
    Database to(target, Database::Mode::ReadWrite);
    from.copyInto(to, deadline, progress);
}

QString keptName(const QString& folder, KeepAs naming, bool damaged, const QDateTime& now) {
    if (naming == KeepAs::Restore)
        return backupFileName(folder, damaged ? BackupKind::Damaged : BackupKind::BeforeRestore,
                              now);
    return freeFileName(
        folder, damaged ? QStringLiteral("DATA-eski-bozuk") : QStringLiteral("DATA-eski"), now);
}

} // namespace

Replaced replaceRegisters(const QString& source, const QString& target, const QString& keepFolder,
                          KeepAs naming, const QDateTime& now, platform::Progress& progress) {
    data::requireDatabaseFile(source, data::FileUse::Read);
    const QStringList sourceProblems = checkDatabase(source);
    if (!sourceProblems.isEmpty())
        throw SourceNotSound(source, sourceProblems);

    Replaced done;
    done.before = lookAt(target, done.damage);

    if (done.before != Replaced::Before::Missing) {
        if (!QDir().mkpath(keepFolder))
            throw FileError(FileFault::FolderNotWritable, keepFolder,
                            QStringLiteral("Cannot create the folder '%1'").arg(keepFolder));
        const bool damaged = done.before == Replaced::Before::Damaged;
        const QString name = keptName(keepFolder, naming, damaged, now);
        done.keptAs = QDir(keepFolder).filePath(name);
        if (damaged)
            copyBytes(target, done.keptAs);
        else
            backupDatabase(target, done.keptAs, progress);
        if (naming == KeepAs::Restore)
            noteBackup(keepFolder, name, libraryIdentity(target),
                       damaged ? CheckState::Problems : CheckState::Sound);
    }

    switch (done.before) {
    case Replaced::Before::Missing:
        data::createOwnerOnlyFile(target);
        try {
            writeInto(source, target, progress);
        } catch (...) {
            QFile::remove(target);
            QFile::remove(target + QStringLiteral("-journal"));
            throw;
        }
        break;
    case Replaced::Before::Damaged: {
        // SQLite cannot write into pages it cannot read: the file is emptied in place (never
        // renamed, so that a program that has it open holds the new registers too) and given
        // its old bytes back should the writing not end.
        QFile file(target);
        if (!file.open(QIODevice::ReadWrite) || !file.resize(0))
            throw platform::WriteError(target, file.errorString());
        file.close();
        try {
            writeInto(source, target, progress);
        } catch (...) {
            QFile back(target);
            QFile kept(done.keptAs);
            if (back.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                kept.open(QIODevice::ReadOnly))
                back.write(kept.readAll());
            throw;
        }
        break;
    }
    case Replaced::Before::Sound:
        try {
            writeInto(source, target, progress);
        } catch (...) {
            // Nothing changed: the copy is the same as the registers.
            QFile::remove(done.keptAs);
            if (naming == KeepAs::Restore)
                forgetBackup(keepFolder, QFileInfo(done.keptAs).fileName());
            throw;
        }
        break;
    }
    return done;
}

} // namespace tools
