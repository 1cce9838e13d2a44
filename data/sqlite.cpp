#include "data/sqlite.h"

#include "data/turkishlike.h"
#include "platform/errors.h"

#include <QStringList>
#include <cstring>

namespace data::sqlite {

using platform::Error;

namespace {

void likeFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    // like(pattern, text): "text LIKE pattern". Null on either side never matches.
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int pn = sqlite3_value_bytes(argv[0]);
    const auto* t = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int tn = sqlite3_value_bytes(argv[1]);
    sqlite3_result_int(ctx, turkishLike(std::string_view(p ? p : "", static_cast<size_t>(pn)),
                                        std::string_view(t ? t : "", static_cast<size_t>(tn))));
}

QString fromUtf8(const char* text) {
    return QString::fromUtf8(text ? text : "");
}

} // namespace

void installTurkishLike(sqlite3* db) {
    sqlite3_create_function(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                            nullptr, likeFunction, nullptr, nullptr);
}

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
        throw FileError(FileFault::CannotOpen, path,
                        QStringLiteral("The file '%1' cannot be opened: %2").arg(path, reason),
                        reason);
    }
    sqlite3_extended_result_codes(db_, 1);
}

Database::~Database() {
    sqlite3_close_v2(db_);
}

QString Database::lastError() const {
    return QString::fromUtf8(sqlite3_errmsg(db_));
}

QString Database::reason(int rc) const {
    const int mine = sqlite3_extended_errcode(db_);
    if ((mine & 0xFF) == (rc & 0xFF) && (mine & 0xFF) != SQLITE_OK)
        return lastError();
    return QString::fromUtf8(sqlite3_errstr(rc));
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
            .arg(path_, reason(rc), writing ? QStringLiteral(", and ") + nothing : QString());
    case SQLITE_READONLY:
        if (rc == SQLITE_READONLY_ROLLBACK)
            return QStringLiteral("A save that did not finish left its journal file '%1-journal' "
                                  "beside the file '%1': a copy of the program or another "
                                  "program stopped while it was writing. Open the file once with "
                                  "the program, where it may write in that folder: that "
                                  "completes the repair. Then run this command again. Do not "
                                  "delete the journal file, the repair needs it")
                .arg(path_);
        if (rc == SQLITE_READONLY_DIRECTORY)
            return QStringLiteral("The program cannot write in the folder of the file '%1', so "
                                  "it cannot create the journal file beside it that keeps a "
                                  "save whole, and %2. Let the program write in that folder, or "
                                  "move DATA.mdb into a folder where it can")
                .arg(path_, nothing);
        return QStringLiteral("The file '%1' cannot be written (%2), and %3. Let the program "
                              "write to it")
            .arg(path_, reason(rc), nothing);
    case SQLITE_CANTOPEN:
        return QStringLiteral("The file '%1' or its journal file cannot be opened (%2)%3. Let "
                              "the program read and write in its folder")
            .arg(path_, reason(rc), writing ? QStringLiteral(", and ") + nothing : QString());
    case SQLITE_FULL:
        return QStringLiteral("The disk that holds the file '%1' is full, and %2. Free some "
                              "space on it and try again")
            .arg(path_, nothing);
    case SQLITE_IOERR:
        return QStringLiteral("The file '%1' cannot be read or written (%2)%3. Check the disk or "
                              "the network connection and try again")
            .arg(path_, reason(rc), writing ? QStringLiteral(", and ") + nothing : QString());
    default:
        return reason(rc);
    }
}

FileFault Database::faultOf(int rc) {
    switch (rc & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return FileFault::Busy;
    case SQLITE_CORRUPT:
        return FileFault::Damaged;
    case SQLITE_NOTADB:
        return FileFault::NotADatabase;
    case SQLITE_READONLY:
        if (rc == SQLITE_READONLY_ROLLBACK)
            return FileFault::LeftJournal;
        if (rc == SQLITE_READONLY_DIRECTORY)
            return FileFault::FolderNotWritable;
        return FileFault::ReadOnly;
    case SQLITE_CANTOPEN:
        return FileFault::CannotOpen;
    case SQLITE_FULL:
        return FileFault::DiskFull;
    case SQLITE_IOERR:
        return FileFault::InputOutput;
    default:
        return FileFault::Other;
    }
}

FileError Database::error(int rc, bool writing, bool deleting) const {
    return FileError(faultOf(rc), path_, failure(rc, writing, deleting), reason(rc));
}

int Database::readHeader() {
    return sqlite3_exec(db_, "PRAGMA schema_version", nullptr, nullptr, nullptr);
}

void Database::setBusyTimeout(int ms) {
    sqlite3_busy_timeout(db_, ms);
}

void Database::execute(const QString& sql) {
    Statement st(*this, sql);
    while (st.step()) {
    }
}

int Database::changes() const {
    return sqlite3_changes(db_);
}

qint64 Database::lastInsertKey() const {
    return sqlite3_last_insert_rowid(db_);
}

QString Database::journalMode() {
    Statement st(*this, QStringLiteral("PRAGMA journal_mode"));
    return st.step() ? st.text(0) : QString();
}

void Database::keepRollbackJournal() {
    if (journalMode() != u"wal")
        return;
    Statement st(*this, QStringLiteral("PRAGMA journal_mode = DELETE"));
    const QString mode = st.step() ? st.text(0) : QString();
    if (mode != u"delete")
        throw FileError(FileFault::WriteAheadLog, path_,
                        QStringLiteral("The file '%1' was switched to a write-ahead log (WAL) by "
                                       "another program, and the program cannot switch it back "
                                       "to the journal file it keeps beside it while that "
                                       "program has it open. Close the other program and try "
                                       "again")
                            .arg(path_));
}

ColumnDeclaration Database::declaration(const QString& table, const QString& column) const {
    ColumnDeclaration d;
    const char* type = nullptr;
    int primaryKey = 0, autoIncrement = 0;
    const QByteArray t = table.toUtf8(), c = column.toUtf8();
    if (sqlite3_table_column_metadata(db_, "main", t.constData(), c.constData(), &type, nullptr,
                                      nullptr, &primaryKey, &autoIncrement) != SQLITE_OK)
        return d;
    d.found = true;
    d.declaredType = fromUtf8(type);
    d.primaryKey = primaryKey != 0;
    d.autoIncrement = autoIncrement != 0;
    return d;
}

void Database::copyInto(Database& to, QDeadlineTimer deadline, platform::Progress& progress) {
    const auto waitLeft = [&] {
        return static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0));
    };
    // One read transaction over all the steps: nobody can commit to this file meanwhile, so the
    // copy never starts again and is one moment of the file.
    setBusyTimeout(waitLeft());
    execute(QStringLiteral("BEGIN"));
    struct ReadEnd {
        const Database& db;
        ~ReadEnd() { sqlite3_exec(db.db_, "ROLLBACK", nullptr, nullptr, nullptr); }
    } readEnd{*this};
    {
        Statement first(*this, QStringLiteral("SELECT count(*) FROM sqlite_schema"));
        first.step();
    }
    sqlite3_backup* backup = sqlite3_backup_init(to.db_, "main", db_, "main");
    if (!backup)
        throw to.error(sqlite3_extended_errcode(to.db_), true);
    struct BackupEnd {
        sqlite3_backup* b;
        ~BackupEnd() { sqlite3_backup_finish(b); }
    } backupEnd{backup};
    // Some hundred pages a step: the progress moves, and a stop comes soon.
    constexpr int pagesPerStep = 256;
    bool begun = false;
    for (;;) {
        to.setBusyTimeout(std::min(waitLeft(), 200));
        const int rc = sqlite3_backup_step(backup, pagesPerStep);
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            // The other file is being written: wait for a moment when it is not.
            if (deadline.hasExpired())
                throw to.error(rc, true);
            sqlite3_sleep(50);
            progress.step(0);
            continue;
        }
        if (rc != SQLITE_OK) {
            // Damage is this file's, read; every other failure the other file's, written.
            if ((rc & 0xFF) == SQLITE_CORRUPT || (rc & 0xFF) == SQLITE_NOTADB)
                throw error(rc, false);
            throw to.error(rc, true);
        }
        const int total = sqlite3_backup_pagecount(backup);
        if (!begun) {
            progress.begin(total);
            begun = true;
        }
        progress.step(total - sqlite3_backup_remaining(backup));
    }
}

void Database::executeScript(const QString& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK)
        throw error(rc, true);
}

std::unique_ptr<Database> openForWriting(const QString& path, int busyMs) {
    requireDatabaseFile(path, FileUse::ReadWrite);
    auto db = std::make_unique<Database>(path, Database::Mode::ReadWrite);
    db->setBusyTimeout(busyMs);
    installTurkishLike(db->handle());
    db->keepRollbackJournal();
    db->execute(QStringLiteral("PRAGMA synchronous = FULL"));
    return db;
}

WriteTransaction::WriteTransaction(Database& db) : db_(db) {
    db_.execute(QStringLiteral("BEGIN IMMEDIATE"));
}

WriteTransaction::~WriteTransaction() {
    if (!done_)
        // SQLite has already rolled back whatever failed (a failed COMMIT on a full disk does):
        // nothing is left open either way.
        sqlite3_exec(db_.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void WriteTransaction::commit() {
    db_.execute(QStringLiteral("COMMIT"));
    done_ = true;
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
        throw db.error(rc, false);
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
    throw db_.error(rc, !sqlite3_stmt_readonly(stmt_), deleting);
}

void Statement::reset() {
    sqlite3_reset(stmt_);
}

void Statement::bindCell(int index, const RowStore::Cell& cell) {
    switch (cell.storage) {
    case RowStore::Storage::Null:
        bindNull(index);
        break;
    case RowStore::Storage::Integer: {
        sqlite3_int64 i = 0;
        std::memcpy(&i, cell.bytes.data(), sizeof i);
        bindInt64(index, i);
        break;
    }
    case RowStore::Storage::Float: {
        double d = 0;
        std::memcpy(&d, cell.bytes.data(), sizeof d);
        bindDouble(index, d);
        break;
    }
    case RowStore::Storage::Text:
        bindText(index, cell.bytes.data(), static_cast<int>(cell.bytes.size()));
        break;
    case RowStore::Storage::Blob:
        bindBlob(index, cell.bytes.data(), static_cast<int>(cell.bytes.size()));
        break;
    }
}

int Statement::columnCount() const {
    return sqlite3_column_count(stmt_);
}

QString Statement::columnName(int column) const {
    return fromUtf8(sqlite3_column_name(stmt_, column));
}

ColumnDeclaration Statement::declaration(int column) const {
    const char* table = sqlite3_column_table_name(stmt_, column);
    const char* origin = sqlite3_column_origin_name(stmt_, column);
    ColumnDeclaration d;
    if (table && origin)
        d = db_.declaration(fromUtf8(table), fromUtf8(origin));
    if (!d.found)
        d.declaredType = fromUtf8(sqlite3_column_decltype(stmt_, column));
    return d;
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

qint64 Statement::int64(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

QString Statement::text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(stmt_, column)) : QString();
}

QByteArrayView Statement::utf8(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    if (!text)
        return QByteArrayView();
    return QByteArrayView(text, sqlite3_column_bytes(stmt_, column));
}

void Statement::readRow(const std::vector<int>& map, RowStore& rows) const {
    rows.beginRow();
    for (const int i : map) {
        switch (sqlite3_column_type(stmt_, i)) {
        case SQLITE_NULL:
            rows.addNull();
            break;
        case SQLITE_INTEGER:
            rows.addInteger(sqlite3_column_int64(stmt_, i));
            break;
        case SQLITE_FLOAT:
            rows.addFloat(sqlite3_column_double(stmt_, i));
            break;
        case SQLITE_TEXT: {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
            rows.addText(text, static_cast<size_t>(sqlite3_column_bytes(stmt_, i)));
            break;
        }
        default: {
            const void* blob = sqlite3_column_blob(stmt_, i);
            rows.addBlob(blob, static_cast<size_t>(sqlite3_column_bytes(stmt_, i)));
            break;
        }
        }
    }
}

void Statement::check(int rc) {
    if (rc != SQLITE_OK)
        throw db_.error(rc, false);
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

namespace {
QString columnName(const TableDef& table, int column) {
    return QString::fromUtf16(table.columns[static_cast<size_t>(column)].name);
}
} // namespace

void bindValue(Statement& st, int index, const TableDef& table, int column, const Value& v) {
    if (v.isNull()) {
        st.bindNull(index);
    } else if (v.isInteger()) {
        st.bindInt64(index, v.toInteger());
    } else if (v.isDateTime()) {
        // Stored, such a date would come back as a text no one can read as a date.
        if (!isStorable(v.toDateTime()))
            throw Error(unstorableDateTimeMessage(columnName(table, column), v.toDateTime()));
        st.bindText(index, v.toDateTime().toIso());
    } else {
        st.bindText(index, v.toText());
    }
}

namespace {
QString insertStatement(const TableDef& table, const std::vector<int>& columns,
                        const QString& tail) {
    QString sql = QStringLiteral("INSERT INTO ") + table.tableName();
    if (columns.empty())
        return sql + QStringLiteral(" DEFAULT VALUES") + tail;
    QStringList names, marks;
    for (const int c : columns) {
        names << columnName(table, c);
        marks << QStringLiteral("?");
    }
    return sql + QStringLiteral(" (") + names.join(QStringLiteral(", ")) +
           QStringLiteral(") VALUES (") + marks.join(QStringLiteral(", ")) + QLatin1Char(')') +
           tail;
}

bool holdsKind(const Value& v, Kind kind) {
    switch (kind) {
    case Kind::AutoInc:
    case Kind::Integer:
        return v.isInteger();
    case Kind::WideString:
        return v.isText();
    case Kind::DateTime:
        return v.isDateTime();
    }
    return false;
}
} // namespace

RowInserter::RowInserter(const Database& db, const TableDef& table, std::vector<int> columns,
                         Rules rules, const QString& tail)
    : table_(table), columns_(std::move(columns)), rules_(rules),
      statement_(db, insertStatement(table, columns_, tail)) {}

std::vector<int> RowInserter::allButKey(const TableDef& table) {
    std::vector<int> columns;
    for (size_t i = 0; i < table.columns.size(); ++i)
        if (table.columns[i].kind != Kind::AutoInc)
            columns.push_back(static_cast<int>(i));
    return columns;
}

std::vector<int> RowInserter::all(const TableDef& table) {
    std::vector<int> columns(table.columns.size());
    for (size_t i = 0; i < columns.size(); ++i)
        columns[i] = static_cast<int>(i);
    return columns;
}

void RowInserter::bind(const std::vector<Value>& values) {
    if (values.size() != columns_.size())
        throw Error(QStringLiteral("%1: %2 values for %3 columns")
                        .arg(table_.tableName())
                        .arg(values.size())
                        .arg(columns_.size()));
    for (size_t i = 0; i < columns_.size(); ++i) {
        const int c = columns_[i];
        const Value& v = values[i];
        const ColumnDef& column = table_.columns[static_cast<size_t>(c)];
        if (rules_ != Rules::AsGiven && !v.isNull()) {
            if (!holdsKind(v, column.kind))
                throw Error(
                    QStringLiteral("%1.%2: a value of another kind than %3")
                        .arg(table_.tableName(), columnName(table_, c), kindName(column.kind)));
            if (v.isText() && v.toText().size() > column.size) {
                if (rules_ == Rules::Strict)
                    throw Error(QStringLiteral("%1.%2: '%3' is longer than %4 characters")
                                    .arg(table_.tableName(), columnName(table_, c), v.toText())
                                    .arg(column.size));
                ++tooLong_[c];
            }
        }
        bindValue(statement_, static_cast<int>(i) + 1, table_, c, v);
    }
}

void RowInserter::insert(const std::vector<Value>& values) {
    bind(values);
    while (statement_.step()) {
    }
    statement_.reset();
}

} // namespace data::sqlite
