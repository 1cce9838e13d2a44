#include "tools/rotation.h"

#include "data/databasefile.h"
#include "platform/errors.h"
#include "tools/backup.h"
#include "tools/backupfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <map>

namespace tools {

using platform::Error;

namespace {
int monthIndex(QDate d) {
    return d.year() * 12 + d.month() - 1;
}
} // namespace

QString rotationFileName(const QDateTime& when) {
    return QStringLiteral("DATA-") + stampText(when) + QStringLiteral(".mdb");
}

std::optional<QDateTime> rotationTimeOf(const QString& fileName) {
    const auto name = parseBackupName(fileName);
    if (!name || name->kind != BackupKind::Rotation)
        return std::nullopt;
    return name->made;
}

std::vector<RotationDeletion> rotationPlan(const QStringList& fileNames, QDate today,
                                           RotationPolicy policy) {
    struct File {
        QDateTime made;
        int sequence;
        QString name;
    };
    std::vector<File> files;
    for (const QString& name : fileNames)
        if (const auto n = parseBackupName(name); n && n->kind == BackupKind::Rotation)
            files.push_back({n->made, n->sequence, name});
    // Newest first: the first file met for a day or a month is the one that stays.
    std::sort(files.begin(), files.end(), [](const File& a, const File& b) {
        if (a.made != b.made)
            return a.made > b.made;
        return a.sequence != b.sequence ? a.sequence > b.sequence : a.name > b.name;
    });
    std::map<qint64, bool> dayTaken;
    std::map<int, bool> monthTaken;
    const qint64 firstDay = today.toJulianDay() - policy.keepDays + 1;
    const int firstMonth = monthIndex(today) - policy.keepMonths + 1;
    std::vector<RotationDeletion> deletions;
    for (size_t i = 0; i < files.size(); ++i) {
        const QDate d = files[i].made.date();
        bool keep = i == 0 || d > today;
        const qint64 day = d.toJulianDay();
        const bool dayKept = day >= firstDay && day <= today.toJulianDay();
        if (dayKept && !dayTaken[day]) {
            dayTaken[day] = true;
            keep = true;
        }
        const int month = monthIndex(d);
        if (month >= firstMonth && month <= monthIndex(today) && !monthTaken[month]) {
            monthTaken[month] = true;
            keep = true;
        }
        if (!keep)
            deletions.push_back(
                {files[i].name, dayKept ? DeletionReason::SameDay : DeletionReason::Older});
    }
    return deletions;
}

QStringList rotationDeletions(const QStringList& fileNames, QDate today, RotationPolicy policy) {
    QStringList names;
    for (const RotationDeletion& d : rotationPlan(fileNames, today, policy))
        names << d.fileName;
    return names;
}

QStringList rotationFiles(const QString& folder) {
    QStringList names;
    for (const BackupEntry& e : backupEntries(folder))
        if (e.kind == BackupKind::Rotation)
            names << e.fileName;
    return names;
}

RotatedBackup backupInto(const QString& source, const QString& folder, const QDateTime& now,
                         RotationPolicy policy, platform::Progress& progress) {
    if (!QDir().mkpath(folder))
        throw data::FileError(data::FileFault::FolderNotWritable, folder,
                              QStringLiteral("Cannot create the folder '%1'").arg(folder));
    const QDir dir(folder);
    RotatedBackup result;
    const QString name = backupFileName(folder, BackupKind::Rotation, now);
    result.path = dir.filePath(name);
    const QString library = libraryIdentity(source);
    try {
        backupDatabase(source, result.path, progress);
    } catch (const CopyFailedCheck& failed) {
        // Not a backup: out of the rotation's names, so that it never stands for its day or
        // month and never pushes a sound backup out; kept, as it may be the best there is.
        const QString kept = backupFileName(folder, BackupKind::Failed, now);
        const QString keptPath =
            QFile::rename(failed.copy(), dir.filePath(kept)) ? dir.filePath(kept) : failed.copy();
        noteBackup(folder, QFileInfo(keptPath).fileName(), library, CheckState::Problems);
        throw CopyFailedCheck(failed.source(), keptPath, failed.problems());
    }
    noteBackup(folder, name, library, CheckState::Sound);
    for (const RotationDeletion& d : rotationPlan(rotationFiles(folder), now.date(), policy))
        if (QFile::remove(dir.filePath(d.fileName))) {
            forgetBackup(folder, d.fileName);
            result.deleted.push_back({dir.filePath(d.fileName), d.reason});
        }
    return result;
}

} // namespace tools
