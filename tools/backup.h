#pragma once

#include "platform/errors.h"
#include "platform/progress.h"

#include <QString>
#include <QStringList>

namespace tools {

// A copy was made, but it failed its check: the source is damaged (or was damaged while it was
// read). The copy stays at `copy`, as it may still be the best there is; it is not a backup.
class CopyFailedCheck : public platform::Error {
public:
    CopyFailedCheck(QString source, QString copy, QStringList problems);
    const QString& source() const { return source_; }
    const QString& copy() const { return copy_; }
    const QStringList& problems() const { return problems_; }

private:
    QString source_, copy_;
    QStringList problems_;
};

// Copies the database `source` into the new file `destination` through SQLite's online backup:
// the copy is the file as one committed moment left it, even while the program writes to it,
// and `source` is only read. The whole backup waits up to the tool's patience for a lock held
// by another copy of the program. The copy is readable and writable by its owner only; an
// existing `destination` is refused and left as it is. Then the copy is checked as
// checkDatabase checks a file: when it fails, the copy stays and CopyFailedCheck is thrown.
// Every other failure throws platform::Error (a data::FileError naming the file where a file
// failed) and leaves no copy. Reports the pages copied to `progress`; a cancel leaves no copy.
void backupDatabase(const QString& source, const QString& destination,
                    platform::Progress& progress = platform::noProgress());

} // namespace tools
