#pragma once

#include "tools/accessimport.h"
#include "tools/wall.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <map>

namespace tools {

// An old Access file is read behind a wall: ternavolk-db starts itself again with this internal
// command, and that child reads the file through libmdb and hands its tables over on stdout,
// under a limit of memory and of processor time. Whatever libmdb does with a damaged file (loop,
// allocate without end, abort, print without end) ends that child only.
inline constexpr char16_t accessReaderCommand[] = u"__read-access";

// The child's side: reads `oldPath` and writes its three tables to stdout. Returns the exit
// code (0 also when the file was refused: the refusal travels in the stream).
int serveAccessTables(const QString& oldPath, bool salvage);

// What the child may use. Generous for real files; the environment can narrow them (the tests
// do, to run fast): TERNAVOLK_IMPORT_MEMORY_MB (address space, or on Windows committed memory),
// TERNAVOLK_IMPORT_CPU_SECONDS (processor time), TERNAVOLK_IMPORT_SILENT_SECONDS (the longest
// the child may hand over nothing), TERNAVOLK_IMPORT_MESSAGES_KB (what libmdb may print).
// For the tests only, TERNAVOLK_IMPORT_ROW_DELAY_MS slows the child down after each row, so
// that an import can be interrupted midway.
using ReaderLimits = wall::Limits;
ReaderLimits readerLimits(qint64 fileSize);

// The parent's side: the tables as the child hands them over. A crash, a limit reached, a
// silence too long, a flood of messages or an end without the tables (the reader gave up on the
// file) ends the import with an ImportFailure whose cause tells these apart, and a message
// naming the file and the first lines the library printed; an interrupt (tools/interrupt.h)
// ends it too.
class WalledAccessReader : public AccessSource {
public:
    WalledAccessReader(const QString& program, const QString& oldPath, bool salvage);
    ~WalledAccessReader() override;
    WalledAccessReader(const WalledAccessReader&) = delete;
    WalledAccessReader& operator=(const WalledAccessReader&) = delete;

    void open() override;
    std::vector<ImportWarning>
    readTable(const QString& name,
              const std::function<void(const std::vector<AccessColumn>&)>& onColumns,
              const std::function<void(const std::vector<data::Value>&)>& onRow) override;
    void close() override;

private:
    QByteArray nextRecord();
    void watch();
    void awaitEnd();
    void waitForData(QProcess::ProcessChannel channel);
    void takeMessages(bool all);
    void takeLine(const QString& line);
    QString remark(const QString& phase) const;
    // "'OLD' is damaged: reading it <how>; the import stopped and nothing was written"
    ImportFailure readingWent(ImportCause cause, const QString& how) const;
    ImportFailure unreadable() const;
    // Ends the child and throws `failure`, followed by the first lines the library printed.
    [[noreturn]] void stop(ImportFailure failure);
    [[noreturn]] void brokeOff();
    [[noreturn]] void interrupted();
    [[noreturn]] void refused(const QByteArray& record);

    QString oldPath_;
    ReaderLimits limits_;
    QProcess process_;
    wall::RecordBuffer records_;          // what came on stdout
    wall::LineSplitter lines_{4 * 300};   // libmdb's lines on stderr, each cut to 1,200 bytes
    QString phase_;                       // what the child said it is doing
    std::map<QString, QStringList> said_; // the first lines libmdb printed, for each phase
    QStringList firstLines_;
    bool outOfMemory_ = false;     // it said an allocation failed
    bool sanitizerReport_ = false; // a sanitizer build's check of itself reported a fault
    qint64 messageBytes_ = 0;
    QDeadlineTimer silence_;
    void* job_ = nullptr; // Windows' job object (wall::startLimited)
};

} // namespace tools
