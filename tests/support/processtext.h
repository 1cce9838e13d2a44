#pragma once

#include <QByteArray>
#include <QString>

namespace testsupport {

// What a tool printed, as text: UTF-8, with the line ends of Windows' text mode ("\r\n")
// read as the "\n" the tool wrote.
inline QString processText(const QByteArray& bytes) {
    QString text = QString::fromUtf8(bytes);
#ifdef Q_OS_WIN
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
#endif
    return text;
}

} // namespace testsupport
