#pragma once

#include "araclar/context.h"
#include "tools/backupfolder.h"

#include <QWidget>
#include <vector>

class QLabel;
class QLineEdit;
class QSettings;
class QTableWidget;

namespace araclar {

// "Yedekler": the folder this library's backups are kept in (remembered for this DATA.mdb), the
// backups there (the rotation's, the copies made before a restore, damaged files kept aside,
// copies that failed their check) with their day, size, check and library, "Şimdi Yedekle",
// the daily automatic backup, "Denetle" of a backup and of DATA.mdb, and "Geri Yükle".
class BackupPage : public QWidget {
public:
    BackupPage(const Context& context, QSettings& settings, QWidget* parent = nullptr);

    QString folder() const;
    // Asks for the folder and remembers it for this library.
    void chooseFolder();
    // A checked backup now, then the rotation.
    void backupNow();
    // On opening: a backup when the newest of the rotation is older than a day (none without a
    // folder). True when one was made.
    bool backupIfDue();
    // Checks the chosen backup again.
    void checkChosen();
    // Checks DATA.mdb itself.
    void checkRegisters();
    // Puts the chosen backup back into DATA.mdb after the librarian confirms.
    void restoreChosen();
    // Lists the backups in the folder.
    void refresh();

    QLineEdit* folderEdit;
    QTableWidget* backups;
    QLabel* statusLabel;

private:
    const tools::BackupEntry& chosen() const;

    const Context& context_;
    QSettings& settings_;
    std::vector<tools::BackupEntry> entries_;
};

// How the list names a kind of backup.
QString backupKindText(tools::BackupKind kind);

} // namespace araclar
