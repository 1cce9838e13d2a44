#include "tools/check.h"

#include "data/connection.h"
#include "data/databasefile.h"
#include "data/rowstore.h"
#include "data/sqlite.h"
#include "data/tables.h"
#include "platform/errors.h"

#include <QDate>

namespace tools {

using data::sqlite::Database;
using Kind = CheckFinding::Kind;

namespace {

// Values listed one by one; beyond these they are counted, so that a badly damaged file does
// not print a line for each of a million rows.
constexpr qint64 valuesListed = 100;
// The most of a value a finding quotes.
constexpr qsizetype quoted = 60;

CheckFinding finding(Kind kind, const QString& text) {
    CheckFinding f;
    f.kind = kind;
    f.text = text;
    return f;
}

CheckFinding fileFinding(const platform::Error& e) {
    CheckFinding f = finding(Kind::File, e.message());
    if (const auto* file = dynamic_cast<const data::FileError*>(&e))
        f.fault = file->fault();
    return f;
}

QString stoppedText(const QString& path) {
    return QStringLiteral("The check stopped there: the file '%1' is too damaged to be read "
                          "further. Put its last backup in its place")
        .arg(path);
}

// What a stored text holds that the program never writes there.
enum class TextFault { None, NotUtf8, Control };

// Strict UTF-8 (no overlong forms, no surrogates, nothing beyond U+10FFFF, as Qt decodes it
// without a replacement character), and no NUL or control character other than tab, line feed
// and carriage return (the program keeps line breaks in descriptions and addresses). `control`
// receives the first such character.
TextFault textFault(std::string_view bytes, int& control) {
    control = -1;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char b = *p;
        if (b < 0x80) {
            if (b < 0x20 && b != '\t' && b != '\n' && b != '\r' && control < 0)
                control = b;
            ++p;
            continue;
        }
        int length = 0;
        char32_t code = 0, least = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            code = b & 0x1F;
            least = 0x80;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            code = b & 0x0F;
            least = 0x800;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            code = b & 0x07;
            least = 0x10000;
        } else {
            return TextFault::NotUtf8;
        }
        if (end - p < length)
            return TextFault::NotUtf8;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return TextFault::NotUtf8;
            code = code << 6 | (p[i] & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return TextFault::NotUtf8;
        p += length;
    }
    return control >= 0 ? TextFault::Control : TextFault::None;
}

// Whether the bytes are a date-time exactly as the program writes it ("2009-05-21
// 16:15:25.890", a valid day and time of day): the common case, told without the program's
// slower reading, which takes the other forms it reads.
bool writtenDateTime(std::string_view b) {
    if (b.size() != 23 || b[4] != '-' || b[7] != '-' || b[10] != ' ' || b[13] != ':' ||
        b[16] != ':' || b[19] != '.')
        return false;
    const auto number = [&](size_t from, size_t digits, int& out) {
        out = 0;
        for (size_t i = from; i < from + digits; ++i) {
            if (b[i] < '0' || b[i] > '9')
                return false;
            out = out * 10 + (b[i] - '0');
        }
        return true;
    };
    int year, month, day, hour, minute, second, ms;
    return number(0, 4, year) && number(5, 2, month) && number(8, 2, day) && number(11, 2, hour) &&
           number(14, 2, minute) && number(17, 2, second) && number(20, 3, ms) &&
           QDate::isValid(year, month, day) && hour < 24 && minute < 60 && second < 60;
}

QString shortened(const QString& value) {
    return value.size() <= quoted ? value : value.left(quoted) + QStringLiteral("...");
}

// The values of one table that the program would not have written, found row by row.
class ContentCheck {
public:
    explicit ContentCheck(std::vector<CheckFinding>& findings) : findings_(findings) {}

    void table(const Database& db, const data::TableDef& table) {
        QStringList names;
        for (const data::ColumnDef& c : table.columns)
            names << QString::fromUtf16(c.name);
        data::sqlite::Statement st(db, QStringLiteral("SELECT ") +
                                           names.join(QStringLiteral(", ")) +
                                           QStringLiteral(" FROM ") + table.tableName());
        std::vector<int> map(table.columns.size());
        for (size_t c = 0; c < map.size(); ++c)
            map[c] = static_cast<int>(c);
        data::RowStore rows(static_cast<int>(map.size()));
        while (st.step()) {
            if (rows.rowCount() >= 1024) // the rows looked at are let go
                rows = data::RowStore(static_cast<int>(map.size()));
            st.readRow(map, rows);
            row(table, rows, rows.rowCount() - 1);
        }
    }

    // Closes the list: what was found beyond the values listed.
    void finish() {
        if (unlisted_ == 0)
            return;
        CheckFinding f = finding(Kind::MoreFindings,
                                 QStringLiteral("%1 more values like these were found and are not "
                                                "listed one by one")
                                     .arg(unlisted_));
        f.count = unlisted_;
        findings_.push_back(f);
    }

private:
    void row(const data::TableDef& table, const data::RowStore& rows, int r) {
        using Storage = data::RowStore::Storage;
        for (size_t c = 0; c < table.columns.size(); ++c) {
            const data::ColumnDef& def = table.columns[c];
            const data::RowStore::Cell cell = rows.cell(r, static_cast<int>(c));
            const bool text = cell.storage == Storage::Text || cell.storage == Storage::Blob;
            int control = -1;
            const TextFault fault = text ? textFault(cell.bytes, control) : TextFault::None;
            const bool date = def.kind == data::Kind::DateTime && cell.storage != Storage::Null &&
                              !(cell.storage == Storage::Text && writtenDateTime(cell.bytes));
            if (fault == TextFault::None && !date)
                continue;
            const data::Value key = rows.value(r, 0, data::Kind::AutoInc);
            const qint64 id = key.isInteger() ? key.toInteger() : 0;
            const QString column = QString::fromUtf16(def.name);
            const QString where = QStringLiteral("%1: the row with IDNO %2 holds in %3 ")
                                      .arg(table.tableName())
                                      .arg(id)
                                      .arg(column);
            if (fault == TextFault::NotUtf8) {
                add(Kind::InvalidUtf8, table, id, column, QString(),
                    where + QStringLiteral("a text that is not valid UTF-8"));
                continue;
            }
            if (fault == TextFault::Control) {
                add(Kind::ControlCharacter, table, id, column, QString(),
                    where + (control == 0 ? QStringLiteral("a text with a NUL character")
                                          : QStringLiteral("a text with the control character "
                                                           "U+%1")
                                                .arg(QString::number(control, 16)
                                                         .toUpper()
                                                         .rightJustified(4, QLatin1Char('0')))));
                continue;
            }
            // A date-time column holds NULL or what the program reads as a date-time; the
            // program shows anything else (a malformed text, a number another tool stored) as
            // text, and it is not what the program writes.
            const data::Value value = rows.value(r, static_cast<int>(c), def.kind);
            if (value.isDateTime())
                continue;
            const QString shown = shortened(value.displayText());
            add(Kind::BadDateTime, table, id, column, shown,
                where +
                    (text ? QStringLiteral("'%1'").arg(shown)
                          : QStringLiteral("the number %1").arg(shown)) +
                    QStringLiteral(", which is not a date and time the program can read"));
        }
    }

    void add(Kind kind, const data::TableDef& table, qint64 id, const QString& column,
             const QString& detail, const QString& text) {
        if (listed_ >= valuesListed) {
            ++unlisted_;
            return;
        }
        ++listed_;
        CheckFinding f = finding(kind, text);
        f.table = table.tableName();
        f.id = id;
        f.column = column;
        f.detail = detail;
        findings_.push_back(f);
    }

    std::vector<CheckFinding>& findings_;
    qint64 listed_ = 0, unlisted_ = 0;
};

} // namespace

std::vector<CheckFinding> checkFindings(const QString& path) {
    try {
        data::requireDatabaseFile(path, data::FileUse::Read);
    } catch (const data::FileError& e) {
        return {fileFinding(e)};
    }
    // The program keeps the rollback journal; it switches such a file back when it opens it.
    // This check only reads: SQLite would leave the log's files beside the file, so it reads
    // nothing further.
    if (data::isWriteAheadLogFile(path)) {
        CheckFinding f =
            finding(Kind::File, QStringLiteral("The file '%1' was switched to a write-ahead log "
                                               "(WAL) by another program, which a folder on a "
                                               "network share cannot serve safely. Close that "
                                               "program and open the file once with this "
                                               "program, which switches it back to its journal "
                                               "file; then run the check again")
                                    .arg(path));
        f.fault = data::FileFault::WriteAheadLog;
        return {f};
    }
    std::vector<CheckFinding> findings;
    try {
        Database db(path, Database::Mode::ReadOnly);
        db.setBusyTimeout(data::sqlite::busyTimeoutMs);
        data::sqlite::Statement integrity(db, QStringLiteral("PRAGMA integrity_check"));
        bool stopped = false;
        try {
            while (integrity.step()) {
                const QString line = integrity.text(0);
                if (line == u"ok")
                    continue;
                CheckFinding f = finding(Kind::Integrity, line);
                f.detail = line;
                findings.push_back(f);
            }
        } catch (const platform::Error&) {
            // SQLite gives up on a file too damaged to be read through.
            if (findings.empty())
                throw;
            findings.push_back(finding(Kind::Stopped, stoppedText(path)));
            stopped = true;
        }
        std::vector<const data::TableDef*> whole; // tables whose values can be read
        for (const data::TableDef* table : data::allTables()) {
            const data::TableFault fault = data::tableFault(db, *table);
            if (fault.kind != data::TableFault::Kind::None) {
                // A table that cannot even be looked at otherwise (a damaged schema) is as far
                // as the check could read.
                CheckFinding f = finding(Kind::Stopped,
                                         table->tableName() + QStringLiteral(": ") + fault.message);
                f.table = table->tableName();
                f.column = fault.column;
                if (fault.kind == data::TableFault::Kind::MissingTable)
                    f.kind = Kind::MissingTable;
                if (fault.kind == data::TableFault::Kind::MissingColumn)
                    f.kind = Kind::MissingColumn;
                if (fault.kind == data::TableFault::Kind::WrongColumnKind) {
                    f.kind = Kind::WrongColumnKind;
                    f.detail = fault.declaredType;
                }
                findings.push_back(f);
                continue;
            }
            whole.push_back(table);
            const data::TableRulesFault rules = data::tableRulesFault(db, *table);
            if (rules.kind == data::TableRulesFault::Kind::None)
                continue;
            CheckFinding f = finding(rules.kind == data::TableRulesFault::Kind::WritingTrigger
                                         ? Kind::WritingTrigger
                                         : Kind::KeyWithoutAutoIncrement,
                                     rules.message);
            f.table = table->tableName();
            f.detail = rules.trigger;
            findings.push_back(f);
        }
        // Then the values themselves, which SQLite's check does not look at.
        if (!stopped) {
            ContentCheck content(findings);
            try {
                for (const data::TableDef* table : whole)
                    content.table(db, *table);
            } catch (const platform::Error&) {
                content.finish();
                findings.push_back(finding(Kind::Stopped, stoppedText(path)));
                return findings;
            }
            content.finish();
        }
    } catch (const platform::Error& e) {
        findings.push_back(fileFinding(e));
    }
    return findings;
}

QStringList checkDatabase(const QString& path) {
    QStringList texts;
    for (const CheckFinding& f : checkFindings(path))
        texts << f.text;
    return texts;
}

} // namespace tools
