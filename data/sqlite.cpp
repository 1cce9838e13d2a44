#include "data/sqlite.h"

#include "platform/errors.h"

namespace data::sqlite {

Database::~Database() {
    sqlite3_close_v2(db_);
}

QString Database::lastError() const {
    return QString::fromUtf8(sqlite3_errmsg(db_));
}

Statement::Statement(const Database& db, const QString& sql) : db_(db) {
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db.handle(), utf8.constData(), static_cast<int>(utf8.size()),
                                      &stmt_, &tail);
    if (rc != SQLITE_OK)
        throw platform::Error(db.lastError());
    if (!stmt_)
        throw platform::Error(QStringLiteral("The statement is empty"));
    // One statement only: whatever follows a ";" is refused rather than silently dropped.
    for (; tail && *tail; ++tail)
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';') {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            throw platform::Error(QStringLiteral("Characters found after end of SQL statement"));
        }
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw platform::Error(db_.lastError());
}

void Statement::check(int rc) {
    if (rc != SQLITE_OK)
        throw platform::Error(db_.lastError());
}

void Statement::bindNull(int index) {
    check(sqlite3_bind_null(stmt_, index));
}
void Statement::bindInt64(int index, sqlite3_int64 v) {
    check(sqlite3_bind_int64(stmt_, index, v));
}
void Statement::bindDouble(int index, double v) {
    check(sqlite3_bind_double(stmt_, index, v));
}
void Statement::bindText(int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    check(sqlite3_bind_text(stmt_, index, utf8.constData(), static_cast<int>(utf8.size()),
                            SQLITE_TRANSIENT));
}
void Statement::bindText(int index, const char* utf8, int size) {
    check(sqlite3_bind_text(stmt_, index, utf8, size, SQLITE_TRANSIENT));
}
void Statement::bindBlob(int index, const void* data, int size) {
    check(sqlite3_bind_blob(stmt_, index, data, size, SQLITE_TRANSIENT));
}

} // namespace data::sqlite
