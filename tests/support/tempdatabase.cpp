#include "support/tempdatabase.h"

#include "data/connectionstring.h"
#include "data/sqlite.h"
#include "platform/errors.h"
#include "tools/dbfile.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <stdexcept>

namespace testsupport {

using data::sqlite::Database;
using data::sqlite::Statement;

QList<QStringList> queryRows(const Database& db, const QString& sql) {
    QList<QStringList> out;
    Statement st(db, sql);
    while (st.step()) {
        QStringList row;
        for (int c = 0; c < st.columnCount(); ++c)
            row << (st.isNull(c) ? QStringLiteral("<null>") : st.text(c));
        out << row;
    }
    return out;
}

QList<QStringList> fileRows(const QString& file, const QString& sql) {
    const Database db(file, Database::Mode::ReadOnly);
    return queryRows(db, sql);
}

bool overwriteRootPage(const QString& file, const QString& table) {
    const qint64 root =
        fileRows(file,
                 QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = '%1'").arg(table))
            .value(0)
            .value(0)
            .toLongLong();
    QFile f(file);
    return root > 0 && f.open(QIODevice::ReadWrite) && f.seek((root - 1) * 4096) &&
           f.write(QByteArray(4096, '\xff')) == 4096;
}

bool leaveUnfinishedSave(const QString& path, const QString& scratch) {
    const QString copy = scratch + QStringLiteral("/DATA.mdb");
    if (!QFile::copy(path, copy))
        return false;
    Database writer(copy, Database::Mode::ReadWrite);
    writer.execute(QStringLiteral("PRAGMA cache_size = 1"));
    writer.execute(QStringLiteral("BEGIN"));
    writer.execute(QStringLiteral("UPDATE kitapkayit SET ACIKLAMA = printf('%0250d', IDNO)"));
    const bool left =
        QFile::remove(path) && QFile::copy(copy, path) &&
        QFile::copy(copy + QStringLiteral("-journal"), path + QStringLiteral("-journal"));
    writer.execute(QStringLiteral("ROLLBACK"));
    return left;
}

TempDatabase::TempDatabase(const QString& folderName) {
    if (!root_.isValid())
        throw std::runtime_error("no temporary folder");
    dir_ = QDir::toNativeSeparators(root_.path() + QLatin1Char('/') + folderName);
    QDir().mkpath(dir_);
    tools::createDatabase(filePath());
    connection();
}

Database& TempDatabase::connection() {
    if (!db_) {
        db_ = std::make_unique<Database>(filePath(), Database::Mode::ReadWrite);
        db_->setBusyTimeout(data::sqlite::busyTimeoutMs);
    }
    return *db_;
}

void TempDatabase::release() {
    db_.reset();
}

TempDatabase::~TempDatabase() = default;

QString TempDatabase::executablePath() const {
    return dir_ + QDir::separator() + QStringLiteral("ternavolk");
}

QString TempDatabase::filePath() const {
    return dir_ + QDir::separator() + QStringLiteral("DATA.mdb");
}

bool TempDatabase::removeFile() {
    release();
    return QFile::remove(filePath());
}

QString TempDatabase::connectionString() const {
    return data::connectionString(QDir::toNativeSeparators(dir_));
}

void TempDatabase::exec(const QString& sql) {
    try {
        connection().executeScript(sql);
    } catch (const platform::Error& e) {
        QTest::qFail(
            qPrintable(QStringLiteral("SQL failed: ") + e.message() + QStringLiteral(" in ") + sql),
            __FILE__, __LINE__);
        throw;
    }
}

qint64 TempDatabase::insert(const QString& table, const QStringList& columns,
                            const QVariantList& values) {
    QStringList marks;
    for (qsizetype i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    Statement st(connection(), QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                   .arg(table, columns.join(QStringLiteral(", ")),
                                        marks.join(QStringLiteral(", "))));
    for (int i = 0; i < values.size(); ++i) {
        const QVariant& v = values[i];
        if (v.isNull())
            st.bindNull(i + 1);
        else if (v.typeId() == QMetaType::Int || v.typeId() == QMetaType::LongLong)
            st.bindInt64(i + 1, v.toLongLong());
        else
            st.bindText(i + 1, v.toString());
    }
    st.step();
    return connection().lastInsertKey();
}

std::vector<QStringList> TempDatabase::rows(const QString& sql) {
    const QList<QStringList> rows = queryRows(connection(), sql);
    return {rows.begin(), rows.end()};
}

qint64 TempDatabase::count(const QString& table) {
    const auto r = rows(QStringLiteral("SELECT COUNT(*) FROM ") + table);
    return r.empty() ? -1 : r.front().front().toLongLong();
}

} // namespace testsupport
