#pragma once

#include "data/databasefile.h"

#include <QString>

namespace platform {
class Error;
}

namespace araclar {

// What the companion tells the librarian of a failure: a Turkish sentence of what happened and
// one of what to do, both fitting the cause. SQLite's or the system's own words, where there
// are any, follow as a detail.
struct Advice {
    QString what;
    QString todo;
};

// The table: each cause of a file's failure, for `path`. `registers`: the file is the library's
// DATA.mdb (a missing or damaged one sends the librarian elsewhere than any other file does).
Advice adviceFor(data::FileFault fault, const QString& path, bool registers);

// Whether `path` names the library's own DATA.mdb (by its name, as the program finds it).
bool isRegisters(const QString& path);

// The whole message for a failure: for a file's failure (data::FileError) and a file that could
// not be written (platform::WriteError) the table's sentences and the detail; every other error
// already speaks Turkish and is given as it is.
QString turkishMessage(const platform::Error& error);

} // namespace araclar
