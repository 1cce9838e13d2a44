#pragma once

#include "data/sqlite.h"

namespace tools {

// One short write transaction: BEGIN IMMEDIATE takes the write lock at once (waiting up to the
// connection's busy timeout for another copy's write), so that what is read inside it stays as
// read until COMMIT. Rolled back when it ends without commit(), on any exception.
class WriteTransaction {
public:
    explicit WriteTransaction(data::sqlite::Database& db) : db_(db) {
        db_.execute(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~WriteTransaction() {
        if (!done_) {
            try {
                db_.execute(QStringLiteral("ROLLBACK"));
            } catch (...) {
                // SQLite has already rolled back whatever failed; nothing is left open.
            }
        }
    }
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    void commit() {
        db_.execute(QStringLiteral("COMMIT"));
        done_ = true;
    }

private:
    data::sqlite::Database& db_;
    bool done_ = false;
};

} // namespace tools
