#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// A folder of backups, and the names of what lies in it. Only the rotation's backups are ever
// counted, kept or deleted by the rotation; the other kinds stay until the librarian deletes
// them:
//   DATA-2026-05-21-170500.mdb                     a checked backup (the rotation's), and
//   DATA-2026-05-21-170500-2.mdb                   a second one made in the same second
//   DATA-geri-yukleme-oncesi-2026-05-21-170500.mdb the registers as they were before a restore
//   DATA-bozuk-2026-05-21-170500.mdb               a damaged DATA.mdb kept as it was, byte for
//                                                  byte, before a restore replaced it
//   DATA-SORUNLU-2026-05-21-170500.mdb             a copy that failed its check: not a backup,
//                                                  kept because it may be the best there is
// Beside them the folder keeps an index, "yedekler.ini", of which library (the full path of
// its DATA.mdb) each file was made from and how its last check ended.
namespace tools {

// "yyyy-MM-dd-HHmmss": the moment in every name above.
QString stampText(const QDateTime& when);

enum class BackupKind { Rotation, BeforeRestore, Damaged, Failed };

// The file name of a backup of `kind` made at `when`, free in `folder`: a name that is taken
// gets "-2", "-3", … before ".mdb".
QString backupFileName(const QString& folder, BackupKind kind, const QDateTime& when);
// The same for a name of one's own: "<prefix>-<stamp>.mdb", free in `folder`.
QString freeFileName(const QString& folder, const QString& prefix, const QDateTime& when);

struct BackupName {
    BackupKind kind;
    QDateTime made;
    int sequence = 1; // 2, 3, … for a second, third file of the same second
};
// What a file name in a backup folder stands for; empty for any other name.
std::optional<BackupName> parseBackupName(const QString& fileName);

// How a backup's last check ended.
enum class CheckState { Unknown, Sound, Problems };

struct BackupEntry {
    QString fileName;
    BackupKind kind;
    QDateTime made;
    qint64 size = 0;
    QString source; // the library it was made from; empty when not known
    CheckState check = CheckState::Unknown;
};

// Every file of the kinds above in `folder`, newest first (the same second: the later
// sequence first), with what the index says of each.
std::vector<BackupEntry> backupEntries(const QString& folder);

// Notes in the folder's index that `fileName` was made from the library `source` (empty: leave
// what it says) and how its check ended. A folder that cannot be written keeps no note; the
// backup itself is not the worse for it.
void noteBackup(const QString& folder, const QString& fileName, const QString& source,
                CheckState check);
// Forgets what the index says of a file that is gone.
void forgetBackup(const QString& folder, const QString& fileName);

// The full path by which the index names a library.
QString libraryIdentity(const QString& databasePath);
// Whether two such paths name one library: on Windows whatever their letters' case.
bool sameLibrary(const QString& a, const QString& b);

} // namespace tools
