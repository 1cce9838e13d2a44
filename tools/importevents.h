#pragma once

#include "data/databasefile.h"
#include "platform/errors.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QStringList>

// What `ternavolk-db import OLD NEW --json` prints: one JSON object a line on stdout (UTF-8,
// compact), nothing on stderr; the exit codes stay 0 (imported), 1 (failed) and 2 (NEW already
// there, or a wrong command line). The companion shows these in Turkish, so every name below
// is part of a contract: a name may be added, never changed or taken away. Each object carries
// "event"; every "text" is the English line the tool prints without --json.
//
//   {"event":"start","old":OLD,"new":NEW}
//   {"event":"progress","table":T,"rows":N}          every 5,000 rows of a table
//   {"event":"table","table":T,"read":N,"written":N,"warnings":[W,...]}
//                                                      once the new file is complete, one for
//                                                      each table in the order of the import
//   {"event":"done","new":NEW,"warnings":N}
//   {"event":"failed","cause":C,"text":T,...}         the last line of a failed import
//
// A warning W holds "code" and "text", and by its code (warningCodeName):
//   column-skipped   {column}                  a column of the old table the program does not
//                                              have; its values are not brought across
//   column-emptied   {column, kinds}           a column holding values of a kind the program
//                                              does not keep there (kinds: the old file's type
//                                              names); left empty
//   new-keys         {column}                  the old table lacks the key column: new record
//                                              codes were given
//   column-missing   {column}                  a column of the program's the old table lacks;
//                                              left empty
//   texts-too-long   {column, count, size}     count texts longer than the column's size of
//                                              characters, kept whole
//   reader-remark    {line}                    what the Access reader printed while reading the
//                                              table
//   row-left-out     {row, page, slot, reason} --salvage: a damaged row not brought across; row
//                                              is its number in the old table, or null for a
//                                              row the reader passed over (then page and slot
//                                              say where it lies)
//   value-emptied    {row, page, slot, column, reason}
//                                              --salvage: a value that cannot be trusted, left
//                                              empty (a key: given a new record code)
//   column-damaged   {column, reason}          --salvage: a column whose definition (reason
//                                              "definition") or name (reason "name") is damaged;
//                                              left empty in every row, or skipped
//   few-columns      {found, known}            --salvage: the old table names only `found` of
//                                              the program's `known` columns beside others; its
//                                              definition may be damaged
//   rows-missing     {declared, found}         --salvage: the old table says it holds more rows
//                                              than could be found
//
// A "reason" is one of (damageReasonName): "offsets" (the page's table of row places puts the
// row where it cannot be), "layout" (the row's own count of columns or table of
// variable-length values does not fit it), "null-mask" (the row's null mask says a column has
// no value while the row holds bytes for it), "outside-row" (a value lies outside its row),
// "text" (a text that does not decode, is longer than its column allows or has an odd number
// of bytes), "date" (a date outside the years 100 to 9999), "repeated-key" (a record code
// that another row has), "key-out-of-range" (a record code far beyond the table's counter of
// codes given), "row-count" (fewer rows than the table's definition counts), "definition" (a
// column's place or size in the table's definition), "name" (a column name that Access cannot
// have given), "columns" (too few of the program's columns among others), "file-size" (the
// file's size does not fit the Access format), "catalog" (the file's list of tables).
//
// The cause C of a failure (importCauseName), with its further fields:
//   exists            NEW is already there (exit code 2)
//   not-found         OLD is missing, is a folder, or cannot be opened
//   not-access        OLD is no Access file of the Jet 4 format (another file, Access 97, or a
//                     later format)
//   missing-table     {table} OLD lacks one of the three tables
//   damaged           {table, rows, reason, lines} the checks of what the reader hands over
//                     refused OLD: table (empty for the file as a whole), up to 3 row numbers
//                     (rows the reader passed over have none), the first damage's reason
//   definition        {table, reason, lines} a table's definition is damaged, or its column
//                     names are not the program's
//   reader-crashed    {lines} the Access reader crashed or ended before reading the file
//   reader-limit      {memoryMB, cpuSeconds, limit, lines} it went beyond its limit: "limit"
//                     is "memory", "cpu" or "memory-or-cpu" where the two cannot be told apart
//   reader-stalled    {seconds, lines} it gave nothing for that long
//   reader-flooded    {kilobytes, lines} it printed more than that of messages
//   reader-refused    {lines} it ended by itself, saying it cannot read OLD
//   unreadable        {lines} it handed over what cannot be read
//   interrupted       Ctrl+C or SIGTERM (on Windows a console's Ctrl+C or Ctrl+Break)
//   write-failed      {fault} NEW could not be written; fault names the cause (faultName)
//   usage             the command line is wrong (exit code 2)
//   other             anything else; text says what
// "lines" holds up to 3 lines the Access reader (libmdb) printed, as it printed them.
namespace tools {

enum class ImportCause {
    Exists,
    NotFound,
    NotAccess,
    MissingTable,
    Damaged,
    Definition,
    ReaderCrashed,
    ReaderLimit,
    ReaderStalled,
    ReaderFlooded,
    ReaderRefused,
    Unreadable,
    Interrupted,
    WriteFailed,
    Usage,
    Other,
};

enum class WarningCode {
    ColumnSkipped,
    ColumnEmptied,
    NewKeys,
    ColumnMissing,
    TextsTooLong,
    ReaderRemark,
    RowLeftOut,
    ValueEmptied,
    ColumnDamaged,
    FewColumns,
    RowsMissing,
};

enum class DamageReason {
    None,
    Offsets,
    Layout,
    NullMask,
    OutsideRow,
    Text,
    Date,
    RepeatedKey,
    KeyOutOfRange,
    RowCount,
    Definition,
    Name,
    Columns,
    FileSize,
    Catalog,
};

QString importCauseName(ImportCause cause);
QString warningCodeName(WarningCode code);
QString damageReasonName(DamageReason reason); // the empty text for None
// The fault in kebab case: "disk-full", "folder-not-writable", "busy", "access-denied", ...
QString faultName(data::FileFault fault);

// One warning of a table's import: the English text and the parts the JSON line gives apart.
struct ImportWarning {
    WarningCode code = WarningCode::ReaderRemark;
    QString text;
    QString column;
    QStringList kinds; // column-emptied
    qint64 row = 0;    // row-left-out, value-emptied: 0 when the row has no number
    int page = -1;     // where the row lies in the old file, -1 when not known
    int slot = -1;
    qint64 count = 0; // texts-too-long; few-columns: found; rows-missing: declared
    qint64 size = 0;  // texts-too-long; few-columns: known; rows-missing: found
    DamageReason reason = DamageReason::None;
    QString line; // reader-remark

    QJsonObject toJson() const;
};

// A failed import: the English message and, for the companion, its cause and parts.
class ImportFailure : public platform::Error {
public:
    ImportFailure(ImportCause cause, QString message) : Error(std::move(message)), cause_(cause) {}

    ImportCause cause() const { return cause_; }
    QString table;
    QList<qint64> rows;
    DamageReason reason = DamageReason::None;
    QStringList lines;
    qint64 memoryMB = 0, cpuSeconds = 0, seconds = 0, kilobytes = 0;
    QString limit; // reader-limit: "memory", "cpu" or "memory-or-cpu"
    data::FileFault fault = data::FileFault::Other;

    // The same failure with another message (the parts kept).
    ImportFailure withMessage(const QString& message) const;
    QJsonObject toJson() const;

private:
    ImportCause cause_;
};

} // namespace tools
