#pragma once

#include <QString>

namespace tools {

// Copies the database `source` into the new file `destination` through SQLite's online backup:
// the copy is the file as one committed moment left it, even while the program writes to it,
// and `source` is only read. The whole backup waits up to the tool's patience for a lock held
// by another copy of the program. The copy is readable and writable by its owner only; an
// existing `destination` is refused and left as it is. Then the copy is checked as
// checkDatabase checks a file: when it fails, the copy stays and the error says that the source
// is damaged and names the findings. Throws platform::Error naming the file.
void backupDatabase(const QString& source, const QString& destination);

} // namespace tools
