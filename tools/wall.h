#pragma once

#include "platform/errors.h"

#include <QByteArray>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// A file from elsewhere is read behind a wall: ternavolk-db starts itself again with an
// internal command, and that child reads the file through the field's library and hands what it
// read over on stdout as records, under limits of memory, processor time, silence and messages.
// Whatever the library does with a damaged file (loop, allocate without end, crash, print
// without end) ends that child only. This is the wall's general part: the child's record
// writer, and the parent's side that starts the child, watches it and takes its records.
namespace tools::wall {

// What a child may use. `prefix` names the environment variables that narrow them (the tests
// do): PREFIX_MEMORY_MB (address space, or on Windows committed memory), PREFIX_CPU_SECONDS
// (processor time), PREFIX_SILENT_SECONDS (the longest the child may hand over nothing),
// PREFIX_MESSAGES_KB (what the library may print). The defaults grow with the file's size.
struct Limits {
    qint64 memoryMB = 0;
    int cpuSeconds = 0;
    int silentSeconds = 0;
    qint64 messageBytes = 0;
};
Limits limitsFor(const char* prefix, qint64 fileSize);
// The same over the given defaults.
Limits limitsFrom(const char* prefix, const Limits& defaults);

// The child did not start, or could not be held to its limits and was killed. `step` names the
// system call that failed (empty when the child did not start), `reason` the system's words.
class StartError : public platform::Error {
public:
    StartError(QString step, QString reason)
        : Error(step.isEmpty() ? QStringLiteral("it does not start: %1").arg(reason)
                               : QStringLiteral("it cannot be held to its limits of memory and "
                                                "processor time (%1 failed: %2)")
                                     .arg(step, reason)),
          step_(std::move(step)), reason_(std::move(reason)) {}
    bool started() const { return !step_.isEmpty(); }
    const QString& step() const { return step_; }
    const QString& reason() const { return reason_; }

private:
    QString step_, reason_;
};

// Starts `program` with `arguments` in `process` under `limits`, the one way every wall starts
// its child: on POSIX systems with setrlimit (address space, or under AddressSanitizer its own
// resident-size limit; processor time; no file written, not even a core dump) and, on Linux,
// ending with this process however it ends; on Windows in a job object with the memory and time
// limits, closed (and the child with it) when this process ends. A child that cannot be put in
// such a job is killed: no file is read without the limits. For the tests only,
// TERNAVOLK_IMPORT_JOB_REFUSED names a step of making the job that then fails as if Windows
// refused it. Returns the job (nullptr on other systems), for closeJob. Throws StartError.
void* startLimited(QProcess& process, const QString& program, const QStringList& arguments,
                   const Limits& limits);
void closeJob(void* job);

// The version of QDataStream both sides speak.
inline constexpr QDataStream::Version streamVersion = QDataStream::Qt_6_0;

// The child's side. A Ctrl+C at the console reaches every process on it: the child ignores it,
// and its parent stops it after noting the interrupt.
void ignoreInterrupts();

// Writes records on stdout: each a 32-bit length (big-endian) and a QDataStream payload that
// begins with a one-byte tag.
class RecordWriter {
public:
    RecordWriter();
    ~RecordWriter();
    RecordWriter(const RecordWriter&) = delete;
    RecordWriter& operator=(const RecordWriter&) = delete;

    template <typename... T> void send(quint8 tag, const T&... parts) {
        QByteArray payload;
        QDataStream s(&payload, QIODevice::WriteOnly);
        s.setVersion(streamVersion);
        s << tag;
        ((s << parts), ...);
        sendPayload(payload);
    }
    // A payload made by the caller (beginning with its tag).
    void sendPayload(const QByteArray& payload);
    void flush();

private:
    QFile out_;
};

// The parent's side: one record taken apart; a record that does not read as its tag promises
// is garbled (sound() is false).
class RecordReader {
public:
    explicit RecordReader(const QByteArray& record) : in_(record) {
        in_.setVersion(streamVersion);
        in_ >> tag_;
    }
    quint8 tag() const { return tag_; }
    template <typename T> T take() {
        T value{};
        in_ >> value;
        return value;
    }
    QDataStream& stream() { return in_; }
    bool sound() const { return in_.status() == QDataStream::Ok && in_.atEnd(); }

private:
    QDataStream in_;
    quint8 tag_ = 0;
};

// What a child hands over on stdout as it comes, taken apart record by record: each a 32-bit
// length (big-endian) and that many bytes of payload.
class RecordBuffer {
public:
    void append(const QByteArray& more);
    // The size the next record says it has, once its length has come.
    std::optional<quint32> nextSize() const;
    // The next record's payload, once all of it has come.
    std::optional<QByteArray> take();
    // Whether bytes have come that no record taken holds.
    bool holdsMore() const { return bytes_.size() > taken_; }

private:
    QByteArray bytes_; // of which the first taken_ are taken
    qsizetype taken_ = 0;
};

// Splits what a child prints into lines as it comes: a line's start is kept until its end
// arrives, and every line is cut to `longest` bytes, however long the child makes it.
class LineSplitter {
public:
    explicit LineSplitter(qsizetype longest) : longest_(longest) {}
    // Calls `line` for each whole line in `more`, and when `all` for what is left.
    void take(const QByteArray& more, bool all, const std::function<void(const QString&)>& line);

private:
    qsizetype longest_;
    QByteArray part_;
};

// How the wall stopped a child.
enum class Breach {
    NotStarted,  // the child could not be started
    BrokeOff,    // it crashed, or reached its memory or processor-time limit
    Stalled,     // it handed over nothing for longer than its limit of silence
    Flooded,     // it printed more messages than its limit
    Garbled,     // it handed over what cannot be read
    TooMuch,     // it handed over more than the parent takes
    Interrupted, // the person stopped the work (Ctrl+C)
};

// The child stopped by the wall: why, and the first lines it printed. The message is a short
// English text for logs; each reader of a kind of file says it in its own words.
class BreachError : public platform::Error {
public:
    BreachError(Breach breach, const QString& message, QStringList said)
        : Error(message), breach_(breach), said_(std::move(said)) {}
    Breach breach() const { return breach_; }
    const QStringList& said() const { return said_; }

private:
    Breach breach_;
    QStringList said_;
};

// Starts `program` with `arguments` under `limits` and takes its records. `between` is called
// whenever the parent waits for the child (about ten times a second, and after each piece of
// output): it may throw to stop the work (the child is then killed). The child is killed when
// this object goes, unless it ended by itself.
class Child {
public:
    Child(const QString& program, const QStringList& arguments, const Limits& limits,
          std::function<void()> between = {}, qint64 mostBytes = 0);
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The next record's payload. Throws BreachError when the child breaks off, stalls, floods,
    // or hands over more than `mostBytes` in all (0: no limit); whatever `between` throws.
    QByteArray nextRecord();
    // Waits for the child to end by itself after its last record; BreachError when it did not
    // end well.
    void finish();
    // The first lines the child printed on stderr.
    const QStringList& firstLines() const { return firstLines_; }
    const Limits& limits() const { return limits_; }

    [[noreturn]] void stop(Breach breach, const QString& message);

private:
    void watch();
    void takeMessages(bool all);
    void takeLine(const QString& line);

    Limits limits_;
    std::function<void()> between_;
    qint64 mostBytes_;
    QProcess process_;
    RecordBuffer records_;
    qint64 received_ = 0;
    LineSplitter lines_{4 * 300}; // what it prints, each line cut to 1,200 bytes
    QStringList firstLines_;
    qint64 messageBytes_ = 0;
    QDeadlineTimer silence_;
    void* job_ = nullptr; // Windows' job object (startLimited)
};

} // namespace tools::wall
