#include "tools/accessimport.h"

#include "data/databasefile.h"
#include "data/sqlite.h"
#include "data/tables.h"
#include "platform/errors.h"
#include "tools/accessreader.h"
#include "tools/dbfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <map>

namespace tools {

using data::Kind;
using data::Value;
using platform::Error;

namespace {

bool holdsOurKind(Kind ours, AccessKind theirs) {
    switch (ours) {
    case Kind::AutoInc:
    case Kind::Integer:
        return theirs == AccessKind::Integer;
    case Kind::WideString:
        return theirs == AccessKind::Text;
    case Kind::DateTime:
        return theirs == AccessKind::DateTime;
    }
    return false;
}

// Copies one table: the old file's columns matched to ours by name, every row through one
// prepared statement.
class TableCopy {
public:
    TableCopy(const data::sqlite::Database& db, const data::TableDef& table,
              const ImportProgress& progress)
        : table_(table), insert_(db, table, data::sqlite::RowInserter::all(table),
                                 data::sqlite::RowInserter::Rules::KeepLongTexts),
          progress_(progress) {
        result_.table = table.tableName();
    }

    void columns(const std::vector<AccessColumn>& old) {
        source_.assign(table_.columns.size(), -1);
        for (size_t i = 0; i < old.size(); ++i) {
            const data::ColumnDef* ours = table_.column(old[i].name);
            if (!ours) {
                warn(QStringLiteral("column '%1' is not one of the program's; skipped")
                         .arg(old[i].name));
                continue;
            }
            const size_t index = static_cast<size_t>(ours - table_.columns.data());
            if (!holdsOurKind(ours->kind, old[i].kind)) {
                warn(QStringLiteral("column '%1' holds %2, which the program does not keep "
                                    "there; left empty")
                         .arg(old[i].name, old[i].typeName));
                continue;
            }
            source_[index] = static_cast<int>(i);
        }
        for (size_t c = 0; c < source_.size(); ++c) {
            if (source_[c] >= 0)
                continue;
            const QString name = QString::fromUtf16(table_.columns[c].name);
            if (table_.columns[c].kind == Kind::AutoInc)
                warn(QStringLiteral("column '%1' is missing from the old table; new record "
                                    "codes given")
                         .arg(name));
            else
                warn(QStringLiteral("column '%1' is missing from the old table; left empty")
                         .arg(name));
        }
    }

    void row(const std::vector<Value>& values) {
        ++result_.read;
        std::vector<Value> ours(source_.size());
        for (size_t c = 0; c < source_.size(); ++c)
            if (source_[c] >= 0)
                ours[c] = values[static_cast<size_t>(source_[c])];
        insert_.insert(ours);
        ++result_.written;
        if (progress_ && result_.read % importProgressStep == 0)
            progress_(result_.table, result_.read);
    }

    TableImport finish() {
        for (const auto& [c, count] : insert_.tooLong())
            warn(QStringLiteral("column '%1': %2 text(s) longer than %3 characters, kept whole")
                     .arg(QString::fromUtf16(table_.columns[c].name))
                     .arg(count)
                     .arg(table_.columns[c].size));
        return result_;
    }

private:
    void warn(const QString& text) { result_.warnings << text; }

    const data::TableDef& table_;
    data::sqlite::RowInserter insert_;
    const ImportProgress& progress_;
    std::vector<int> source_; // for each of our columns, the old column's index or -1
    TableImport result_;
};

// The half-made file and its journal go again unless the import got to the end.
class TemporaryFile {
public:
    explicit TemporaryFile(QString path) : path_(std::move(path)) {}
    ~TemporaryFile() {
        if (!path_.isEmpty()) {
            QFile::remove(path_ + QStringLiteral("-journal"));
            QFile::remove(path_);
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const QString& path() const { return path_; }
    void keep() { path_.clear(); }

private:
    QString path_;
};

} // namespace

std::vector<TableImport> importAccessDatabase(AccessSource& old, const QString& newPath,
                                              const ImportProgress& progress) {
    const QString exists = data::existingFileProblem(newPath);
    if (!exists.isEmpty())
        throw Error(exists);
    old.open();

    if (!QFileInfo(newPath).absoluteDir().exists())
        throw Error(QStringLiteral("Cannot create '%1': its folder does not exist").arg(newPath));
    TemporaryFile temp(newPath +
                       QStringLiteral(".import-%1")
                           .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    createDatabase(temp.path());
    std::vector<TableImport> results;
    {
        data::sqlite::Database db(temp.path(), data::sqlite::Database::Mode::ReadWrite);
        db.execute(QStringLiteral("BEGIN"));
        for (const data::TableDef* t : data::allTables()) {
            TableCopy copy(db, *t, progress);
            const QStringList notes = old.readTable(
                t->tableName(), [&](const auto& columns) { copy.columns(columns); },
                [&](const auto& row) {
                    try {
                        copy.row(row);
                    } catch (const Error& e) {
                        throw Error(QStringLiteral("Cannot write a row of table '%1' into '%2': %3")
                                        .arg(t->tableName(), newPath, e.message()));
                    }
                });
            TableImport result = copy.finish();
            result.warnings << notes;
            results.push_back(result);
        }
        old.close();
        db.execute(QStringLiteral("COMMIT"));
    }
    if (!QFile::rename(temp.path(), newPath))
        throw Error(QStringLiteral("Cannot put the new database at '%1'%2")
                        .arg(newPath, QFileInfo::exists(newPath)
                                          ? QStringLiteral(": a file of that name appeared")
                                          : QString()));
    temp.keep();
    return results;
}

} // namespace tools
