#pragma once

#include "data/databasefile.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace tools {

// One thing wrong with a database file, given apart so that the companion can say it in
// Turkish; `text` is the finding in English, as `ternavolk-db check` prints it.
struct CheckFinding {
    enum class Kind {
        File,            // the file cannot be read at all: `fault` says why (data::FileFault)
        Integrity,       // a line of SQLite's integrity check: `detail` holds SQLite's text
        Stopped,         // the check could not read further (too damaged)
        MissingTable,    // `table` is not there
        MissingColumn,   // `table`.`column` is not there
        WrongColumnKind, // `table`.`column` is declared of another kind; `detail`: the declared
                         // type
        KeyWithoutAutoIncrement, // `table`'s key lacks AUTOINCREMENT
        WritingTrigger,   // `table` has a trigger that writes rows; `detail`: the trigger's name
        InvalidUtf8,      // `table`, row `id` (IDNO), `column`: text that is not valid UTF-8
        ControlCharacter, // the same for a text holding NUL or another control character
        BadDateTime,      // the same for a date-time the program cannot read; `detail`: the value
        MoreFindings,     // `count` more content findings were not listed one by one
    };
    Kind kind;
    data::FileFault fault = data::FileFault::Other;
    QString table, column;
    qint64 id = 0;
    qint64 count = 0;
    QString detail;
    QString text; // the finding in English, exactly as `check` prints it
};

// What is wrong with the database file `path`, read only: every finding of SQLite's integrity
// check; then for each of the three tables a column that is missing or of another kind
// ("okuyucu: Field 'ADRESI' not found") or a broken rule of the program's saves (a key without
// AUTOINCREMENT, a trigger that writes rows); then every value the program would not have
// written: a text that is not valid UTF-8 or holds NUL or a control character other than tab
// and the line breaks, and in a date-time column anything but NULL and a date-time the program
// reads (an integer or a real that another tool stored there included). The values are listed
// up to 100, then counted. Empty when the file is sound. A file that cannot be read at all
// (missing, empty, damaged, locked, beside a journal left by an unfinished save) or that
// another program switched to a write-ahead log (WAL), which only the program switches back,
// gives that one finding.
std::vector<CheckFinding> checkFindings(const QString& path);

// The findings' texts, in their order.
QStringList checkDatabase(const QString& path);

} // namespace tools
