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
            const QString name = printableName(old[i].name);
            if (!ours) {
                warn(WarningCode::ColumnSkipped, old[i].name,
                     QStringLiteral("column '%1' is not one of the program's; skipped").arg(name));
                continue;
            }
            const size_t index = static_cast<size_t>(ours - table_.columns.data());
            if (source_[index] >= 0) { // a damaged definition may name two columns alike
                warn(WarningCode::ColumnSkipped, old[i].name,
                     QStringLiteral("column '%1' is named twice in the old table; the second one "
                                    "skipped")
                         .arg(name));
                continue;
            }
            if (!holdsOurKind(ours->kind, old[i].kind)) {
                warn(WarningCode::ColumnEmptied, old[i].name,
                     QStringLiteral("column '%1' holds %2, which the program does not keep "
                                    "there; left empty")
                         .arg(name, old[i].typeName))
                    .kinds = QStringList{old[i].typeName};
                continue;
            }
            source_[index] = static_cast<int>(i);
        }
        for (size_t c = 0; c < source_.size(); ++c) {
            if (source_[c] >= 0)
                continue;
            const QString name = QString::fromUtf16(table_.columns[c].name);
            if (table_.columns[c].kind == Kind::AutoInc)
                warn(WarningCode::NewKeys, name,
                     QStringLiteral("column '%1' is missing from the old table; new record "
                                    "codes given")
                         .arg(name));
            else
                warn(WarningCode::ColumnMissing, name,
                     QStringLiteral("column '%1' is missing from the old table; left empty")
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
        for (const auto& [c, count] : insert_.tooLong()) {
            const QString name = QString::fromUtf16(table_.columns[c].name);
            ImportWarning& w =
                warn(WarningCode::TextsTooLong, name,
                     QStringLiteral("column '%1': %2 text(s) longer than %3 characters, kept whole")
                         .arg(name)
                         .arg(count)
                         .arg(table_.columns[c].size));
            w.count = count;
            w.size = table_.columns[c].size;
        }
        return result_;
    }

private:
    ImportWarning& warn(WarningCode code, const QString& column, const QString& text) {
        ImportWarning w;
        w.code = code;
        w.column = column;
        w.text = text;
        result_.warnings.push_back(w);
        return result_.warnings.back();
    }

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

namespace {

// A failure to write the new file, with its cause.
ImportFailure writeFailed(const QString& message, data::FileFault fault) {
    ImportFailure failure(ImportCause::WriteFailed, message);
    failure.fault = fault;
    return failure;
}

data::FileFault faultOf(const Error& e) {
    const auto* file = dynamic_cast<const data::FileError*>(&e);
    return file ? file->fault() : data::FileFault::Other;
}

} // namespace

std::vector<TableImport> importAccessDatabase(AccessSource& old, const QString& newPath,
                                              const ImportProgress& progress) {
    const QString exists = data::existingFileProblem(newPath);
    if (!exists.isEmpty())
        throw ImportFailure(ImportCause::Exists, exists);
    old.open();

    if (!QFileInfo(newPath).absoluteDir().exists())
        throw writeFailed(
            QStringLiteral("Cannot create '%1': its folder does not exist").arg(newPath),
            data::FileFault::Missing);
    TemporaryFile temp(newPath +
                       QStringLiteral(".import-%1")
                           .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    std::vector<TableImport> results;
    try {
        createDatabase(temp.path());
        data::sqlite::Database db(temp.path(), data::sqlite::Database::Mode::ReadWrite);
        db.execute(QStringLiteral("BEGIN"));
        for (const data::TableDef* t : data::allTables()) {
            TableCopy copy(db, *t, progress);
            const std::vector<ImportWarning> notes = old.readTable(
                t->tableName(), [&](const auto& columns) { copy.columns(columns); },
                [&](const auto& row) {
                    try {
                        copy.row(row);
                    } catch (const ImportFailure&) {
                        throw;
                    } catch (const Error& e) {
                        throw writeFailed(QStringLiteral("Cannot write a row of table '%1' into "
                                                         "'%2': %3")
                                              .arg(t->tableName(), newPath, e.message()),
                                          faultOf(e));
                    }
                });
            TableImport result = copy.finish();
            result.warnings.insert(result.warnings.end(), notes.begin(), notes.end());
            results.push_back(result);
        }
        old.close();
        db.execute(QStringLiteral("COMMIT"));
    } catch (const ImportFailure&) {
        throw;
    } catch (const Error& e) { // the new file itself failed: made, written or committed
        throw writeFailed(e.message(), faultOf(e));
    }
    if (!QFile::rename(temp.path(), newPath)) {
        const bool appeared = QFileInfo::exists(newPath);
        throw writeFailed(QStringLiteral("Cannot put the new database at '%1'%2")
                              .arg(newPath, appeared
                                                ? QStringLiteral(": a file of that name appeared")
                                                : QString()),
                          appeared ? data::FileFault::Exists : data::FileFault::Other);
    }
    temp.keep();
    return results;
}

} // namespace tools
