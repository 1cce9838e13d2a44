#pragma once

#include <QString>

namespace araclar {

// Copies the backup `backup` into the existing database file `target` through SQLite's online
// backup: one transaction on `target`, so that a copy of the program that has the file open
// reads either the old registers or the restored ones, never a mixture, and sees the restored
// ones from its next read. Waits while another copy writes. Throws platform::Error with a
// Turkish message; on failure `target` is left as it was.
void restoreDatabase(const QString& backup, const QString& target);

} // namespace araclar
