#pragma once

#include "platform/errors.h"
#include "platform/progress.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tools {

// The file to be put into the registers failed its check: nothing was changed.
class SourceNotSound : public platform::Error {
public:
    SourceNotSound(QString source, QStringList problems);
    const QString& source() const { return source_; }
    const QStringList& problems() const { return problems_; }

private:
    QString source_;
    QStringList problems_;
};

// What the registers were before they were replaced, and where they went.
struct Replaced {
    enum class Before {
        Sound,   // a checked copy of them was made first: `keptAs`
        Damaged, // they failed their check and were kept as they were, byte for byte: `keptAs`
        Missing, // there was no file: it was made
    };
    Before before = Before::Missing;
    QString keptAs;     // the full path of what was kept; empty when nothing was there
    QStringList damage; // Damaged: what the check of the old file found
};

// How the file saved aside before the registers are replaced is named, in `keepFolder`:
//   Restore: "DATA-geri-yukleme-oncesi-<stamp>.mdb", or "DATA-bozuk-<stamp>.mdb" for a damaged
//            file (the names of tools/backupfolder.h, noted in that folder's index);
//   Import:  "DATA-eski-<stamp>.mdb", or "DATA-eski-bozuk-<stamp>.mdb" for a damaged file.
enum class KeepAs { Restore, Import };

// Puts the database `source` (a backup, or a file the Access import made) into the registers
// `target` (DATA.mdb), the one way the companion and the tool do it:
//  1. `source` is checked as 'check' checks a file; when it fails, SourceNotSound, and nothing
//     changes.
//  2. `target` is looked at as it stands. A journal left beside it by an unfinished save, a
//     lock held past the tool's patience, or a write-ahead log stop everything (data::FileError
//     saying what to do); nothing changes.
//  3. What is there is saved into `keepFolder` first: a sound file as a checked backup; a
//     damaged one (it fails its check, is empty or is no database) copied byte for byte and
//     never "repaired"; a missing one needs nothing.
//  4. `source` is written into `target` through SQLite's online backup, in one transaction of
//     `target`: a copy of the program that has the file open reads the old registers or the new
//     ones, never a mixture, and is never left writing into a renamed file. A missing target is
//     made (for its owner only); a damaged one is emptied first and, should the writing fail
//     or be stopped, given its old bytes back.
// A failure after step 3 leaves `target` as it was and removes the copy step 3 made of a sound
// file (it is the same as `target`); a kept damaged file always stays. Reports to `progress`,
// which may stop it. Throws platform::Error (FileError naming the file where a file failed).
Replaced replaceRegisters(const QString& source, const QString& target, const QString& keepFolder,
                          KeepAs naming, const QDateTime& now,
                          platform::Progress& progress = platform::noProgress());

} // namespace tools
