#include "tools/importevents.h"

#include <QJsonArray>

namespace tools {

QString importCauseName(ImportCause cause) {
    switch (cause) {
    case ImportCause::Exists:
        return QStringLiteral("exists");
    case ImportCause::NotFound:
        return QStringLiteral("not-found");
    case ImportCause::NotAccess:
        return QStringLiteral("not-access");
    case ImportCause::MissingTable:
        return QStringLiteral("missing-table");
    case ImportCause::Damaged:
        return QStringLiteral("damaged");
    case ImportCause::Definition:
        return QStringLiteral("definition");
    case ImportCause::ReaderCrashed:
        return QStringLiteral("reader-crashed");
    case ImportCause::ReaderLimit:
        return QStringLiteral("reader-limit");
    case ImportCause::ReaderStalled:
        return QStringLiteral("reader-stalled");
    case ImportCause::ReaderFlooded:
        return QStringLiteral("reader-flooded");
    case ImportCause::ReaderRefused:
        return QStringLiteral("reader-refused");
    case ImportCause::Unreadable:
        return QStringLiteral("unreadable");
    case ImportCause::Interrupted:
        return QStringLiteral("interrupted");
    case ImportCause::WriteFailed:
        return QStringLiteral("write-failed");
    case ImportCause::Usage:
        return QStringLiteral("usage");
    case ImportCause::Other:
        break;
    }
    return QStringLiteral("other");
}

QString warningCodeName(WarningCode code) {
    switch (code) {
    case WarningCode::ColumnSkipped:
        return QStringLiteral("column-skipped");
    case WarningCode::ColumnEmptied:
        return QStringLiteral("column-emptied");
    case WarningCode::NewKeys:
        return QStringLiteral("new-keys");
    case WarningCode::ColumnMissing:
        return QStringLiteral("column-missing");
    case WarningCode::TextsTooLong:
        return QStringLiteral("texts-too-long");
    case WarningCode::ReaderRemark:
        return QStringLiteral("reader-remark");
    case WarningCode::RowLeftOut:
        return QStringLiteral("row-left-out");
    case WarningCode::ValueEmptied:
        return QStringLiteral("value-emptied");
    case WarningCode::ColumnDamaged:
        return QStringLiteral("column-damaged");
    case WarningCode::FewColumns:
        return QStringLiteral("few-columns");
    case WarningCode::RowsMissing:
        return QStringLiteral("rows-missing");
    }
    return QString();
}

QString damageReasonName(DamageReason reason) {
    switch (reason) {
    case DamageReason::None:
        return QString();
    case DamageReason::Offsets:
        return QStringLiteral("offsets");
    case DamageReason::Layout:
        return QStringLiteral("layout");
    case DamageReason::NullMask:
        return QStringLiteral("null-mask");
    case DamageReason::OutsideRow:
        return QStringLiteral("outside-row");
    case DamageReason::Text:
        return QStringLiteral("text");
    case DamageReason::Date:
        return QStringLiteral("date");
    case DamageReason::RepeatedKey:
        return QStringLiteral("repeated-key");
    case DamageReason::KeyOutOfRange:
        return QStringLiteral("key-out-of-range");
    case DamageReason::RowCount:
        return QStringLiteral("row-count");
    case DamageReason::Definition:
        return QStringLiteral("definition");
    case DamageReason::Name:
        return QStringLiteral("name");
    case DamageReason::Columns:
        return QStringLiteral("columns");
    case DamageReason::FileSize:
        return QStringLiteral("file-size");
    case DamageReason::Catalog:
        return QStringLiteral("catalog");
    }
    return QString();
}

QString faultName(data::FileFault fault) {
    using data::FileFault;
    switch (fault) {
    case FileFault::Other:
        break;
    case FileFault::Missing:
        return QStringLiteral("missing");
    case FileFault::AccessDenied:
        return QStringLiteral("access-denied");
    case FileFault::Empty:
        return QStringLiteral("empty");
    case FileFault::Exists:
        return QStringLiteral("exists");
    case FileFault::Busy:
        return QStringLiteral("busy");
    case FileFault::Damaged:
        return QStringLiteral("damaged");
    case FileFault::NotADatabase:
        return QStringLiteral("not-a-database");
    case FileFault::AccessFormat:
        return QStringLiteral("access-format");
    case FileFault::LeftJournal:
        return QStringLiteral("left-journal");
    case FileFault::FolderNotWritable:
        return QStringLiteral("folder-not-writable");
    case FileFault::ReadOnly:
        return QStringLiteral("read-only");
    case FileFault::CannotOpen:
        return QStringLiteral("cannot-open");
    case FileFault::DiskFull:
        return QStringLiteral("disk-full");
    case FileFault::InputOutput:
        return QStringLiteral("input-output");
    case FileFault::WriteAheadLog:
        return QStringLiteral("write-ahead-log");
    }
    return QStringLiteral("other");
}

QJsonObject ImportWarning::toJson() const {
    QJsonObject o{{QStringLiteral("code"), warningCodeName(code)}, {QStringLiteral("text"), text}};
    const auto place = [&] {
        o.insert(QStringLiteral("row"), row > 0 ? QJsonValue(row) : QJsonValue());
        o.insert(QStringLiteral("page"), page >= 0 ? QJsonValue(page) : QJsonValue());
        o.insert(QStringLiteral("slot"), slot >= 0 ? QJsonValue(slot) : QJsonValue());
        o.insert(QStringLiteral("reason"), damageReasonName(reason));
    };
    switch (code) {
    case WarningCode::ColumnSkipped:
    case WarningCode::NewKeys:
    case WarningCode::ColumnMissing:
        o.insert(QStringLiteral("column"), column);
        break;
    case WarningCode::ColumnEmptied:
        o.insert(QStringLiteral("column"), column);
        o.insert(QStringLiteral("kinds"), QJsonArray::fromStringList(kinds));
        break;
    case WarningCode::TextsTooLong:
        o.insert(QStringLiteral("column"), column);
        o.insert(QStringLiteral("count"), count);
        o.insert(QStringLiteral("size"), size);
        break;
    case WarningCode::ReaderRemark:
        o.insert(QStringLiteral("line"), line);
        break;
    case WarningCode::RowLeftOut:
        place();
        break;
    case WarningCode::ValueEmptied:
        place();
        o.insert(QStringLiteral("column"), column);
        break;
    case WarningCode::ColumnDamaged:
        o.insert(QStringLiteral("column"), column);
        o.insert(QStringLiteral("reason"), damageReasonName(reason));
        break;
    case WarningCode::FewColumns:
        o.insert(QStringLiteral("found"), count);
        o.insert(QStringLiteral("known"), size);
        break;
    case WarningCode::RowsMissing:
        o.insert(QStringLiteral("declared"), count);
        o.insert(QStringLiteral("found"), size);
        break;
    }
    return o;
}

ImportFailure ImportFailure::withMessage(const QString& message) const {
    ImportFailure f(cause_, message);
    f.table = table;
    f.rows = rows;
    f.reason = reason;
    f.lines = lines;
    f.memoryMB = memoryMB;
    f.cpuSeconds = cpuSeconds;
    f.seconds = seconds;
    f.kilobytes = kilobytes;
    f.limit = limit;
    f.fault = fault;
    return f;
}

QJsonObject ImportFailure::toJson() const {
    QJsonObject o{{QStringLiteral("event"), QStringLiteral("failed")},
                  {QStringLiteral("cause"), importCauseName(cause_)},
                  {QStringLiteral("text"), message()}};
    const auto withLines = [&] {
        o.insert(QStringLiteral("lines"), QJsonArray::fromStringList(lines));
    };
    switch (cause_) {
    case ImportCause::MissingTable:
        o.insert(QStringLiteral("table"), table);
        break;
    case ImportCause::Damaged: {
        QJsonArray numbers;
        for (const qint64 r : rows)
            numbers.append(r);
        o.insert(QStringLiteral("table"), table);
        o.insert(QStringLiteral("rows"), numbers);
        o.insert(QStringLiteral("reason"), damageReasonName(reason));
        withLines();
        break;
    }
    case ImportCause::Definition:
        o.insert(QStringLiteral("table"), table);
        o.insert(QStringLiteral("reason"), damageReasonName(reason));
        withLines();
        break;
    case ImportCause::ReaderLimit:
        o.insert(QStringLiteral("memoryMB"), memoryMB);
        o.insert(QStringLiteral("cpuSeconds"), cpuSeconds);
        o.insert(QStringLiteral("limit"), limit);
        withLines();
        break;
    case ImportCause::ReaderStalled:
        o.insert(QStringLiteral("seconds"), seconds);
        withLines();
        break;
    case ImportCause::ReaderFlooded:
        o.insert(QStringLiteral("kilobytes"), kilobytes);
        withLines();
        break;
    case ImportCause::ReaderCrashed:
    case ImportCause::ReaderRefused:
    case ImportCause::Unreadable:
        withLines();
        break;
    case ImportCause::WriteFailed:
        o.insert(QStringLiteral("fault"), faultName(fault));
        break;
    default:
        break;
    }
    return o;
}

} // namespace tools
