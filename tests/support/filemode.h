#pragma once

#include <QFileDevice>
#include <QFileInfo>
#include <QString>
#include <QTest>

namespace testsupport {

// A file's POSIX mode: owner, group and others.
inline QFileDevice::Permissions modeOf(const QString& path) {
    return QFileInfo(path).permissions() & QFileDevice::Permissions(0x7000 | 0x0070 | 0x0007);
}

// Readable and writable by the owner alone: what pupils' data gets.
inline const QFileDevice::Permissions ownerOnly =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace testsupport

// The mode the tool gives a file it makes. Windows has no such mode (a new file takes its
// folder's access list), so there it is not compared.
#ifdef Q_OS_WIN
#define COMPARE_FILE_MODE(path, mode) static_cast<void>(mode)
#else
#define COMPARE_FILE_MODE(path, mode) QCOMPARE(testsupport::modeOf(path), mode)
#endif
