// Damaged lists of each format, made from the samples by seeded mutations: each is read by the
// built tool's child behind the wall, recognised, planned and written. Every one must end as a
// list taken or a list refused for what it is (never a reader that crashed, stalled or handed
// over nonsense, never another failure), and a refused one writes nothing. The first of them
// also go through the tool's commands, which must exit with 0 or 1.
//
// TERNAVOLK_FUZZ_MUTANTS sets how many mutants of each format (150 unless set; 1000 for the
// full run), TERNAVOLK_FUZZ_KEEP a folder where the mutants that fail are kept.

#include "data/sqlite.h"
#include "support/tempdatabase.h"
#include "support/toolrun.h"
#include "tools/bookimport.h"
#include "tools/readerimport.h"
#include "tools/sheetwall.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <unzip.h>
#include <zip.h>

using namespace Qt::StringLiterals;
using namespace tools::lists;
using tools::sheets::Fault;
using tools::sheets::SheetError;

namespace {

const QString tool = QStringLiteral(TERNAVOLK_DB_TOOL);
const QString school = u"ATATÜRK ANADOLU LİSESİ"_s;

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Byte-level damage: flipped bits, telling values (0, -1, the largest numbers) written over
// lengths and offsets, cuts, repeated and missing blocks, inserted noise.
QByteArray mutate(QByteArray bytes, QRandomGenerator& rnd) {
    const int edits = 1 + static_cast<int>(rnd.bounded(8));
    for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
        const auto at = static_cast<qsizetype>(rnd.bounded(static_cast<quint32>(bytes.size())));
        switch (rnd.bounded(7)) {
        case 0:
            bytes[at] = static_cast<char>(bytes[at] ^ (1 << rnd.bounded(8)));
            break;
        case 1: {
            static const char values[] = {0, '\xFF', '\x7F', '\x80', 1, '\xFE'};
            bytes[at] = values[rnd.bounded(6)];
            break;
        }
        case 2: {
            static const quint32 values[] = {0,      0xFFFFFFFF, 0x7FFFFFFF, 0x80000000,
                                             0xFFFF, 1,          0x10000};
            const quint32 v = values[rnd.bounded(7)];
            for (int k = 0; k < 4 && at + k < bytes.size(); ++k)
                bytes[at + k] = static_cast<char>(v >> (8 * k));
            break;
        }
        case 3:
            bytes.truncate(at);
            break;
        case 4: {
            const qsizetype n = std::min<qsizetype>(1 + rnd.bounded(512), bytes.size() - at);
            bytes.insert(at, bytes.mid(at, n));
            break;
        }
        case 5:
            bytes.remove(at, std::min<qsizetype>(1 + rnd.bounded(64), bytes.size() - at));
            break;
        default: {
            QByteArray noise(1 + rnd.bounded(32), '\0');
            for (char& c : noise)
                c = static_cast<char>(rnd.bounded(256));
            bytes.insert(at, noise);
        }
        }
    }
    return bytes;
}

// Damage a text list keeps as text: quotes, separators and line ends where they do not belong,
// Turkish letters in another encoding, byte-order marks in the middle or at the start.
QByteArray mutateText(QByteArray bytes, QRandomGenerator& rnd) {
    static const QByteArray pieces[] = {
        "\"",           ";",        ",",      "\t",           "\r",
        "\n",           "\"\"",     "\r\n",   "\xC7\xDE\xDD", "\xC3\x87",
        "\xEF\xBB\xBF", "\xFF\xFE", "9001.0", "\x1A",         "\xC3"};
    const int edits = 1 + static_cast<int>(rnd.bounded(6));
    for (int e = 0; e < edits; ++e) {
        const QByteArray& piece = pieces[rnd.bounded(static_cast<quint32>(std::size(pieces)))];
        const auto at = static_cast<qsizetype>(rnd.bounded(static_cast<quint32>(bytes.size() + 1)));
        if (rnd.bounded(2) == 0)
            bytes.insert(at, piece);
        else
            bytes.replace(at, std::min<qsizetype>(piece.size(), bytes.size() - at), piece);
    }
    return bytes;
}

// The parts of an .xlsx, in the archive's order.
std::vector<std::pair<QByteArray, QByteArray>> unpack(const QString& path) {
    std::vector<std::pair<QByteArray, QByteArray>> parts;
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (!zip)
        return parts;
    for (int rc = unzGoToFirstFile(zip); rc == UNZ_OK; rc = unzGoToNextFile(zip)) {
        char name[512];
        unz_file_info64 info;
        unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0);
        QByteArray data;
        if (unzOpenCurrentFile(zip) == UNZ_OK) {
            char buffer[65536];
            for (int n; (n = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0;)
                data.append(buffer, n);
            unzCloseCurrentFile(zip);
        }
        parts.emplace_back(QByteArray(name), data);
    }
    unzClose(zip);
    return parts;
}

bool pack(const QString& path, const std::vector<std::pair<QByteArray, QByteArray>>& parts) {
    zipFile zip = zipOpen(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zip)
        return false;
    for (const auto& [name, data] : parts) {
        zip_fileinfo info = {};
        zipOpenNewFileInZip(zip, name.constData(), &info, nullptr, 0, nullptr, 0, nullptr,
                            Z_DEFLATED, Z_DEFAULT_COMPRESSION);
        zipWriteInFileInZip(zip, data.constData(), static_cast<unsigned>(data.size()));
        zipCloseFileInZip(zip);
    }
    return zipClose(zip, nullptr) == ZIP_OK;
}

// Damage inside an .xlsx: one of its XML parts changed (its numbers and references too) and
// the archive packed again, so that the damage reaches the workbook's reader, not only the
// archive's check sums.
QByteArray mutateInside(const QString& base, const QString& to, QRandomGenerator& rnd) {
    std::vector<std::pair<QByteArray, QByteArray>> parts = unpack(base);
    auto& [name, data] = parts[rnd.bounded(static_cast<quint32>(parts.size()))];
    if (rnd.bounded(2) == 0) {
        data = mutate(data, rnd);
    } else {
        // A number in the XML replaced by a telling one: a row, a column, a string's index, a
        // style, a date.
        static const char* const values[] = {"-1",         "0",     "99999999999", "1048577",
                                             "XFD1048576", "1e308", "NaN",         "16385",
                                             "4294967296", "A0"};
        int done = 0;
        for (qsizetype i = 0; i < data.size() && done < 3; ++i)
            if (data[i] == '"' && i + 1 < data.size() &&
                (data[i + 1] >= '0' && data[i + 1] <= '9')) {
                if (rnd.bounded(8) != 0)
                    continue;
                qsizetype end = i + 1;
                while (end < data.size() && data[end] != '"')
                    ++end;
                data.replace(i + 1, end - i - 1, values[rnd.bounded(10)]);
                ++done;
            }
    }
    pack(to, parts);
    return readAll(to);
}

// When the reader behind the wall broke off, where: the library it called (FreeXL, minizip,
// zlib), whose own faults the wall is there to hold, or the program's own code. Read from the
// sanitizer's report of the same file read again (the first frame outside the sanitizer); a
// build without sanitizers (as under Wine) cannot tell, and the wall's holding it is what
// counts there.
QString whereItBrokeOff(const QString& path) {
    const testsupport::ToolRun r =
        testsupport::runTool(tool, {QString::fromUtf16(tools::sheets::readSheetCommand), path});
    for (const QString& line : r.err.split(u'\n')) {
        const QString frame = line.trimmed();
        if (!frame.startsWith(u'#') || frame.contains(u"sanitizer"_s) ||
            frame.contains(u"interceptor"_s) || frame.contains(u"libasan"_s) ||
            frame.contains(u"libubsan"_s))
            continue;
        for (const QString& library : {u"libfreexl"_s, u"libminizip"_s, u"libz.so"_s})
            if (frame.contains(library))
                return library;
        return u"the program's own code: "_s + frame;
    }
    return u"an unknown place (no sanitizer's report)"_s;
}

QString faultName(Fault fault) {
    switch (fault) {
    case Fault::Missing:
        return u"missing"_s;
    case Fault::AccessDenied:
        return u"access denied"_s;
    case Fault::Empty:
        return u"empty"_s;
    case Fault::NotASpreadsheet:
        return u"not a spreadsheet"_s;
    case Fault::Encrypted:
        return u"encrypted"_s;
    case Fault::Damaged:
        return u"damaged"_s;
    case Fault::TooLarge:
        return u"too large"_s;
    case Fault::NoHeader:
        return u"no header"_s;
    case Fault::NoRows:
        return u"no pupil"_s;
    case Fault::ReaderFailed:
        return u"reader failed"_s;
    case Fault::Interrupted:
        return u"interrupted"_s;
    }
    return QString();
}

} // namespace

class SheetFuzzTest : public QObject {
    Q_OBJECT

    int mutants() const {
        bool ok = false;
        const int n = qEnvironmentVariableIntValue("TERNAVOLK_FUZZ_MUTANTS", &ok);
        return ok && n > 0 ? n : 150;
    }

private slots:
    void initTestCase() {
        // A reader that hangs is stopped within seconds, not the minute of a real import.
        qputenv("TERNAVOLK_SHEET_SILENT_SECONDS", "20");
        qputenv("TERNAVOLK_SHEET_CPU_SECONDS", "20");
    }

    void mutantsAreTakenOrRefusedAndRefusalsWriteNothing_data() {
        QTest::addColumn<QString>("sample");
        QTest::addColumn<bool>("books");
        QTest::addColumn<quint32>("seed");
        QTest::newRow(".xls (e-Okul class list)") << u"eokul_10.XLS"_s << false << 1001u;
        QTest::newRow(".xlsx (books)") << u"kitaplar.xlsx"_s << true << 2002u;
        QTest::newRow(".csv (pupils, Windows-1254)") << u"ogrenciler_1254.csv"_s << false << 3003u;
    }
    void mutantsAreTakenOrRefusedAndRefusalsWriteNothing() {
        QFETCH(QString, sample);
        QFETCH(bool, books);
        QFETCH(quint32, seed);
        const QString base = QStringLiteral(TERNAVOLK_LISTS_DATA) + u'/' + sample;
        const QByteArray original = readAll(base);
        QVERIFY(!original.isEmpty());
        const bool xlsx = sample.endsWith(u".xlsx"_s);
        testsupport::TempDatabase db;
        db.release();
        QTemporaryDir dir;
        const QString keep = qEnvironmentVariable("TERNAVOLK_FUZZ_KEEP");
        std::map<QString, int> outcomes;
        QStringList failures;
        const int n = mutants();
        for (int i = 0; i < n; ++i) {
            QRandomGenerator rnd(seed + static_cast<quint32>(i));
            const QString path =
                dir.filePath(u"mutant-%1%2"_s.arg(i).arg(sample.mid(sample.indexOf(u'.'))));
            const bool csv = sample.endsWith(u".csv"_s);
            const QByteArray bytes = i % 2 == 0 ? mutate(original, rnd)
                                     : xlsx     ? mutateInside(base, path, rnd)
                                     : csv      ? mutateText(original, rnd)
                                                : mutate(original, rnd);
            {
                QFile f(path);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(bytes);
            }
            const QByteArray before = readAll(db.filePath());
            QString outcome, failure;
            try {
                const tools::sheets::Workbook b = tools::sheets::readBehindWall(tool, path);
                if (books) {
                    const BookLayout layout = findBookHeaders({b});
                    const BookColumns columns = automaticColumns(layout);
                    BookPlan plan;
                    {
                        data::sqlite::Database conn(db.filePath(),
                                                    data::sqlite::Database::Mode::ReadOnly);
                        plan = planBooks({b}, layout, columns, readBookRegister(conn));
                    }
                    writeBooks(db.filePath(), {b}, layout, columns, plan, 1000,
                               platform::noProgress());
                } else {
                    const PupilList list = recognisePupils({b});
                    ReaderPlan plan;
                    {
                        data::sqlite::Database conn(db.filePath(),
                                                    data::sqlite::Database::Mode::ReadOnly);
                        plan = planReaders(list, school, readRegister(conn, school));
                    }
                    writeReaders(db.filePath(), list, plan, {}, 1000, platform::noProgress());
                }
                outcome = u"taken"_s;
            } catch (const SheetError& e) {
                outcome = u"refused as "_s + faultName(e.fault());
                if (e.detail().startsWith(u"the reader broke off"_s)) {
                    // A library's fault held by the wall is a damaged file; a fault of ours is
                    // not.
                    const QString where = whereItBrokeOff(path);
                    if (where.startsWith(u"lib"_s) || where.startsWith(u"an unknown"_s))
                        outcome += u" (the reader broke off in "_s + where + u')';
                    else
                        failure = e.message() + u"; it broke off in "_s + where;
                } else if (e.fault() == Fault::ReaderFailed ||
                           e.detail().contains(u"the reader"_s) ||
                           e.detail().contains(u"its reader"_s)) {
                    failure = e.message();
                }
                if (failure.isEmpty() && readAll(db.filePath()) != before)
                    failure = u"a refused list changed the database"_s;
            } catch (const std::exception& e) {
                failure = QString::fromUtf8(e.what());
            }
            ++outcomes[outcome];
            if (!failure.isEmpty()) {
                failures << u"mutant %1 (seed %2): %3"_s.arg(i).arg(seed + i).arg(failure);
                if (!keep.isEmpty())
                    QFile::copy(path, QDir(keep).filePath(QFileInfo(path).fileName()));
            }
            QFile::remove(path);
        }
        QStringList summary;
        for (const auto& [outcome, count] : outcomes)
            summary << u"%1 × %2"_s.arg(count).arg(outcome.isEmpty() ? u"failed"_s : outcome);
        qInfo("%s: %d mutants: %s", qPrintable(sample), n, qPrintable(summary.join(u"; "_s)));
        for (const QString& f : failures)
            qWarning("%s", qPrintable(f));
        QCOMPARE(failures, QStringList{});
    }

    // The first mutants of each format through the commands themselves: exit code 0 or 1, and
    // the database file unchanged after a 1.
    void commandsExitWithZeroOrOne_data() {
        mutantsAreTakenOrRefusedAndRefusalsWriteNothing_data();
    }
    void commandsExitWithZeroOrOne() {
        QFETCH(QString, sample);
        QFETCH(bool, books);
        QFETCH(quint32, seed);
        const QString base = QStringLiteral(TERNAVOLK_LISTS_DATA) + u'/' + sample;
        const QByteArray original = readAll(base);
        testsupport::TempDatabase db;
        db.release();
        const QString list = db.directory() + u"/liste"_s + sample.mid(sample.indexOf(u'.'));
        QStringList failures;
        for (int i = 0; i < 10; ++i) {
            QRandomGenerator rnd(seed + static_cast<quint32>(i));
            {
                QFile f(list);
                QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
                f.write(mutate(original, rnd));
            }
            const QByteArray before = readAll(db.filePath());
            const QStringList args =
                books ? QStringList{u"books"_s, db.filePath(), list}
                      : QStringList{u"readers"_s, db.filePath(), list, u"--school"_s, school};
            const testsupport::ToolRun r = testsupport::runTool(tool, args);
            if (!r.ended || (r.exitCode != 0 && r.exitCode != 1))
                failures << u"mutant %1: ended %2, exit code %3: %4"_s.arg(i)
                                .arg(r.ended)
                                .arg(r.exitCode)
                                .arg(r.err);
            else if (r.exitCode == 1 && readAll(db.filePath()) != before)
                failures << u"mutant %1: refused, yet the database changed"_s.arg(i);
        }
        QCOMPARE(failures, QStringList{});
    }
};

QTEST_MAIN(SheetFuzzTest)
#include "tst_sheetfuzz.moc"
