#pragma once

#include "araclar/context.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QSettings;
class QTableWidget;

namespace araclar {

// "Yedekler": the folder the backups are kept in (remembered in the companion's settings), the
// backups there with their day, size and check, "Şimdi Yedekle", the daily automatic backup,
// and "Geri Yükle".
class BackupPage : public QWidget {
public:
    BackupPage(const Context& context, QSettings& settings, QWidget* parent = nullptr);

    QString folder() const;
    // Asks for the folder and remembers it.
    void chooseFolder();
    // A checked backup now, then the rotation.
    void backupNow();
    // On opening: a backup when the newest one is older than a day (none without a folder).
    // True when one was made.
    bool backupIfDue();
    // Checks the chosen backup again.
    void checkChosen();
    // Puts the chosen backup back into DATA.mdb after the librarian confirms.
    void restoreChosen();
    // Lists the backups in the folder.
    void refresh();

    QLineEdit* folderEdit;
    QTableWidget* backups;
    QLabel* statusLabel;

private:
    QString chosenBackup() const;
    void rememberCheck(const QString& fileName, const QStringList& problems);

    const Context& context_;
    QSettings& settings_;
};

} // namespace araclar
