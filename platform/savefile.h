#pragma once

#include "platform/errors.h"

#include <QSaveFile>
#include <QString>

namespace platform {

// A file that could not be written: its path and the reason the system gave. The message is
// English ("Cannot write '...': ..."); the companion says it in Turkish from path and reason.
class WriteError : public Error {
public:
    WriteError(QString path, QString reason)
        : Error(QStringLiteral("Cannot write '%1': %2").arg(path, reason)), path_(std::move(path)),
          reason_(std::move(reason)) {}
    const QString& path() const { return path_; }
    const QString& reason() const { return reason_; }

private:
    QString path_;
    QString reason_;
};

// Opens `file` to be written whole or not at all (nothing replaces the file before commit())
// and, where the system keeps modes, readable and writable by its owner only: the lists, labels
// and cards the companion and the tool write hold pupils' names and telephone numbers. Throws
// WriteError.
void openForOwner(QSaveFile& file);
// Commits what was written; throws WriteError, leaving any earlier file as it was.
void commitFile(QSaveFile& file);

} // namespace platform
