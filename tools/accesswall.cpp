#include "tools/accesswall.h"

#include "data/tables.h"
#include "platform/errors.h"
#include "tools/accessreader.h"
#include "tools/interrupt.h"
#include "tools/wall.h"

#include <QDataStream>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QThread>
#include <cstdio>
#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <csignal>
#endif

namespace tools {

using data::Value;
using platform::Error;

namespace {

// What the child writes on stdout: records, each a 32-bit length and a QDataStream payload that
// begins with one of these.
enum Record : quint8 {
    Opened = 'O',  // all three tables are there
    Missing = 'M', // QString table: a table is not there
    Failed = 'F',  // the file was refused: quint8 cause, QString message, QString table,
                   // QList<qint64> rows, quint8 reason
    Columns = 'C', // QString table, QStringList names, QList<quint8> kinds, QStringList types
    Row = 'R',     // one value for each column: quint8 kind, then qint32 | double | QString
    End = 'E',     // the table is complete: its warnings (writeWarnings)
    Done = 'D',    // all tables read
};
enum ValueKind : quint8 { NullValue, IntegerValue, DateTimeValue, TextValue };
using wall::streamVersion;

// On stderr, between libmdb's own lines, the child marks what it begins to read.
constexpr char phaseMark = '\x1f';
const QString openPhase = QStringLiteral("open"), donePhase = QStringLiteral("done");
QString tablePhase(const QString& name) {
    return QStringLiteral("table ") + name;
}

// The library's lines kept for each phase, and their longest length kept.
constexpr int linesKept = 3, lineLength = 300;
// How long the parent waits for the child in one go before it looks at signals again.
constexpr int waitSlice = 100;

qint64 environmentNumber(const char* name, qint64 fallback) {
    bool ok = false;
    const qint64 n = qEnvironmentVariable(name).toLongLong(&ok);
    return ok && n > 0 ? n : fallback;
}

// One row of a table as the Row record carries it.
void sendRow(wall::RecordWriter& out, const std::vector<Value>& row) {
    QByteArray payload;
    QDataStream s(&payload, QIODevice::WriteOnly);
    s.setVersion(streamVersion);
    s << static_cast<quint8>(Row);
    for (const Value& v : row) {
        if (v.isInteger())
            s << static_cast<quint8>(IntegerValue) << v.toInteger();
        else if (v.isDateTime())
            s << static_cast<quint8>(DateTimeValue) << v.toDateTime().days();
        else if (v.isText())
            s << static_cast<quint8>(TextValue) << v.toText();
        else
            s << static_cast<quint8>(NullValue);
    }
    out.sendPayload(payload);
}

// A table's warnings as the End record carries them.
void writeWarnings(QDataStream& s, const std::vector<ImportWarning>& warnings) {
    s << static_cast<quint32>(warnings.size());
    for (const ImportWarning& w : warnings)
        s << static_cast<quint8>(w.code) << w.text << w.column << w.kinds << w.row
          << static_cast<qint32>(w.page) << static_cast<qint32>(w.slot) << w.count << w.size
          << static_cast<quint8>(w.reason) << w.line;
}

// The same read back; false when the bytes do not read as warnings.
bool readWarnings(QDataStream& s, std::vector<ImportWarning>& warnings) {
    quint32 count = 0;
    s >> count;
    for (quint32 i = 0; i < count && s.status() == QDataStream::Ok; ++i) {
        ImportWarning w;
        quint8 code = 0, reason = 0;
        qint32 page = 0, slot = 0;
        s >> code >> w.text >> w.column >> w.kinds >> w.row >> page >> slot >> w.count >> w.size >>
            reason >> w.line;
        if (code > static_cast<quint8>(WarningCode::RowsMissing) ||
            reason > static_cast<quint8>(DamageReason::Catalog))
            return false;
        w.code = static_cast<WarningCode>(code);
        w.reason = static_cast<DamageReason>(reason);
        w.page = page;
        w.slot = slot;
        warnings.push_back(w);
    }
    return s.status() == QDataStream::Ok;
}

void markPhase(const QString& phase) {
    std::fputs((QLatin1Char(phaseMark) + phase + QLatin1Char('\n')).toUtf8().constData(), stderr);
    std::fflush(stderr);
}

} // namespace

int serveAccessTables(const QString& oldPath, bool salvage) {
    wall::ignoreInterrupts();
    // Only for tests: reading slowly, so that an import can be interrupted midway.
    const auto delay =
        static_cast<unsigned long>(environmentNumber("TERNAVOLK_IMPORT_ROW_DELAY_MS", 0));
    wall::RecordWriter out;
    markPhase(openPhase);
    try {
        AccessReader reader(oldPath, salvage);
        for (const data::TableDef* t : data::allTables())
            if (!reader.hasTable(t->tableName())) {
                out.send(Missing, t->tableName());
                return 0;
            }
        out.send(Opened);
        out.flush();
        const auto& tables = data::allTables();
        for (size_t i = 0; i < tables.size(); ++i) {
            const QString name = tables[i]->tableName();
            markPhase(tablePhase(name));
            const std::vector<ImportWarning> notes = reader.readTable(
                *tables[i],
                [&](const std::vector<AccessColumn>& columns) {
                    QStringList names, types;
                    QList<quint8> kinds;
                    for (const AccessColumn& c : columns) {
                        names << c.name;
                        kinds << static_cast<quint8>(c.kind);
                        types << c.typeName;
                    }
                    out.send(Columns, name, names, kinds, types);
                },
                [&](const std::vector<Value>& row) {
                    sendRow(out, row);
                    if (delay) {
                        out.flush();
                        QThread::msleep(delay);
                    }
                });
            // The next mark goes out before the table's end, so that the parent, when it sees
            // the end, has had all that libmdb printed while reading the table.
            markPhase(i + 1 < tables.size() ? tablePhase(tables[i + 1]->tableName()) : donePhase);
            QByteArray warnings;
            QDataStream w(&warnings, QIODevice::WriteOnly);
            w.setVersion(streamVersion);
            writeWarnings(w, notes);
            out.send(End, warnings);
            out.flush();
        }
        out.send(Done);
    } catch (const ImportFailure& e) {
        out.send(Failed, static_cast<quint8>(e.cause()), e.message(), e.table, e.rows,
                 static_cast<quint8>(e.reason));
    } catch (const Error& e) {
        out.send(Failed, static_cast<quint8>(ImportCause::Other), e.message(), QString(),
                 QList<qint64>(), static_cast<quint8>(DamageReason::None));
    }
    return 0;
}

ReaderLimits readerLimits(qint64 fileSize) {
    const qint64 mb = fileSize >> 20;
    return wall::limitsFrom("TERNAVOLK_IMPORT",
                            {512 + 2 * mb, static_cast<int>(120 + mb), 60, 1024 * 1024});
}

WalledAccessReader::WalledAccessReader(const QString& program, const QString& oldPath, bool salvage)
    : oldPath_(oldPath), limits_(readerLimits(QFileInfo(oldPath).size())) {
    QStringList arguments{QString::fromUtf16(accessReaderCommand), oldPath};
    if (salvage)
        arguments << QStringLiteral("--salvage");
    try {
        job_ = wall::startLimited(process_, program, arguments, limits_);
    } catch (const wall::StartError& e) {
        if (!e.started())
            throw Error(QStringLiteral("Cannot read '%1': the Access reader (%2) does not start: "
                                       "%3")
                            .arg(oldPath, program, e.reason()));
        throw Error(QStringLiteral("Cannot read '%1': the Access reader cannot be held to its "
                                   "limits of memory and processor time (%2 failed: %3); the "
                                   "import stopped and nothing was written")
                        .arg(oldPath, e.step(), e.reason()));
    }
    silence_.setRemainingTime(limits_.silentSeconds * 1000);
}

WalledAccessReader::~WalledAccessReader() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    wall::closeJob(job_);
}

void WalledAccessReader::takeLine(const QString& text) {
    const QString line = text.trimmed();
    if (line.startsWith(QLatin1Char(phaseMark))) {
        phase_ = line.mid(1);
        return;
    }
    if (line.isEmpty())
        return;
    // How the reader ends is told by its last lines as much as by its exit: every line is
    // looked at, also those not kept.
    static const char* const outOfMemory[] = {
        "failed to allocate",       // GLib, before it aborts
        "bad_alloc",                // the C++ library, before it aborts
        "hard rss limit exhausted", // AddressSanitizer's limit of memory
        "out of memory",            // AddressSanitizer's allocator
        "Cannot allocate memory",   // the C library
    };
    for (const char* words : outOfMemory)
        if (line.contains(QLatin1String(words), Qt::CaseInsensitive))
            outOfMemory_ = true;
    if (line.contains(QLatin1String("Sanitizer:")) ||
        line.contains(QLatin1String("runtime error:")))
        sanitizerReport_ = true;
    QStringList& said = said_[phase_];
    if (said.size() < linesKept)
        said << line.left(lineLength);
    if (firstLines_.size() < linesKept)
        firstLines_ << line.left(lineLength);
}

// What the child printed is read as it comes; beyond the first lines of each phase it is only
// counted.
void WalledAccessReader::takeMessages(bool all) {
    const QByteArray more = process_.readAllStandardError();
    messageBytes_ += more.size();
    lines_.take(more, all, [this](const QString& line) { takeLine(line); });
}

QString WalledAccessReader::remark(const QString& phase) const {
    const auto said = said_.find(phase);
    return said == said_.end() || said->second.isEmpty() ? QString() : said->second.first();
}

void WalledAccessReader::waitForData(QProcess::ProcessChannel channel) {
    process_.setReadChannel(channel);
    process_.waitForReadyRead(waitSlice);
    process_.setReadChannel(QProcess::StandardOutput);
}

void WalledAccessReader::interrupted() {
    process_.kill();
    process_.waitForFinished(5000);
    throw ImportFailure(
        ImportCause::Interrupted,
        QStringLiteral("The import of '%1' was interrupted; nothing was written").arg(oldPath_));
}

void WalledAccessReader::stop(ImportFailure failure) {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    takeMessages(true);
    QString message = failure.message();
    for (const QString& line : firstLines_)
        message += QStringLiteral("\n  the Access reader said: ") + line;
    ImportFailure out = failure.withMessage(message);
    out.lines = firstLines_;
    throw out;
}

ImportFailure WalledAccessReader::readingWent(ImportCause cause, const QString& how) const {
    return ImportFailure(cause, QStringLiteral("'%1' is damaged: reading it %2; the import "
                                               "stopped and nothing was written")
                                    .arg(oldPath_, how));
}

namespace {

#ifndef Q_OS_WIN
QString signalName(int signal) {
    switch (signal) {
    case SIGSEGV:
        return QStringLiteral("SIGSEGV");
    case SIGBUS:
        return QStringLiteral("SIGBUS");
    case SIGABRT:
        return QStringLiteral("SIGABRT");
    case SIGFPE:
        return QStringLiteral("SIGFPE");
    case SIGILL:
        return QStringLiteral("SIGILL");
    case SIGTRAP:
        return QStringLiteral("SIGTRAP");
    case SIGKILL:
        return QStringLiteral("SIGKILL");
    case SIGXCPU:
        return QStringLiteral("SIGXCPU");
    default:
        return QString();
    }
}
#endif

} // namespace

// The reader ended before it handed everything over. Its end tells why, as far as it can be
// told: on POSIX the signal that ended it (processor time runs out with SIGXCPU, then SIGKILL)
// and what it printed last (an allocation refused under the memory limit ends in an abort
// after such a line); on Windows the job object ends a reader out of processor time with
// ERROR_NOT_ENOUGH_QUOTA, while one out of memory fails as its allocation fails: it crashes or
// aborts, and only a line it printed tells that apart from a crash.
void WalledAccessReader::brokeOff() {
    process_.waitForFinished(5000);
    takeMessages(true);
    const bool crashed = process_.exitStatus() == QProcess::CrashExit;
    const int code = process_.exitCode();
    ImportFailure limit = readingWent(
        ImportCause::ReaderLimit,
        QStringLiteral("broke off (the Access reader went beyond its limit of %1 MB of memory)")
            .arg(limits_.memoryMB));
    limit.limit = QStringLiteral("memory");
    limit.memoryMB = limits_.memoryMB;
    limit.cpuSeconds = limits_.cpuSeconds;
    if (outOfMemory_)
        stop(limit);
    const auto cpu = [&] {
        ImportFailure f = limit.withMessage(
            readingWent(ImportCause::ReaderLimit,
                        QStringLiteral("broke off (the Access reader went beyond its limit of %1 s "
                                       "of processor time)")
                            .arg(limits_.cpuSeconds))
                .message());
        f.limit = QStringLiteral("cpu");
        return f;
    };
    QString crash;
#ifndef Q_OS_WIN
    if (crashed && code == SIGXCPU)
        stop(cpu());
    if (crashed && code == SIGKILL) { // the hard limit of processor time, or the system's
                                      // killer of processes that take too much memory
        ImportFailure f = limit.withMessage(
            readingWent(ImportCause::ReaderLimit,
                        QStringLiteral("broke off (the Access reader was killed, having gone "
                                       "beyond its limit of %1 MB of memory or %2 s of processor "
                                       "time)")
                            .arg(limits_.memoryMB)
                            .arg(limits_.cpuSeconds))
                .message());
        f.limit = QStringLiteral("memory-or-cpu");
        stop(f);
    }
    const QString name = signalName(code);
    crash = name.isEmpty() ? QStringLiteral("signal %1").arg(code)
                           : QStringLiteral("signal %1, %2").arg(code).arg(name);
#else
    if (!crashed && static_cast<unsigned long>(code) == ERROR_NOT_ENOUGH_QUOTA)
        stop(cpu());
    crash =
        QStringLiteral("exception 0x%1").arg(static_cast<quint32>(code), 8, 16, QLatin1Char('0'));
#endif
    if (crashed)
        stop(readingWent(ImportCause::ReaderCrashed,
                         QStringLiteral("broke off (the Access reader crashed: %1)").arg(crash)));
    if (sanitizerReport_) // a fault the reader found in itself
        stop(readingWent(ImportCause::ReaderCrashed,
                         QStringLiteral("broke off (the Access reader crashed: a fault it found "
                                        "in itself ended it with exit code %1)")
                             .arg(code)));
    if (!firstLines_.isEmpty())
        stop(ImportFailure(ImportCause::ReaderRefused,
                           QStringLiteral("'%1' is damaged: the Access reader gave up on it (it "
                                          "ended with exit code %2, saying why); the import "
                                          "stopped and nothing was written")
                               .arg(oldPath_)
                               .arg(code)));
    stop(readingWent(ImportCause::ReaderCrashed,
                     QStringLiteral("broke off (the Access reader ended with exit code %1 "
                                    "before it had read the file, saying nothing)")
                         .arg(code)));
}

ImportFailure WalledAccessReader::unreadable() const {
    return readingWent(ImportCause::Unreadable,
                       QStringLiteral("went wrong (the Access reader handed over what cannot be "
                                      "read)"));
}

// Between two waits for the child: an interrupt, a flood of messages or a silence too long ends
// the import.
void WalledAccessReader::watch() {
    if (interruptRequested())
        interrupted();
    takeMessages(false);
    if (messageBytes_ > limits_.messageBytes) {
        ImportFailure f = readingWent(ImportCause::ReaderFlooded,
                                      QStringLiteral("went wrong (the Access reader printed more "
                                                     "than %1 KB of messages)")
                                          .arg(limits_.messageBytes / 1024));
        f.kilobytes = limits_.messageBytes / 1024;
        stop(f);
    }
    if (silence_.hasExpired()) {
        ImportFailure f =
            readingWent(ImportCause::ReaderStalled,
                        QStringLiteral("stalled (the Access reader gave nothing for %1 s)")
                            .arg(limits_.silentSeconds));
        f.seconds = limits_.silentSeconds;
        stop(f);
    }
}

// After a refusal the child ends by itself; all it printed is then here. A wait for its output
// may already have seen it end (Windows's QProcess notes the end together with the last output),
// and waitForFinished() answers false for a child that has ended.
void WalledAccessReader::awaitEnd() {
    while (process_.state() != QProcess::NotRunning && !process_.waitForFinished(waitSlice))
        watch();
    takeMessages(true);
}

QByteArray WalledAccessReader::nextRecord() {
    for (;;) {
        if (std::optional<QByteArray> record = records_.take())
            return std::move(*record);
        watch();
        const QByteArray more = process_.readAllStandardOutput();
        if (!more.isEmpty()) {
            records_.append(more);
            silence_.setRemainingTime(limits_.silentSeconds * 1000);
            continue;
        }
        if (process_.state() == QProcess::NotRunning)
            brokeOff();
        waitForData(QProcess::StandardOutput);
    }
}

namespace {

using wall::RecordReader;

} // namespace

// A refusal the child sent: what it said, with what libmdb printed while it read.
void WalledAccessReader::refused(const QByteArray& record) {
    RecordReader r(record);
    const auto cause = r.take<quint8>();
    const auto text = r.take<QString>();
    const auto table = r.take<QString>();
    const auto rows = r.take<QList<qint64>>();
    const auto reason = r.take<quint8>();
    if (!r.sound() || cause > static_cast<quint8>(ImportCause::Other) ||
        reason > static_cast<quint8>(DamageReason::Catalog))
        stop(unreadable());
    awaitEnd();
    const QString said = remark(phase_);
    ImportFailure failure(static_cast<ImportCause>(cause),
                          said.isEmpty() ? text : text + QStringLiteral(" (") + said + u')');
    failure.table = table;
    failure.rows = rows;
    failure.reason = static_cast<DamageReason>(reason);
    const auto lines = said_.find(phase_);
    if (lines != said_.end())
        failure.lines = lines->second;
    throw failure;
}

void WalledAccessReader::open() {
    const QByteArray record = nextRecord();
    RecordReader r(record);
    if (r.tag() == Opened && r.sound())
        return;
    if (r.tag() == Failed)
        refused(record);
    if (r.tag() == Missing) {
        const QString table = r.take<QString>();
        if (!r.sound())
            stop(unreadable());
        awaitEnd();
        const QString said = remark(openPhase);
        if (!said.isEmpty()) { // the list of tables was read only in part
            ImportFailure failure(ImportCause::Damaged,
                                  QStringLiteral("'%1' is damaged: table '%2' cannot be found (%3)")
                                      .arg(oldPath_, table, said));
            failure.table = table;
            failure.reason = DamageReason::Catalog;
            failure.lines = said_[openPhase];
            throw failure;
        }
        ImportFailure failure(ImportCause::MissingTable,
                              QStringLiteral("'%1' has no table '%2'").arg(oldPath_, table));
        failure.table = table;
        throw failure;
    }
    stop(unreadable());
}

std::vector<ImportWarning> WalledAccessReader::readTable(
    const QString& name, const std::function<void(const std::vector<AccessColumn>&)>& onColumns,
    const std::function<void(const std::vector<data::Value>&)>& onRow) {
    size_t count = 0;
    std::vector<Value> row;
    for (;;) {
        const QByteArray record = nextRecord();
        RecordReader r(record);
        switch (r.tag()) {
        case Columns: {
            const auto table = r.take<QString>();
            const auto names = r.take<QStringList>();
            const auto kinds = r.take<QList<quint8>>();
            const auto types = r.take<QStringList>();
            if (!r.sound() || table != name || names.size() != kinds.size() ||
                names.size() != types.size())
                stop(unreadable());
            std::vector<AccessColumn> columns;
            for (qsizetype i = 0; i < names.size(); ++i)
                columns.push_back({names[i],
                                   kinds[i] <= static_cast<quint8>(AccessKind::Other)
                                       ? static_cast<AccessKind>(kinds[i])
                                       : AccessKind::Other,
                                   types[i]});
            count = columns.size();
            row.assign(count, Value());
            onColumns(columns);
            break;
        }
        case Row:
            for (size_t c = 0; c < count; ++c) {
                switch (r.take<quint8>()) {
                case NullValue:
                    row[c] = Value();
                    break;
                case IntegerValue:
                    row[c] = Value(r.take<qint32>());
                    break;
                case DateTimeValue:
                    row[c] = Value(platform::DateTime(r.take<double>()));
                    break;
                case TextValue:
                    row[c] = Value(r.take<QString>());
                    break;
                default:
                    stop(unreadable());
                }
            }
            if (!r.sound() || row.size() != count)
                stop(unreadable());
            onRow(row);
            break;
        case End: {
            const auto bytes = r.take<QByteArray>();
            std::vector<ImportWarning> notes;
            QDataStream in(bytes);
            in.setVersion(streamVersion);
            if (!r.sound() || !readWarnings(in, notes) || !in.atEnd())
                stop(unreadable());
            // Before the end the child marked its next phase: wait for that mark, so that all
            // libmdb printed while reading this table is here.
            const QString phase = tablePhase(name);
            while (phase_ == phase && process_.state() != QProcess::NotRunning) {
                watch();
                if (phase_ != phase)
                    break;
                waitForData(QProcess::StandardError);
            }
            takeMessages(false);
            if (!remark(phase).isEmpty()) {
                ImportWarning w;
                w.code = WarningCode::ReaderRemark;
                w.line = remark(phase);
                w.text = QStringLiteral("the Access reader remarked: ") + w.line;
                notes.push_back(w);
            }
            return notes;
        }
        case Failed:
            refused(record);
        default:
            stop(unreadable());
        }
    }
}

void WalledAccessReader::close() {
    const QByteArray record = nextRecord();
    RecordReader r(record);
    if (r.tag() != Done || !r.sound())
        stop(unreadable());
    awaitEnd();
    if (process_.exitStatus() != QProcess::NormalExit || process_.exitCode() != 0)
        brokeOff();
    if (interruptRequested())
        interrupted();
}

} // namespace tools
