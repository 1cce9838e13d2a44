#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

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

// One run of a tool to its end.
struct ToolRun {
    bool ended = false; // by itself, within the time given, not by a crash or a signal
    int exitCode = -1;  // when it ended
    QString out, err;
};

// Runs `program` with `args` (in `workDir` and with `env` where given) and waits up to
// `timeoutMs`; a tool still running then is killed and counts as not ended.
inline ToolRun runTool(const QString& program, const QStringList& args,
                       const QString& workDir = QString(),
                       const QProcessEnvironment& env = QProcessEnvironment(),
                       int timeoutMs = 120000) {
    QProcess p;
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    if (!env.isEmpty())
        p.setProcessEnvironment(env);
    p.start(program, args);
    ToolRun r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.ended = p.exitStatus() == QProcess::NormalExit;
    if (r.ended)
        r.exitCode = p.exitCode();
    r.out = processText(p.readAllStandardOutput());
    r.err = processText(p.readAllStandardError());
    return r;
}

} // namespace testsupport
