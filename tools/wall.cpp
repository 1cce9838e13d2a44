#include "tools/wall.h"

#include <QProcessEnvironment>
#include <QtEndian>
#include <cstdio>
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif

// An AddressSanitizer build reserves terabytes of address space for itself, so there the memory
// limit is its own resident-size limit instead of an address-space limit.
#if defined(__SANITIZE_ADDRESS__)
#define TERNAVOLK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TERNAVOLK_ASAN 1
#endif
#endif

namespace tools::wall {

namespace {

// The child's lines kept, and their longest length kept.
constexpr int linesKept = 3, lineLength = 300;
// How long the parent waits for the child in one go before it looks around again.
constexpr int waitSlice = 100;

qint64 environmentNumber(const QString& name, qint64 fallback) {
    bool ok = false;
    const qint64 n = qEnvironmentVariable(name.toLatin1().constData()).toLongLong(&ok);
    return ok && n > 0 ? n : fallback;
}

} // namespace

Limits limitsFor(const char* prefix, qint64 fileSize) {
    const qint64 mb = fileSize >> 20;
    return limitsFrom(prefix, {512 + 16 * mb, static_cast<int>(60 + 2 * mb), 60, 1024 * 1024});
}

Limits limitsFrom(const char* prefix, const Limits& defaults) {
    const QString p = QString::fromLatin1(prefix);
    Limits limits;
    limits.memoryMB = environmentNumber(p + QStringLiteral("_MEMORY_MB"), defaults.memoryMB);
    limits.cpuSeconds = static_cast<int>(
        environmentNumber(p + QStringLiteral("_CPU_SECONDS"), defaults.cpuSeconds));
    limits.silentSeconds = static_cast<int>(
        environmentNumber(p + QStringLiteral("_SILENT_SECONDS"), defaults.silentSeconds));
    limits.messageBytes =
        environmentNumber(p + QStringLiteral("_MESSAGES_KB"), defaults.messageBytes / 1024) * 1024;
    return limits;
}

void RecordBuffer::append(const QByteArray& more) {
    bytes_.remove(0, taken_);
    taken_ = 0;
    bytes_ += more;
}

std::optional<quint32> RecordBuffer::nextSize() const {
    if (bytes_.size() - taken_ < 4)
        return std::nullopt;
    return qFromBigEndian<quint32>(bytes_.constData() + taken_);
}

std::optional<QByteArray> RecordBuffer::take() {
    const std::optional<quint32> size = nextSize();
    if (!size || static_cast<quint64>(bytes_.size() - taken_) < 4 + static_cast<quint64>(*size))
        return std::nullopt;
    QByteArray record = bytes_.mid(taken_ + 4, *size);
    taken_ += 4 + static_cast<qsizetype>(*size);
    return record;
}

void LineSplitter::take(const QByteArray& more, bool all,
                        const std::function<void(const QString&)>& line) {
    qsizetype from = 0;
    for (qsizetype end = more.indexOf('\n'); end >= 0; end = more.indexOf('\n', from)) {
        part_ += more.mid(from, std::min<qsizetype>(end - from, longest_));
        line(QString::fromLocal8Bit(part_));
        part_.clear();
        from = end + 1;
    }
    if (part_.size() < longest_)
        part_ += more.mid(from, longest_ - part_.size());
    if (all && !part_.isEmpty()) {
        line(QString::fromLocal8Bit(part_));
        part_.clear();
    }
}

void* startLimited(QProcess& process, const QString& program, const QStringList& arguments,
                   const Limits& limits) {
#ifdef TERNAVOLK_ASAN
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString asan = environment.value(QStringLiteral("ASAN_OPTIONS"));
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
                       (asan.isEmpty() ? QString() : asan + QLatin1Char(':')) +
                           QStringLiteral("hard_rss_limit_mb=%1").arg(limits.memoryMB));
    process.setProcessEnvironment(environment);
#endif
#ifndef Q_OS_WIN
    const auto memory = static_cast<rlim_t>(limits.memoryMB) << 20;
    const auto cpu = static_cast<rlim_t>(limits.cpuSeconds);
    // Runs in the child between fork and exec: system calls only.
    process.setChildProcessModifier([memory, cpu] {
        struct rlimit limit = {};
#ifndef TERNAVOLK_ASAN
        limit.rlim_cur = limit.rlim_max = memory;
        setrlimit(RLIMIT_AS, &limit);
#else
        (void)memory;
#endif
        limit.rlim_cur = cpu;
        limit.rlim_max = cpu + 1; // the first signal stops it, the second kills it
        setrlimit(RLIMIT_CPU, &limit);
        limit.rlim_cur = limit.rlim_max = 0; // it writes no file, not even a core dump
        setrlimit(RLIMIT_CORE, &limit);
        setrlimit(RLIMIT_FSIZE, &limit);
#ifdef Q_OS_LINUX
        prctl(PR_SET_PDEATHSIG, SIGKILL); // and it ends with this process, however that ends
#endif
    });
#endif
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted())
        throw StartError(QString(), process.errorString());
#ifdef Q_OS_WIN
    // Assigned at once after the start.
    HANDLE job = nullptr;
    const auto check = [&](bool done, const char* step, HANDLE child = nullptr) {
        if (done && qEnvironmentVariable("TERNAVOLK_IMPORT_JOB_REFUSED") != QLatin1String(step)) {
            if (child)
                CloseHandle(child);
            return;
        }
        const int error = done ? ERROR_ACCESS_DENIED : static_cast<int>(GetLastError());
        if (child)
            CloseHandle(child);
        if (job)
            CloseHandle(job);
        process.kill();
        process.waitForFinished(5000);
        throw StartError(QLatin1String(step), qt_error_string(error));
    };
    job = CreateJobObjectW(nullptr, nullptr);
    check(job != nullptr, "CreateJobObjectW");
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION info = {};
    info.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY |
                                            JOB_OBJECT_LIMIT_PROCESS_TIME |
                                            JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    info.BasicLimitInformation.PerProcessUserTimeLimit.QuadPart =
        static_cast<LONGLONG>(limits.cpuSeconds) * 10000000;
    info.ProcessMemoryLimit = static_cast<SIZE_T>(limits.memoryMB) << 20;
    check(SetInformationJobObject(job, JobObjectExtendedLimitInformation, &info, sizeof info),
          "SetInformationJobObject");
    HANDLE child = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE,
                               static_cast<DWORD>(process.processId()));
    check(child != nullptr, "OpenProcess");
    check(AssignProcessToJobObject(job, child), "AssignProcessToJobObject", child);
    return job;
#else
    return nullptr;
#endif
}

void closeJob(void* job) {
#ifdef Q_OS_WIN
    if (job)
        CloseHandle(static_cast<HANDLE>(job));
#else
    (void)job;
#endif
}

void ignoreInterrupts() {
#ifdef Q_OS_WIN
    SetConsoleCtrlHandler(nullptr, TRUE);
#else
    std::signal(SIGINT, SIG_IGN);
#endif
}

RecordWriter::RecordWriter() {
#ifdef Q_OS_WIN
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    out_.open(stdout, QIODevice::WriteOnly);
}

RecordWriter::~RecordWriter() {
    out_.flush();
}

void RecordWriter::sendPayload(const QByteArray& payload) {
    char head[4];
    qToBigEndian<quint32>(static_cast<quint32>(payload.size()), head);
    out_.write(head, 4);
    out_.write(payload);
}

void RecordWriter::flush() {
    out_.flush();
}

Child::Child(const QString& program, const QStringList& arguments, const Limits& limits,
             std::function<void()> between, qint64 mostBytes)
    : limits_(limits), between_(std::move(between)), mostBytes_(mostBytes) {
    try {
        job_ = startLimited(process_, program, arguments, limits_);
    } catch (const StartError& e) {
        throw BreachError(
            Breach::NotStarted,
            e.started()
                ? QStringLiteral("the reader (%1) cannot be held to its limits of "
                                 "memory and processor time (%2 failed: %3)")
                      .arg(program, e.step(), e.reason())
                : QStringLiteral("the reader (%1) does not start: %2").arg(program, e.reason()),
            {});
    }
    silence_.setRemainingTime(static_cast<qint64>(limits_.silentSeconds) * 1000);
}

Child::~Child() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    closeJob(job_);
}

void Child::takeLine(const QString& text) {
    const QString line = text.trimmed();
    if (!line.isEmpty() && firstLines_.size() < linesKept)
        firstLines_ << line.left(lineLength);
}

// What the child printed is read as it comes; beyond the first lines it is only counted.
void Child::takeMessages(bool all) {
    const QByteArray more = process_.readAllStandardError();
    messageBytes_ += more.size();
    lines_.take(more, all, [this](const QString& line) { takeLine(line); });
}

void Child::stop(Breach breach, const QString& message) {
    process_.kill();
    process_.waitForFinished(5000);
    takeMessages(true);
    throw BreachError(breach, message, firstLines_);
}

// Between two waits for the child: what the caller watches, a flood of messages or a silence
// too long ends the work.
void Child::watch() {
    if (between_) {
        try {
            between_();
        } catch (...) {
            process_.kill();
            process_.waitForFinished(5000);
            throw;
        }
    }
    takeMessages(false);
    if (messageBytes_ > limits_.messageBytes)
        stop(Breach::Flooded, QStringLiteral("the reader printed more than %1 KB of messages")
                                  .arg(limits_.messageBytes / 1024));
    if (silence_.hasExpired())
        stop(Breach::Stalled,
             QStringLiteral("the reader gave nothing for %1 s").arg(limits_.silentSeconds));
}

QByteArray Child::nextRecord() {
    for (;;) {
        if (const std::optional<quint32> size = records_.nextSize();
            size && mostBytes_ > 0 && static_cast<qint64>(*size) > mostBytes_)
            stop(Breach::TooMuch,
                 QStringLiteral("the reader handed over a record of %1 bytes").arg(*size));
        if (std::optional<QByteArray> record = records_.take())
            return std::move(*record);
        watch();
        const QByteArray more = process_.readAllStandardOutput();
        if (!more.isEmpty()) {
            received_ += more.size();
            if (mostBytes_ > 0 && received_ > mostBytes_)
                stop(
                    Breach::TooMuch,
                    QStringLiteral("the reader handed over more than %1 MB").arg(mostBytes_ >> 20));
            records_.append(more);
            silence_.setRemainingTime(static_cast<qint64>(limits_.silentSeconds) * 1000);
            continue;
        }
        if (process_.state() == QProcess::NotRunning) {
            takeMessages(true);
            stop(Breach::BrokeOff,
                 QStringLiteral("the reader broke off (it crashed or went beyond its limit of "
                                "%1 MB of memory or %2 s of processor time)")
                     .arg(limits_.memoryMB)
                     .arg(limits_.cpuSeconds));
        }
        process_.waitForReadyRead(waitSlice);
    }
}

void Child::finish() {
    // A wait for output may already have seen the child end (Windows' QProcess notes the end
    // with the last output); waitForFinished() then says false at once, and waiting on would
    // only end at the silence limit.
    while (process_.state() != QProcess::NotRunning && !process_.waitForFinished(waitSlice))
        watch();
    takeMessages(true);
    if (process_.exitStatus() != QProcess::NormalExit || process_.exitCode() != 0)
        stop(Breach::BrokeOff, QStringLiteral("the reader broke off at its end (exit code %1)")
                                   .arg(process_.exitCode()));
    if (!process_.readAllStandardOutput().isEmpty() || records_.holdsMore())
        stop(Breach::Garbled, QStringLiteral("the reader handed over more after its end"));
}

} // namespace tools::wall
