#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

namespace araclar {

// What every page works with: the files it reads and writes and the clock (tests set it).
struct Context {
    QString databasePath; // DATA.mdb beside the executable
    QString toolPath;     // ternavolk-db beside the executable
    QString settingsFile; // the companion's own settings (the backup folder, checks)
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };

    QDate today() const { return now().date(); }

    // The key under which the companion's settings keep `name` for this library: each DATA.mdb,
    // known by its full path, has its own backup folder, school and rules, so that a companion
    // started beside another library never takes the first one's.
    QString libraryKey(const QString& name) const;
};

// The context of a companion started as `executablePath`, with its settings in `settingsFile`.
Context contextFor(const QString& executablePath, const QString& settingsFile);

} // namespace araclar
