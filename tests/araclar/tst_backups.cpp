// Backups kept by date: which files the rotation keeps and deletes, a checked backup into a
// folder (also from the command line), and a restore into a file another connection holds open.

#include "araclar/restore.h"
#include "data/sqlite.h"
#include "platform/errors.h"
#include "support/tempdatabase.h"
#include "support/toolrun.h"
#include "tools/backup.h"
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

} // namespace

class BackupsTest : public QObject {
    Q_OBJECT

private slots:
    void rotationNames() {
        QCOMPARE(tools::rotationFileName(QDateTime(QDate(2026, 5, 1), QTime(7, 5, 9))),
                 u"DATA-2026-05-01-070509.mdb"_s);
        QCOMPARE(*tools::rotationTimeOf(u"DATA-2026-05-01-070509.mdb"_s),
                 QDateTime(QDate(2026, 5, 1), QTime(7, 5, 9)));
        for (const QString& other :
             {u"DATA.mdb"_s, u"DATA-2026-05-01.mdb"_s, u"DATA-2026-02-30-000000.mdb"_s,
              u"DATA-2026-05-01-070509.mdb.bak"_s, u"data-2026-05-01-070509.mdb"_s,
              u"DATA-2026-05-01-250000.mdb"_s})
            QVERIFY2(!tools::rotationTimeOf(other), qPrintable(other));
    }

    void rotationKeepsAndDeletes_data() {
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("keepDays");
        QTest::addColumn<int>("keepMonths");
        QTest::addColumn<QStringList>("deleted");
        QTest::newRow("two on one day: the older goes")
            << QStringList{name(u"2026-05-21-080000"_s), name(u"2026-05-21-170000"_s)} << 20 << 12
            << QStringList{name(u"2026-05-21-080000"_s)};
        QTest::newRow("the last 20 days, and the newest of April")
            << daily(QDate(2026, 4, 20), QDate(2026, 5, 21)) << 20 << 12
            << daily(QDate(2026, 4, 20), QDate(2026, 4, 29)) +
                   daily(QDate(2026, 5, 1), QDate(2026, 5, 1));
        QStringList monthly;
        for (QDate d(2025, 1, 1); d <= QDate(2026, 5, 1); d = d.addMonths(1))
            monthly << tools::rotationFileName(QDateTime(d, QTime(9, 0)));
        QTest::newRow("the last 12 months") << monthly << 20 << 12 << monthly.mid(0, 5);
        QTest::newRow("other files are never named")
            << QStringList{u"DATA.mdb"_s,
                           u"DATA-2026-05-21.mdb"_s,
                           u"notlar.txt"_s,
                           name(u"2020-01-01-000000"_s) + u".bak"_s,
                           name(u"2020-01-01-000000"_s),
                           name(u"2026-02-30-000000"_s),
                           name(u"2026-05-20-100000"_s)}
            << 20 << 12 << QStringList{name(u"2020-01-01-000000"_s)};
        QTest::newRow("the newest stays however old")
            << QStringList{name(u"2019-06-01-000000"_s), name(u"2020-01-01-000000"_s)} << 20 << 12
            << QStringList{name(u"2019-06-01-000000"_s)};
        QTest::newRow("dated after today stays")
            << QStringList{name(u"2027-01-01-000000"_s), name(u"2026-05-21-100000"_s)} << 20 << 12
            << QStringList{};
        QTest::newRow("keeping nothing keeps the newest")
            << QStringList{name(u"2026-05-19-100000"_s), name(u"2026-05-20-100000"_s),
                           name(u"2026-05-21-100000"_s)}
            << 0 << 0 << QStringList{name(u"2026-05-20-100000"_s), name(u"2026-05-19-100000"_s)};
        QTest::newRow("one day, no months")
            << QStringList{name(u"2026-05-20-230000"_s), name(u"2026-05-21-000100"_s),
                           name(u"2026-05-21-120000"_s)}
            << 1 << 0 << QStringList{name(u"2026-05-21-000100"_s), name(u"2026-05-20-230000"_s)};
        QTest::newRow("no files") << QStringList{} << 20 << 12 << QStringList{};
    }
    void rotationKeepsAndDeletes() {
        QFETCH(QStringList, files);
        QFETCH(int, keepDays);
        QFETCH(int, keepMonths);
        QFETCH(QStringList, deleted);
        QStringList got =
            tools::rotationDeletions(files, QDate(2026, 5, 21), {keepDays, keepMonths});
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
        QStringList deleted = done.deleted;
        deleted.sort();
        QCOMPARE(deleted, (QStringList{QDir(folder).filePath(name(u"2026-03-01-080000"_s)),
                                       QDir(folder).filePath(name(u"2026-05-21-080000"_s))}));
        QStringList left = QDir(folder).entryList(QDir::Files);
        left.sort();
        QCOMPARE(left, (QStringList{u"DATA-2026-03-02-080000.mdb"_s,
                                    u"DATA-2026-05-21-170001.mdb"_s, u"benim notum.txt"_s}));

        // A source that is no database: nothing deleted. Whether SQLite copies the stray byte
        // before the check refuses it depends on the platform; a copy that is made stays.
        const QString notADatabase = dir.filePath(u"bozuk.mdb"_s);
        touch(notADatabase);
        QVERIFY_THROWS_EXCEPTION(platform::Error,
                                 tools::backupInto(notADatabase, folder, now.addDays(40), {0, 0}));
        left = QDir(folder).entryList(QDir::Files);
        left.removeOne(u"DATA-2026-06-30-170001.mdb"_s);
        left.sort();
        QCOMPARE(left, (QStringList{u"DATA-2026-03-02-080000.mdb"_s,
                                    u"DATA-2026-05-21-170001.mdb"_s, u"benim notum.txt"_s}));
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
        QCOMPARE(lines[1], u"Deleted the old backup "_s + QDir::toNativeSeparators(dir.filePath(
                                                              name(u"2001-01-01-000000"_s))));
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        QCOMPARE(files.size(), 2);
        QVERIFY(files.contains(u"DATA-eski.mdb"_s));
        const QString made = lines[0].section(u" to "_s, 1);
        QCOMPARE(testsupport::fileRows(made, u"select KITABINADI from kitapkayit"_s),
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

        araclar::restoreDatabase(backup, db.filePath());
        QCOMPARE(db.rows(u"select IDNO, ADISOYADI from okuyucu order by IDNO"_s),
                 (std::vector<QStringList>{{u"1"_s, u"AYŞE"_s}, {u"2"_s, u"İSMAİL"_s}}));
        // The open connection writes on, after the restored rows.
        QCOMPARE(db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {u"YENİ"_s}), 3);

        try {
            araclar::restoreDatabase(dir.filePath(u"yok.mdb"_s), db.filePath());
            QFAIL("a missing backup was restored");
        } catch (const platform::Error& e) {
            QCOMPARE(e.message(), u"Yedek '"_s + dir.filePath(u"yok.mdb"_s) +
                                      u"' bulunamadı. Listeyi yenileyip başka bir yedek seçin."_s);
        }
        QCOMPARE(db.count(u"okuyucu"_s), 3);
    }
};

QTEST_MAIN(BackupsTest)
#include "tst_backups.moc"
