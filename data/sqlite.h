#pragma once

#include <QString>
#include <sqlite3.h>

namespace data::sqlite {

// Registers the program's Turkish LIKE (data::turkishLike) on a connection.
void installTurkishLike(sqlite3* db);

// Owns one connection; closed with sqlite3_close_v2. Neither copied nor moved.
class Database {
public:
    explicit Database(sqlite3* db) : db_(db) {}
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    sqlite3* handle() const { return db_; }
    QString lastError() const;

private:
    sqlite3* db_;
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
