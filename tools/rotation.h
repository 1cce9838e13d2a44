#pragma once

#include "platform/progress.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tools {

// The rotation's backups in a folder (tools/backupfolder.h): each named
// "DATA-yyyy-MM-dd-HHmmss.mdb" after the moment it was made ("-2", "-3", … added for a second
// one in the same second). Only files of exactly that form belong to the rotation; nothing else
// in the folder is ever counted or touched by it.
QString rotationFileName(const QDateTime& when);
// The moment a rotation file name stands for; empty for any other name.
std::optional<QDateTime> rotationTimeOf(const QString& fileName);

struct RotationPolicy {
    int keepDays = 20;   // the newest backup of each of the last this many days
    int keepMonths = 12; // the newest backup of each of the last this many months
};

// Why the rotation deletes a backup.
enum class DeletionReason {
    SameDay, // a newer backup of the same day stays (the day is within those kept)
    Older,   // it is older than the days kept and not the newest of a month kept
};
struct RotationDeletion {
    QString fileName;
    DeletionReason reason;
};

// Of the given file names, the rotation files to delete on `today`: every one that is not the
// newest of one of the last keepDays days (today included) nor the newest of one of the last
// keepMonths months (this month included). The newest of all and any dated after today are
// always kept; names that are no rotation files are never listed.
std::vector<RotationDeletion> rotationPlan(const QStringList& fileNames, QDate today,
                                           RotationPolicy policy);
// The same, the file names only.
QStringList rotationDeletions(const QStringList& fileNames, QDate today, RotationPolicy policy);

// The rotation files in `folder`, newest first (file names only).
QStringList rotationFiles(const QString& folder);

struct RotatedBackup {
    QString path;                          // the new backup
    std::vector<RotationDeletion> deleted; // the old backups the rotation removed (full paths)
};

// Backs `source` up into `folder` (made when missing) under a free rotation name of `now`,
// checks the copy and, when it is sound, notes it in the folder's index (made from `source`)
// and deletes what the rotation no longer keeps. A copy that fails its check is renamed to the
// "DATA-SORUNLU-…" name, which the rotation neither keeps nor counts, and noted so; nothing
// old is deleted, and CopyFailedCheck (tools/backup.h) is thrown naming the kept copy. Every
// other failure throws platform::Error and leaves nothing behind.
RotatedBackup backupInto(const QString& source, const QString& folder, const QDateTime& now,
                         RotationPolicy policy,
                         platform::Progress& progress = platform::noProgress());

} // namespace tools
