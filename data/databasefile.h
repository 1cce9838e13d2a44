#pragma once

#include <QString>

// What every command asks of a database file before SQLite opens it, in one place: the
// program's connection, and the tool's create, demo, generate, import, backup and check.
namespace data {

// How a command means to use an existing file.
enum class FileUse { Read, ReadWrite };

// Why `path` cannot be taken as a database file, or the empty text: "Could not find file
// '...'." when there is none (or a folder), for ReadWrite "The file '...' cannot be opened for
// reading and writing: access is denied." when it cannot be both read and written, "The file
// '...' is empty: it is not a database of the program" (followed by `emptyAdvice`) when it
// holds no byte.
QString databaseFileProblem(const QString& path, FileUse use, const QString& emptyAdvice = {});
// The same, thrown as platform::Error.
void requireDatabaseFile(const QString& path, FileUse use, const QString& emptyAdvice = {});

// "The file '...' already exists; it is left as it is" when anything lies at `path`, else the
// empty text.
QString existingFileProblem(const QString& path);
// Makes the new, empty file `path` that only its owner may read and write (it will hold pupils'
// personal data): it never lies open to others, not even for a moment. Refuses an existing file
// (existingFileProblem) and throws platform::Error "Cannot create '...': ..." when the file
// cannot be made.
void createOwnerOnlyFile(const QString& path);

// Whether the file's header says it is kept with a write-ahead log (WAL) rather than the
// rollback journal.
bool isWriteAheadLogFile(const QString& path);

} // namespace data
