// Backups kept by date: which files the rotation keeps and deletes, a checked backup into a
// folder (also from the command line), a copy that fails its check kept out of the rotation,
// and a restore into the registers whether they are sound, damaged or missing.

#include "data/sqlite.h"
#include "platform/errors.h"
#include "support/filemode.h"
#include "support/scriptedchoosers.h"
#include "support/tempdatabase.h"
#include "support/toolrun.h"
#include "tools/backup.h"
#include "tools/backupfolder.h"
#include "tools/demodata.h"
#include "tools/restore.h"
#include "tools/rotation.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString name(const QString& stamp) {
    return u"DATA-"_s + stamp + u".mdb"_s;
}

// One file a day from `first` to `last`, at 17:30.
QStringList daily(QDate first, QDate last) {
    QStringList names;
    for (QDate d = first; d <= last; d = d.addDays(1))
        names << tools::rotationFileName(QDateTime(d, QTime(17, 30)));
    return names;
}

void touch(const QString& path) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

QStringList files(const QString& folder) {
    QStringList names = QDir(folder).entryList(QDir::Files);
    names.sort();
    return names;
}

// Each entry of a backup folder as "name|kind|check|library".
QStringList entries(const QString& folder) {
    QStringList out;
    for (const tools::BackupEntry& e : tools::backupEntries(folder))
        out << u"%1|%2|%3|%4"_s.arg(e.fileName)
                   .arg(static_cast<int>(e.kind))
                   .arg(static_cast<int>(e.check))
                   .arg(e.source);
    return out;
}

// What a restore may find in place of the registers.
enum class Registers { Sound, DamagedTable, Empty, NotADatabase, Missing };

} // namespace

Q_DECLARE_METATYPE(Registers)

class BackupsTest : public QObject {
    Q_OBJECT

private slots:
    void backupNames_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("kind"); // -1: not a backup folder's file
        QTest::addColumn<QDateTime>("made");
        QTest::addColumn<int>("sequence");
        const QDateTime at(QDate(2026, 5, 1), QTime(7, 5, 9));
        QTest::newRow("rotation") << u"DATA-2026-05-01-070509.mdb"_s << 0 << at << 1;
        QTest::newRow("second in the same second")
            << u"DATA-2026-05-01-070509-2.mdb"_s << 0 << at << 2;
        QTest::newRow("twelfth") << u"DATA-2026-05-01-070509-12.mdb"_s << 0 << at << 12;
        QTest::newRow("before a restore")
            << u"DATA-geri-yukleme-oncesi-2026-05-01-070509.mdb"_s << 1 << at << 1;
        QTest::newRow("damaged registers")
            << u"DATA-bozuk-2026-05-01-070509-3.mdb"_s << 2 << at << 3;
        QTest::newRow("failed its check")
            << u"DATA-SORUNLU-2026-05-01-070509.mdb"_s << 3 << at << 1;
        for (const QString& other :
             {u"DATA.mdb"_s, u"DATA-2026-05-01.mdb"_s, u"DATA-2026-02-30-000000.mdb"_s,
              u"DATA-2026-05-01-070509.mdb.bak"_s, u"data-2026-05-01-070509.mdb"_s,
              u"DATA-2026-05-01-250000.mdb"_s, u"DATA-2026-05-01-070509-1.mdb"_s,
              u"DATA-2026-05-01-070509-02.mdb"_s, u"DATA-eski-2026-05-01-070509.mdb"_s,
              u"DATA-sorunlu-2026-05-01-070509.mdb"_s})
            QTest::newRow(qPrintable(other)) << other << -1 << QDateTime() << 0;
    }
    void backupNames() {
        QFETCH(QString, file);
        QFETCH(int, kind);
        QFETCH(QDateTime, made);
        QFETCH(int, sequence);
        const auto name = tools::parseBackupName(file);
        QCOMPARE(name.has_value(), kind >= 0);
        QCOMPARE(tools::rotationTimeOf(file).has_value(), kind == 0);
        if (!name)
            return;
        QCOMPARE(static_cast<int>(name->kind), kind);
        QCOMPARE(name->made, made);
        QCOMPARE(name->sequence, sequence);
        if (kind == 0)
            QCOMPARE(*tools::rotationTimeOf(file), made);
    }

    void rotationKeepsAndDeletes_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("keepDays");
        QTest::addColumn<int>("keepMonths");
        QTest::addColumn<QStringList>("deleted"); // "name|reason": 0 the same day, 1 older
        const auto gone = [](const QStringList& names, int reason) {
            QStringList out;
            for (const QString& n : names)
                out << n + u'|' + QString::number(reason);
            return out;
        };
        QTest::newRow("two on one day: the older goes")
            << QStringList{name(u"2026-05-21-080000"_s), name(u"2026-05-21-170000"_s)} << 20 << 12
            << gone({name(u"2026-05-21-080000"_s)}, 0);
        QTest::newRow("two in one second: the first goes")
            << QStringList{name(u"2026-05-21-170000-2"_s), name(u"2026-05-21-170000"_s)} << 20 << 12
            << gone({name(u"2026-05-21-170000"_s)}, 0);
        QTest::newRow("the last 20 days, and the newest of April")
            << daily(QDate(2026, 4, 20), QDate(2026, 5, 21)) << 20 << 12
            << gone(daily(QDate(2026, 4, 20), QDate(2026, 4, 29)) +
                        daily(QDate(2026, 5, 1), QDate(2026, 5, 1)),
                    1);
        QStringList monthly;
        for (QDate d(2025, 1, 1); d <= QDate(2026, 5, 1); d = d.addMonths(1))
            monthly << tools::rotationFileName(QDateTime(d, QTime(9, 0)));
        QTest::newRow("the last 12 months") << monthly << 20 << 12 << gone(monthly.mid(0, 5), 1);
        QTest::newRow("other files are never named")
            << QStringList{u"DATA.mdb"_s,
                           u"DATA-2026-05-21.mdb"_s,
                           u"notlar.txt"_s,
                           name(u"2020-01-01-000000"_s) + u".bak"_s,
                           name(u"2020-01-01-000000"_s),
                           name(u"2026-02-30-000000"_s),
                           u"DATA-SORUNLU-2026-05-21-180000.mdb"_s,
                           u"DATA-geri-yukleme-oncesi-2019-01-01-000000.mdb"_s,
                           u"DATA-bozuk-2019-01-01-000000.mdb"_s,
                           name(u"2026-05-20-100000"_s)}
            << 20 << 12 << gone({name(u"2020-01-01-000000"_s)}, 1);
        QTest::newRow("the newest stays however old")
            << QStringList{name(u"2019-06-01-000000"_s), name(u"2020-01-01-000000"_s)} << 20 << 12
            << gone({name(u"2019-06-01-000000"_s)}, 1);
        QTest::newRow("dated after today stays")
            << QStringList{name(u"2027-01-01-000000"_s), name(u"2026-05-21-100000"_s)} << 20 << 12
            << QStringList{};
        QTest::newRow("keeping nothing keeps the newest")
            << QStringList{name(u"2026-05-19-100000"_s), name(u"2026-05-20-100000"_s),
                           name(u"2026-05-21-100000"_s)}
            << 0 << 0 << gone({name(u"2026-05-20-100000"_s), name(u"2026-05-19-100000"_s)}, 1);
        QTest::newRow("one day, no months")
            << QStringList{name(u"2026-05-20-230000"_s), name(u"2026-05-21-000100"_s),
                           name(u"2026-05-21-120000"_s)}
            << 1 << 0
            << gone({name(u"2026-05-21-000100"_s)}, 0) + gone({name(u"2026-05-20-230000"_s)}, 1);
        QTest::newRow("no files") << QStringList{} << 20 << 12 << QStringList{};
    }
    void rotationKeepsAndDeletes() {
        QFETCH(QStringList, files);
        QFETCH(int, keepDays);
        QFETCH(int, keepMonths);
        QFETCH(QStringList, deleted);
        QStringList got;
        for (const tools::RotationDeletion& d :
             tools::rotationPlan(files, QDate(2026, 5, 21), {keepDays, keepMonths}))
            got << d.fileName + u'|' + QString::number(static_cast<int>(d.reason));
        got.sort();
        deleted.sort();
        QCOMPARE(got, deleted);
    }

    void backupIntoAFolderRotates() {
        testsupport::TempDatabase db;
        db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {u"ÇAĞRI IŞIK"_s});
        QTemporaryDir dir;
        const QString folder = dir.filePath(u"Yedekler klasörü"_s); // made by the backup
        QVERIFY(QDir().mkpath(folder));
        const QStringList old{name(u"2026-05-21-080000"_s), name(u"2026-03-02-080000"_s),
                              name(u"2026-03-01-080000"_s)};
        for (const QString& n : old)
            touch(QDir(folder).filePath(n));
        touch(QDir(folder).filePath(u"benim notum.txt"_s));
        const QDateTime now(QDate(2026, 5, 21), QTime(17, 0, 1));
        const tools::RotatedBackup done = tools::backupInto(db.filePath(), folder, now, {});
        QCOMPARE(done.path, QDir(folder).filePath(u"DATA-2026-05-21-170001.mdb"_s));
        QCOMPARE(testsupport::fileRows(done.path, u"select ADISOYADI from okuyucu"_s),
                 (QList<QStringList>{{u"ÇAĞRI IŞIK"_s}}));
        COMPARE_FILE_MODE(done.path, testsupport::ownerOnly);
        QStringList deleted;
        for (const tools::RotationDeletion& d : done.deleted)
            deleted << d.fileName;
        deleted.sort();
        QCOMPARE(deleted, (QStringList{QDir(folder).filePath(name(u"2026-03-01-080000"_s)),
                                       QDir(folder).filePath(name(u"2026-05-21-080000"_s))}));
        QCOMPARE(files(folder),
                 (QStringList{u"DATA-2026-03-02-080000.mdb"_s, u"DATA-2026-05-21-170001.mdb"_s,
                              u"benim notum.txt"_s, u"yedekler.ini"_s}));

        // A second backup in the same second does not fail: it takes the next free name and
        // stands for the day in the first one's place.
        const tools::RotatedBackup again = tools::backupInto(db.filePath(), folder, now, {});
        QCOMPARE(again.path, QDir(folder).filePath(u"DATA-2026-05-21-170001-2.mdb"_s));
        QCOMPARE(again.deleted.size(), 1u);
        QCOMPARE(again.deleted[0].fileName, QDir(folder).filePath(u"DATA-2026-05-21-170001.mdb"_s));
        QCOMPARE(again.deleted[0].reason, tools::DeletionReason::SameDay);
        const QString library = tools::libraryIdentity(db.filePath());
        QCOMPARE(entries(folder), (QStringList{u"DATA-2026-05-21-170001-2.mdb|0|1|"_s + library,
                                               u"DATA-2026-03-02-080000.mdb|0|0|"_s}));
    }

    // The source is damaged inside a table: SQLite copies its pages, and the copy fails its
    // check. It is kept under a name the rotation neither keeps nor counts, nothing is deleted,
    // and the next backup of a sound file goes on as if it had not been made.
    void aCopyThatFailsItsCheckIsKeptOutOfTheRotation() {
        testsupport::TempDatabase db;
        db.insert(u"hareket"_s, {u"O_ADI_SOYADI"_s}, {u"ELİF"_s});
        db.release();
        QTemporaryDir dir;
        const QString folder = dir.path();
        const QStringList old{name(u"2026-05-20-080000"_s), name(u"2026-05-21-080000"_s)};
        for (const QString& n : old)
            touch(QDir(folder).filePath(n));
        const QString damaged = dir.filePath(u"kaynak/DATA.mdb"_s);
        QVERIFY(QDir().mkpath(dir.filePath(u"kaynak"_s)));
        QVERIFY(QFile::copy(db.filePath(), damaged));
        QVERIFY(testsupport::overwriteRootPage(damaged, u"hareket"_s));
        const QDateTime now(QDate(2026, 5, 21), QTime(17, 0, 1));
        try {
            tools::backupInto(damaged, folder, now, {0, 0});
            QFAIL("a damaged source was backed up");
        } catch (const tools::CopyFailedCheck& e) {
            QCOMPARE(e.copy(), QDir(folder).filePath(u"DATA-SORUNLU-2026-05-21-170001.mdb"_s));
            QCOMPARE(e.source(), damaged);
            QVERIFY(!e.problems().isEmpty());
        }
        QCOMPARE(files(folder),
                 (QStringList{u"DATA-2026-05-20-080000.mdb"_s, u"DATA-2026-05-21-080000.mdb"_s,
                              u"DATA-SORUNLU-2026-05-21-170001.mdb"_s, u"yedekler.ini"_s}));
        QCOMPARE(tools::rotationFiles(folder),
                 (QStringList{name(u"2026-05-21-080000"_s), name(u"2026-05-20-080000"_s)}));
        QCOMPARE(entries(folder).first(),
                 u"DATA-SORUNLU-2026-05-21-170001.mdb|3|2|"_s + tools::libraryIdentity(damaged));

        const tools::RotatedBackup sound = tools::backupInto(db.filePath(), folder, now, {0, 0});
        QCOMPARE(sound.path, QDir(folder).filePath(u"DATA-2026-05-21-170001.mdb"_s));
        QCOMPARE(sound.deleted.size(), 2u);
        QCOMPARE(files(folder),
                 (QStringList{u"DATA-2026-05-21-170001.mdb"_s,
                              u"DATA-SORUNLU-2026-05-21-170001.mdb"_s, u"yedekler.ini"_s}));
    }

    void backupIntoFromTheCommandLine() {
        testsupport::TempDatabase db;
        db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"SEFİLLER"_s});
        QTemporaryDir dir;
        touch(dir.filePath(name(u"2001-01-01-000000"_s)));
        touch(dir.filePath(u"DATA-eski.mdb"_s));
        QProcess tool;
        tool.start(QStringLiteral(TERNAVOLK_DB_TOOL),
                   {u"backup"_s, db.filePath(), u"--into"_s, dir.path(), u"--keep-days"_s, u"3"_s,
                    u"--keep-months"_s, u"2"_s});
        QVERIFY(tool.waitForFinished(60000));
        QCOMPARE(tool.exitCode(), 0);
        const QStringList lines =
            testsupport::processText(tool.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        QVERIFY2(lines[0].startsWith(u"Backed up "_s + db.filePath() + u" to "_s +
                                     QDir::toNativeSeparators(dir.path() + u"/DATA-"_s)),
                 qPrintable(lines[0]));
        QCOMPARE(lines[1],
                 u"Deleted the old backup "_s +
                     QDir::toNativeSeparators(dir.filePath(name(u"2001-01-01-000000"_s))) +
                     u" (older than the days kept, and not the newest of a month kept)"_s);
        const QStringList made = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(made.size(), 3);
        QVERIFY(made.contains(u"DATA-eski.mdb"_s));
        QVERIFY(made.contains(u"yedekler.ini"_s));
        const QString copy = lines[0].section(u" to "_s, 1);
        QCOMPARE(testsupport::fileRows(copy, u"select KITABINADI from kitapkayit"_s),
                 (QList<QStringList>{{u"SEFİLLER"_s}}));

        QProcess wrong;
        wrong.start(QStringLiteral(TERNAVOLK_DB_TOOL), {u"backup"_s, db.filePath(), u"--into"_s,
                                                        dir.path(), u"--keep-days"_s, u"-1"_s});
        QVERIFY(wrong.waitForFinished(60000));
        QCOMPARE(wrong.exitCode(), 2);
        QVERIFY(testsupport::processText(wrong.readAllStandardError())
                    .startsWith(
                        u"ternavolk-db: backup: --keep-days needs a non-negative whole number"_s));
    }

    // A restore puts the backup into the registers whatever state they are in: a sound file is
    // backed up first, a damaged one kept as it was, byte for byte, a missing one made.
    void restoreReplacesTheRegisters_data() {
        QTest::addColumn<Registers>("registers");
        QTest::addColumn<QString>("kept"); // the name saved aside, or empty
        QTest::newRow("sound") << Registers::Sound
                               << u"DATA-geri-yukleme-oncesi-2026-05-21-110000.mdb"_s;
        QTest::newRow("damaged inside a table")
            << Registers::DamagedTable << u"DATA-bozuk-2026-05-21-110000.mdb"_s;
        QTest::newRow("empty") << Registers::Empty << u"DATA-bozuk-2026-05-21-110000.mdb"_s;
        QTest::newRow("not a database")
            << Registers::NotADatabase << u"DATA-bozuk-2026-05-21-110000.mdb"_s;
        QTest::newRow("missing") << Registers::Missing << QString();
    }
    void restoreReplacesTheRegisters() {
        QFETCH(Registers, registers);
        QFETCH(QString, kept);
        testsupport::TempDatabase db;
        db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {u"AYŞE"_s});
        QTemporaryDir dir;
        const QString backup = dir.filePath(u"DATA-2026-05-21-100000.mdb"_s);
        tools::backupDatabase(db.filePath(), backup);
        db.exec(u"insert into okuyucu (ADISOYADI) values ('SONRADAN')"_s);
        db.release();
        switch (registers) {
        case Registers::Sound:
            break;
        case Registers::DamagedTable:
            QVERIFY(testsupport::overwriteRootPage(db.filePath(), u"okuyucu"_s));
            break;
        case Registers::Empty:
            write(db.filePath(), QByteArray());
            break;
        case Registers::NotADatabase:
            write(db.filePath(), QByteArray(5000, 'x'));
            break;
        case Registers::Missing:
            QVERIFY(QFile::remove(db.filePath()));
            break;
        }
        const QByteArray before = bytesOf(db.filePath());
        const QDateTime now(QDate(2026, 5, 21), QTime(11, 0));
        const tools::Replaced done =
            tools::replaceRegisters(backup, db.filePath(), dir.path(), tools::KeepAs::Restore, now);

        QCOMPARE(db.rows(u"select IDNO, ADISOYADI from okuyucu"_s),
                 (std::vector<QStringList>{{u"1"_s, u"AYŞE"_s}}));
        COMPARE_FILE_MODE(db.filePath(), testsupport::ownerOnly);
        QCOMPARE(QFileInfo(done.keptAs).fileName(), kept);
        QCOMPARE(done.damage.isEmpty(),
                 registers == Registers::Sound || registers == Registers::Missing);
        QStringList expected{u"DATA-2026-05-21-100000.mdb"_s};
        if (!kept.isEmpty())
            expected << kept << u"yedekler.ini"_s;
        expected.sort();
        QCOMPARE(files(dir.path()), expected);
        if (registers == Registers::Sound) {
            QCOMPARE(done.before, tools::Replaced::Before::Sound);
            QCOMPARE(testsupport::fileRows(done.keptAs, u"select ADISOYADI from okuyucu"_s),
                     (QList<QStringList>{{u"AYŞE"_s}, {u"SONRADAN"_s}}));
        } else if (registers == Registers::Missing) {
            QCOMPARE(done.before, tools::Replaced::Before::Missing);
        } else {
            QCOMPARE(done.before, tools::Replaced::Before::Damaged);
            QCOMPARE(bytesOf(done.keptAs), before); // never "repaired"
        }
        if (!kept.isEmpty())
            QCOMPARE(entries(dir.path()).first(), u"%1|%2|%3|%4"_s.arg(kept)
                                                      .arg(registers == Registers::Sound ? 1 : 2)
                                                      .arg(registers == Registers::Sound ? 1 : 2)
                                                      .arg(tools::libraryIdentity(db.filePath())));
    }

    // What stops a restore stops it before anything changes: a backup that fails its check, a
    // journal left by an unfinished save beside the registers, a backup that is not there.
    void restoreRefuses_data() {
        QTest::addColumn<QString>("trouble");
        QTest::newRow("the backup is damaged") << u"backup"_s;
        QTest::newRow("a journal is left beside DATA.mdb") << u"journal"_s;
        QTest::newRow("the backup is missing") << u"missing"_s;
    }
    void restoreRefuses() {
        QFETCH(QString, trouble);
        testsupport::TempDatabase db;
        // Enough books that an unfinished save has written some of them into the file.
        db.exec(u"with recursive n(i) as (select 1 union all select i + 1 from n where i < 300) "
                u"insert into kitapkayit (KITABINADI) select 'ÇALIKUŞU ' || i from n"_s);
        QTemporaryDir dir;
        QString backup = dir.filePath(u"yedek.mdb"_s);
        tools::backupDatabase(db.filePath(), backup);
        db.release();
        if (trouble == u"backup")
            QVERIFY(testsupport::overwriteRootPage(backup, u"kitapkayit"_s));
        QTemporaryDir scratch;
        if (trouble == u"journal")
            QVERIFY(testsupport::leaveUnfinishedSave(db.filePath(), scratch.path()));
        if (trouble == u"missing")
            backup = dir.filePath(u"yok.mdb"_s);
        const QByteArray before = bytesOf(db.filePath());
        const QStringList filesBefore = files(dir.path());
        try {
            tools::replaceRegisters(backup, db.filePath(), dir.path(), tools::KeepAs::Restore,
                                    QDateTime(QDate(2026, 5, 21), QTime(11, 0)));
            QFAIL("the restore went through");
        } catch (const tools::SourceNotSound& e) {
            QCOMPARE(trouble, u"backup"_s);
            QCOMPARE(e.source(), backup);
        } catch (const data::FileError& e) {
            QCOMPARE(e.fault(), trouble == u"journal" ? data::FileFault::LeftJournal
                                                      : data::FileFault::Missing);
        }
        QCOMPARE(bytesOf(db.filePath()), before);
        QCOMPARE(files(dir.path()), filesBefore);
    }

    // "İptal" while the backup is written into the registers: they stay as they were, and the
    // copy of them made just before is gone again (it is the same); a damaged file gets its old
    // bytes back and stays kept aside.
    void aStoppedRestoreChangesNothing_data() {
        QTest::addColumn<bool>("damaged");
        QTest::newRow("sound") << false;
        QTest::newRow("damaged") << true;
    }
    void aStoppedRestoreChangesNothing() {
        QFETCH(bool, damaged);
        testsupport::TempDatabase db;
        tools::createGeneratedDatabase(db.directory() + u"/buyuk.mdb"_s, 20000, 2000, 20000);
        QTemporaryDir dir;
        const QString backup = dir.filePath(u"yedek.mdb"_s);
        tools::backupDatabase(db.directory() + u"/buyuk.mdb"_s, backup);
        db.release();
        if (damaged)
            QVERIFY(testsupport::overwriteRootPage(db.filePath(), u"okuyucu"_s));
        const QByteArray before = bytesOf(db.filePath());
        testsupport::ScriptedChoosers watch;
        watch.cancelAtStep = 2;
        auto progress = watch.progress(nullptr, u"Yedek geri yükleniyor…"_s);
        QVERIFY_THROWS_EXCEPTION(
            platform::Cancelled,
            tools::replaceRegisters(backup, db.filePath(), dir.path(), tools::KeepAs::Restore,
                                    QDateTime(QDate(2026, 5, 21), QTime(11, 0)), *progress));
        QCOMPARE(bytesOf(db.filePath()), before);
        QStringList expected{u"yedek.mdb"_s};
        if (damaged)
            expected << u"DATA-bozuk-2026-05-21-110000.mdb"_s << u"yedekler.ini"_s;
        else
            expected << u"yedekler.ini"_s;
        expected.sort();
        QCOMPARE(files(dir.path()), expected);
    }

    void restoreFromTheCommandLine() {
        testsupport::TempDatabase db;
        db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {u"İSMAİL"_s});
        QTemporaryDir dir;
        const QString backup = dir.filePath(u"yedek.mdb"_s);
        tools::backupDatabase(db.filePath(), backup);
        db.exec(u"delete from okuyucu"_s);
        const QString aside = dir.filePath(u"saklanan"_s);
        testsupport::ToolRun r =
            testsupport::runTool(QStringLiteral(TERNAVOLK_DB_TOOL),
                                 {u"restore"_s, backup, db.filePath(), u"--into"_s, aside});
        QCOMPARE(r.err, QString());
        QCOMPARE(r.exitCode, 0);
        const QStringList kept = QDir(aside).entryList({u"DATA-geri-yukleme-oncesi-*.mdb"_s});
        QCOMPARE(kept.size(), 1);
        QCOMPARE(r.out, u"Restored %1 into %2; the registers as they were are kept in %3\n"_s.arg(
                            backup, db.filePath(),
                            QDir::toNativeSeparators(QDir(aside).filePath(kept[0]))));
        QCOMPARE(db.rows(u"select ADISOYADI from okuyucu"_s),
                 (std::vector<QStringList>{{u"İSMAİL"_s}}));
        QCOMPARE(
            testsupport::fileRows(QDir(aside).filePath(kept[0]), u"select count(*) from okuyucu"_s),
            (QList<QStringList>{{u"0"_s}}));

        // A damaged backup: exit 1, the reason, nothing changed.
        db.release();
        QVERIFY(testsupport::overwriteRootPage(backup, u"okuyucu"_s));
        const QByteArray before = bytesOf(db.filePath());
        r = testsupport::runTool(QStringLiteral(TERNAVOLK_DB_TOOL),
                                 {u"restore"_s, backup, db.filePath()});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QString());
        QVERIFY2(
            r.err.startsWith(u"ternavolk-db: The file '%1' is not sound, so it was not put "
                             u"in place and nothing was changed. Its check found:\n"_s.arg(backup)),
            qPrintable(r.err));
        QCOMPARE(bytesOf(db.filePath()), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{u"yedek.mdb"_s});
    }

    void restoreIntoAFileAnotherConnectionHoldsOpen() {
        testsupport::TempDatabase db;
        db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {u"AYŞE"_s});
        db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {u"İSMAİL"_s});
        QTemporaryDir dir;
        const QString backup = dir.filePath(u"yedek.mdb"_s);
        tools::backupDatabase(db.filePath(), backup);
        // Changed after the backup, through the connection that stays open.
        db.exec(
            u"delete from okuyucu where ADISOYADI = 'AYŞE'; insert into okuyucu (ADISOYADI) values ('SONRADAN')"_s);
        QCOMPARE(db.rows(u"select ADISOYADI from okuyucu order by IDNO"_s),
                 (std::vector<QStringList>{{u"İSMAİL"_s}, {u"SONRADAN"_s}}));

        tools::replaceRegisters(backup, db.filePath(), dir.path(), tools::KeepAs::Restore,
                                QDateTime(QDate(2026, 5, 21), QTime(11, 0)));
        QCOMPARE(db.rows(u"select IDNO, ADISOYADI from okuyucu order by IDNO"_s),
                 (std::vector<QStringList>{{u"1"_s, u"AYŞE"_s}, {u"2"_s, u"İSMAİL"_s}}));
        // The open connection writes on, after the restored rows.
        QCOMPARE(db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {u"YENİ"_s}), 3);
    }
};

QTEST_MAIN(BackupsTest)
#include "tst_backups.moc"
