#include "platform/savefile.h"

namespace platform {

void openForOwner(QSaveFile& file) {
    if (!file.open(QIODevice::WriteOnly))
        throw WriteError(file.fileName(), file.errorString());
    // The mode goes on the new file before a byte of it is written, and stays when it replaces
    // the old one.
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
#ifndef Q_OS_WIN
        file.cancelWriting();
        throw WriteError(file.fileName(), file.errorString());
#endif
    }
}

void commitFile(QSaveFile& file) {
    if (!file.commit())
        throw WriteError(file.fileName(), file.errorString());
}

} // namespace platform
