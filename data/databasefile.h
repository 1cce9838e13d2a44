#pragma once

#include "platform/errors.h"

#include <QString>

// What every command asks of a database file before SQLite opens it, in one place: the
// program's connection, and the tool's create, demo, generate, import, backup and check.
namespace data {

// What went wrong with a file, so that a message can say what fits its cause: the program and
// the tool say it in English, the companion in Turkish.
enum class FileFault {
    Other,             // a refused change or a wrong statement: SQLite's own text says it
    Missing,           // no file there (or a folder)
    AccessDenied,      // the file may not be read (or written, where it must be)
    Empty,             // a file of no bytes
    Exists,            // a file that must not be overwritten is already there
    Busy,              // another copy of the program or another program holds it locked
    Damaged,           // SQLite finds its pages damaged
    NotADatabase,      // the file is not an SQLite database at all
    AccessFormat,      // an old Access-format library, to be brought across first
    LeftJournal,       // a save that did not finish left its journal beside the file
    FolderNotWritable, // no journal can be made in the file's folder
    ReadOnly,          // the file itself may not be written
    CannotOpen,        // the file or its journal cannot be opened
    DiskFull,          // no room left on its disk
    InputOutput,       // the disk or the network failed while reading or writing
    WriteAheadLog,     // another program switched it to a write-ahead log
};

// A failure of one file: its cause, the file, the message (English, saying what to do) and,
// where SQLite said something of its own, SQLite's text.
class FileError : public platform::Error {
public:
    FileError(FileFault fault, QString path, QString message, QString detail = QString())
        : Error(std::move(message)), fault_(fault), path_(std::move(path)),
          detail_(std::move(detail)) {}
    FileFault fault() const { return fault_; }
    const QString& path() const { return path_; }
    const QString& detail() const { return detail_; }

private:
    FileFault fault_;
    QString path_;
    QString detail_;
};

// Whether the file begins with the signature of an Access-format database (Jet or ACE).
bool isAccessFile(const QString& path);

// How a command means to use an existing file.
enum class FileUse { Read, ReadWrite };

// Why `path` cannot be taken as a database file, or the empty text: "Could not find file
// '...'." when there is none (or a folder), for ReadWrite "The file '...' cannot be opened for
// reading and writing: access is denied." when it cannot be both read and written, "The file
// '...' is empty: it is not a database of the program" (followed by `emptyAdvice`) when it
// holds no byte.
QString databaseFileProblem(const QString& path, FileUse use, const QString& emptyAdvice = {});
// The same, thrown as FileError (Missing, AccessDenied or Empty).
void requireDatabaseFile(const QString& path, FileUse use, const QString& emptyAdvice = {});

// "The file '...' already exists; it is left as it is" when anything lies at `path`, else the
// empty text.
QString existingFileProblem(const QString& path);
// The same, thrown as FileError (Exists).
void requireNoFile(const QString& path);
// Makes the new, empty file `path` that only its owner may read and write (it will hold pupils'
// personal data): it never lies open to others, not even for a moment. Refuses an existing file
// (existingFileProblem) and throws FileError "Cannot create '...': ..." when the file cannot be
// made (Missing: no such folder, FolderNotWritable, AccessDenied, or Other).
void createOwnerOnlyFile(const QString& path);

// Whether the file's header says it is kept with a write-ahead log (WAL) rather than the
// rollback journal.
bool isWriteAheadLogFile(const QString& path);

} // namespace data
