#include "support/tempdatabase.h"

#include "data/connection.h"
#include "tools/dbfile.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <sqlite3.h>
#include <stdexcept>

namespace testsupport {

QList<QStringList> queryRows(sqlite3* db, const QString& sql, QString* error) {
    QList<QStringList> out;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK) {
        const QString message = QString::fromUtf8(sqlite3_errmsg(db));
        if (error) {
            *error = message;
            return {};
        }
        return {QStringList{message}};
    }
    while (sqlite3_step(st) == SQLITE_ROW) {
        QStringList row;
        for (int c = 0; c < sqlite3_column_count(st); ++c)
            row << (sqlite3_column_type(st, c) == SQLITE_NULL
                        ? QStringLiteral("<null>")
                        : QString::fromUtf8(
                              reinterpret_cast<const char*>(sqlite3_column_text(st, c))));
        out << row;
    }
    sqlite3_finalize(st);
    return out;
}

QList<QStringList> fileRows(const QString& file, const QString& sql) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    QList<QStringList> out = queryRows(db, sql);
    sqlite3_close_v2(db);
    return out;
}

TempDatabase::TempDatabase(const QString& folderName) {
    if (!root_.isValid())
        throw std::runtime_error("no temporary folder");
    dir_ = root_.path() + QLatin1Char('/') + folderName;
    QDir().mkpath(dir_);
    tools::createDatabase(filePath());
    const QByteArray name = QFile::encodeName(filePath());
    if (sqlite3_open_v2(name.constData(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open the test database");
    sqlite3_busy_timeout(db_, 3000);
}

TempDatabase::~TempDatabase() {
    sqlite3_close_v2(db_);
}

QString TempDatabase::executablePath() const {
    return dir_ + QStringLiteral("/ternavolk");
}

QString TempDatabase::connectionString() const {
    return data::connectionString(QDir::toNativeSeparators(dir_));
}

void TempDatabase::exec(const QString& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &message) != SQLITE_OK) {
        const QString text = QString::fromUtf8(message);
        sqlite3_free(message);
        QTest::qFail(
            qPrintable(QStringLiteral("SQL failed: ") + text + QStringLiteral(" in ") + sql),
            __FILE__, __LINE__);
        throw std::runtime_error("SQL failed");
    }
}

qint64 TempDatabase::insert(const QString& table, const QStringList& columns,
                            const QVariantList& values) {
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    const QString sql =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(db_, sql.toUtf8().constData(), -1, &st, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db_));
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& v = values[i];
        if (v.isNull())
            sqlite3_bind_null(st, i + 1);
        else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
            sqlite3_bind_int64(st, i + 1, v.toLongLong());
        else
            sqlite3_bind_text(st, i + 1, v.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
    }
    const int rc = sqlite3_step(st);
    sqlite3_finalize(st);
    if (rc != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(db_));
    return sqlite3_last_insert_rowid(db_);
}

std::vector<QStringList> TempDatabase::rows(const QString& sql) {
    QString error;
    const QList<QStringList> rows = queryRows(db_, sql, &error);
    if (!error.isEmpty())
        throw std::runtime_error(error.toStdString());
    return {rows.begin(), rows.end()};
}

qint64 TempDatabase::count(const QString& table) {
    const auto r = rows(QStringLiteral("SELECT COUNT(*) FROM ") + table);
    return r.empty() ? -1 : r.front().front().toLongLong();
}

} // namespace testsupport
