#include "data/sqlite.h"

#include "platform/errors.h"

#include <QFile>

namespace data::sqlite {

using platform::Error;

Database::Database(const QString& path, Mode mode) : path_(path) {
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
    case Mode::ReadWrite:
        flags |= SQLITE_OPEN_READWRITE;
        break;
    case Mode::ReadOnly:
        flags |= SQLITE_OPEN_READONLY;
        break;
    case Mode::Create:
        flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
        break;
    }
    // SQLite takes UTF-8 file names on every platform (not the Windows ANSI code page).
    const QByteArray file = path.toUtf8();
    const int rc = sqlite3_open_v2(file.constData(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = db_ ? lastError() : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close_v2(db_);
        db_ = nullptr;
        throw Error(QStringLiteral("The file '%1' cannot be opened: %2").arg(path, reason));
    }
    sqlite3_extended_result_codes(db_, 1);
}

Database::~Database() {
    sqlite3_close_v2(db_);
}

QString Database::lastError() const {
    return QString::fromUtf8(sqlite3_errmsg(db_));
}

QString Database::failure(int rc, bool writing, bool deleting) const {
    const QString nothing =
        deleting ? QStringLiteral("nothing was deleted") : QStringLiteral("nothing was saved");
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        if (writing)
            return QStringLiteral("The file '%1' is in use: another copy of the program or "
                                  "another program is writing to it, and %2. Try again in a "
                                  "moment")
                .arg(path_, nothing);
        return QStringLiteral("The file '%1' is in use: another copy of the program or another "
                              "program is writing to it. Try again in a moment")
            .arg(path_);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("The file '%1' is damaged (%2)%3. Check it with 'ternavolk-db "
                              "check' and put its last backup in its place")
            .arg(path_, lastError(), writing ? QStringLiteral(", and ") + nothing : QString());
    case SQLITE_READONLY:
        if (rc == SQLITE_READONLY_DIRECTORY)
            return QStringLiteral("The program cannot write in the folder of the file '%1', so "
                                  "it cannot create the journal file beside it that keeps a "
                                  "save whole, and %2. Let the program write in that folder, or "
                                  "move DATA.mdb into a folder where it can")
                .arg(path_, nothing);
        return QStringLiteral("The file '%1' cannot be written (%2), and %3. Let the program "
                              "write to it")
            .arg(path_, lastError(), nothing);
    case SQLITE_CANTOPEN:
        return QStringLiteral("The file '%1' or its journal file cannot be opened (%2)%3. Let "
                              "the program read and write in its folder")
            .arg(path_, lastError(), writing ? QStringLiteral(", and ") + nothing : QString());
    case SQLITE_FULL:
        return QStringLiteral("The disk that holds the file '%1' is full, and %2. Free some "
                              "space on it and try again")
            .arg(path_, nothing);
    case SQLITE_IOERR:
        return QStringLiteral("The file '%1' cannot be read or written (%2)%3. Check the disk or "
                              "the network connection and try again")
            .arg(path_, lastError(), writing ? QStringLiteral(", and ") + nothing : QString());
    default:
        return lastError();
    }
}

void Database::executeScript(const QString& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throw Error(failure(rc, true));
}

Statement::Statement(const Database& db, const QString& sql) : db_(db) {
    // SQLite's statement text ends at the first U+0000; what follows would be cut off or read
    // as a broken token.
    if (sql.contains(QChar(u'\0')))
        throw Error(QStringLiteral("The text sent to the file '%1' holds the character U+0000, "
                                   "which cannot be searched for or stored. Remove it and try "
                                   "again")
                        .arg(db.path()));
    const QByteArray utf8 = sql.toUtf8();
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db.handle(), utf8.constData(), static_cast<int>(utf8.size()),
                                      &stmt_, &tail);
    if (rc != SQLITE_OK)
        throw Error(db.failure(rc, false));
    if (!stmt_)
        throw Error(QStringLiteral("The statement is empty"));
    // One statement only: whatever follows a ";" is refused rather than silently dropped.
    for (; tail && *tail; ++tail)
        if (*tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n' && *tail != ';') {
            sqlite3_finalize(stmt_);
            stmt_ = nullptr;
            throw Error(QStringLiteral("Characters found after end of SQL statement"));
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
    const char* sql = sqlite3_sql(stmt_);
    const bool deleting = sql && qstrnicmp(sql, "DELETE", 6) == 0;
    throw Error(db_.failure(rc, !sqlite3_stmt_readonly(stmt_), deleting));
}

void Statement::reset() {
    sqlite3_reset(stmt_);
}

void Statement::check(int rc) {
    if (rc != SQLITE_OK)
        throw Error(db_.failure(rc, false));
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
