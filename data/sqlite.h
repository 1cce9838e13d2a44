#pragma once

#include <QString>
#include <sqlite3.h>

namespace data::sqlite {

// Registers the program's Turkish LIKE (data::turkishLike) on a connection.
void installTurkishLike(sqlite3* db);

// Owns one connection to one file; closed with sqlite3_close_v2. Neither copied nor moved.
// Every failure of SQLite on it is turned into a message that names the file, says what
// happened and what to do (failure()).
class Database {
public:
    enum class Mode {
        ReadWrite, // an existing file, never created
        ReadOnly,  // an existing file, never written
        Create,    // a new file may be made
    };
    // Opens the file with extended result codes on; throws platform::Error naming the file.
    Database(const QString& path, Mode mode);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& path() const { return path_; }
    // SQLite's own text for the last failure.
    QString lastError() const;
    // The message for the failed result code `rc` of a statement that writes (`writing`) or
    // reads. Failures of the file (locked, damaged, unwritable folder, full disk, input or
    // output) name the file and what to do; every other failure (a refused change, a wrong
    // statement) keeps SQLite's own text.
    QString failure(int rc, bool writing, bool deleting = false) const;

    // Runs one or more statements separated by ";", discarding any rows.
    void executeScript(const QString& sql);

private:
    QString path_;
    sqlite3* db_ = nullptr;
};

// One prepared statement for as long as it is used. Throws platform::Error on failure.
class Statement {
public:
    Statement(const Database& db, const QString& sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    sqlite3_stmt* handle() const { return stmt_; }
    // One step: true while a row stands ready, false when done.
    bool step();
    // Ready to run again with new bindings.
    void reset();
    void bindNull(int index);
    void bindInt64(int index, sqlite3_int64 v);
    void bindDouble(int index, double v);
    void bindText(int index, const QString& text);
    void bindText(int index, const char* utf8, int size);
    void bindBlob(int index, const void* data, int size);

private:
    void check(int rc);
    const Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

} // namespace data::sqlite
