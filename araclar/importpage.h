#pragma once

#include "araclar/context.h"

#include <QProcess>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace araclar {

// "Access'ten Aktar": brings an old Access-format DATA.mdb across by running the database tool
// beside the companion, with a progress bar, the summary and warnings in Turkish and a cancel;
// at the end it offers to put the new file in place of DATA.mdb (the old one renamed).
class ImportPage : public QWidget {
public:
    explicit ImportPage(const Context& context, QWidget* parent = nullptr);
    ~ImportPage() override;

    void chooseOld();
    void chooseNew();
    // Starts the tool; returns at once, the page follows its output.
    void start();
    // Stops the tool; what it left half-written is removed.
    void cancel();
    bool running() const;
    // Puts the new file's registers into DATA.mdb after the librarian agrees
    // (tools::replaceRegisters); the old DATA.mdb is kept beside it first as
    // "DATA-eski-<day and time>.mdb", never deleted.
    void offerToPutInPlace();

    QLineEdit* oldEdit;
    QLineEdit* newEdit;
    QPushButton* startButton;
    QPushButton* cancelButton;
    QProgressBar* progress;
    QLabel* stateLabel;
    QPlainTextEdit* summary;

private:
    void readOutput();
    void finished(int exitCode, QProcess::ExitStatus status);
    void failedToStart();
    void removeLeftovers();
    void setRunning(bool on);

    const Context& context_;
    QProcess* process_ = nullptr;
    QByteArray pending_;
    QString failure_;    // the tool's reason, in Turkish, when it refused
    QStringList before_; // the files beside NEW before the tool ran
    bool cancelled_ = false;
};

} // namespace araclar
