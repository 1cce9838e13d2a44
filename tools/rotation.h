#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace tools {

// Backups kept in a folder by date: each is named "DATA-yyyy-MM-dd-HHmmss.mdb" after the moment
// it was made. Only files of exactly that form belong to the rotation; nothing else in the
// folder is ever touched.
QString rotationFileName(const QDateTime& when);
// The moment a rotation file name stands for; empty for any other name.
std::optional<QDateTime> rotationTimeOf(const QString& fileName);

struct RotationPolicy {
    int keepDays = 20;   // the newest backup of each of the last this many days
    int keepMonths = 12; // the newest backup of each of the last this many months
};

// Of the given file names, the rotation files to delete on `today`: every one that is not the
// newest of one of the last keepDays days (today included) nor the newest of one of the last
// keepMonths months (this month included). The newest of all and any dated after today are
// always kept; names that are no rotation files are never listed.
QStringList rotationDeletions(const QStringList& fileNames, QDate today, RotationPolicy policy);

// The rotation files in `folder`, newest first (file names only).
QStringList rotationFiles(const QString& folder);

struct RotatedBackup {
    QString path;        // the new backup
    QStringList deleted; // the old backups the rotation removed
};

// Backs `source` up into `folder` (made when missing) under the rotation name of `now`, checks
// the copy and, when it is sound, deletes what the rotation no longer keeps. A copy that fails
// its check stays (it may be the best there is) and nothing old is deleted. Throws
// platform::Error.
RotatedBackup backupInto(const QString& source, const QString& folder, const QDateTime& now,
                         RotationPolicy policy);

} // namespace tools
