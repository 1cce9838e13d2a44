#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <memory>
#include <vector>

namespace data::sqlite {
class Database;
}

namespace testsupport {

// Every row of a query on an open connection, cells as text ("<null>" for null). Any failure,
// also one after some rows, throws platform::Error: a test never reads an error as data.
QList<QStringList> queryRows(const data::sqlite::Database& db, const QString& sql);
// The same, read straight from a database file (opened read-only for the query).
QList<QStringList> fileRows(const QString& file, const QString& sql);

// Overwrites the root page of `table` in the database `file` with 0xFF bytes, the file's header
// left whole: a damage SQLite finds at the first read of that table. False when it could not.
bool overwriteRootPage(const QString& file, const QString& table);

// Leaves `path` as a save that stopped in the middle leaves it: the file half written and its
// journal beside it, which the program plays back at its next open. `scratch` is a folder for
// the work. False when it could not.
bool leaveUnfinishedSave(const QString& path, const QString& scratch);

// A temporary executable folder holding a fresh, empty DATA.mdb (the three tables). The folder
// name may carry blanks and Turkish letters; everything is removed with the object.
class TempDatabase {
public:
    explicit TempDatabase(const QString& folderName = QStringLiteral("Kütüphane Programı"));
    ~TempDatabase();

    // The executable's folder and the file, in the platform's own separators, as the program
    // names them in its messages.
    QString directory() const { return dir_; }
    QString executablePath() const; // <dir>/ternavolk
    QString filePath() const;
    // Closes this object's own connection (opened again when next needed), so that the file
    // may be renamed or removed: Windows does neither to an open file.
    void release();
    bool removeFile();
    QString connectionString() const;

    // Runs SQL on a separate connection (as another copy of the program would); fails the
    // test on error.
    void exec(const QString& sql);
    // Inserts one row: column names and values (QVariant: null, int, QString; a date-time is
    // given as its ISO text). Returns the new IDNO.
    qint64 insert(const QString& table, const QStringList& columns, const QVariantList& values);
    // All rows of a query as text cells ("<null>" for null), for exact comparisons.
    std::vector<QStringList> rows(const QString& sql);
    qint64 count(const QString& table);

private:
    data::sqlite::Database& connection();

    QTemporaryDir root_;
    QString dir_;
    std::unique_ptr<data::sqlite::Database> db_;
};

} // namespace testsupport
