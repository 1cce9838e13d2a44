// A copy of the program killed at random moments while it saves: whatever it reported saved is
// in the file, whole, and the file stays sound.
#include "data/adoquery.h"
#include "data/tables.h"
#include "platform/errors.h"
#include "support/tempdatabase.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>
#include <cstdio>
#include <cstring>
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#endif

using namespace Qt::StringLiterals;

namespace {

// The description saved with a book: its title over and over, to the column's full size, so a
// row cut short or mixed with another shows.
QString descriptionOf(const QString& title) {
    QString text;
    while (text.size() < 255)
        text += title + u' ';
    return text.left(255);
}

// The copy of the program: saves books one after the other, as "Kaydet" does, and prints
// "saved IDNO TITLE" for each save the moment it is reported done.
int saveUntilKilled(const QString& connectionString, const QString& run) {
    data::TADOQuery kitap(u"kitap"_s, data::kitapkayitTable(), u"select * from  kitapkayit"_s);
    kitap.setConnectionString(connectionString);
    try {
        kitap.open();
        std::puts("open");
        std::fflush(stdout);
        for (int n = 1;; ++n) {
            const QString title = u"Kitap %1-%2"_s.arg(run).arg(n);
            kitap.append();
            kitap.fieldByName(u"KITABINADI").setText(title);
            kitap.fieldByName(u"ACIKLAMA").setText(descriptionOf(title));
            kitap.fieldByName(u"DEGERI").setText(QString::number(n));
            kitap.post();
            const QString line = u"saved "_s + kitap.fieldByName(u"IDNO").text() + u' ' + title;
            std::puts(line.toUtf8().constData());
            std::fflush(stdout);
        }
    } catch (const platform::Error& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}

} // namespace

class CrashSafetyTest : public QObject {
    Q_OBJECT

private slots:
    void killedWhileSavingLosesNothingReported();
};

void CrashSafetyTest::killedWhileSavingLosesNothingReported() {
    testsupport::TempDatabase db;
    const quint32 seed = QRandomGenerator::global()->generate();
    qInfo("random moments from seed %u", seed);
    QRandomGenerator random(seed);
    QMap<qint64, QString> reported; // key -> title
    const QDeadlineTimer deadline(25000);
    int kills = 0;
    while (kills < 40 && !deadline.hasExpired()) {
        QProcess copy;
        copy.start(QCoreApplication::applicationFilePath(),
                   {u"--save-until-killed"_s, db.connectionString(), QString::number(kills)});
        QVERIFY(copy.waitForStarted());
        // Killed at a random moment after it has opened: most often in the middle of a save.
        while (!copy.canReadLine() && copy.state() == QProcess::Running)
            copy.waitForReadyRead(1000);
        QCOMPARE(copy.readLine(), QByteArray("open\n"));
        QThread::usleep(random.bounded(150'000));
        copy.kill();
        QVERIFY(copy.waitForFinished(10000));
        QCOMPARE(copy.exitStatus(), QProcess::CrashExit);
        QCOMPARE(QString::fromUtf8(copy.readAllStandardError()), QString());
        ++kills;
        // Only whole lines count as reported; a line cut by the kill does not.
        const QList<QByteArray> lines = copy.readAllStandardOutput().split('\n');
        for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
            const QString line = QString::fromUtf8(lines[i]);
            QVERIFY2(line.startsWith(u"saved "_s), qPrintable(line));
            const QStringList parts = line.split(u' ');
            QVERIFY(!reported.contains(parts[1].toLongLong()));
            reported.insert(parts[1].toLongLong(), parts.mid(2).join(u' '));
        }
    }
    QVERIFY(kills >= 20);
    QVERIFY(!reported.isEmpty());

    QCOMPARE(db.rows(u"PRAGMA integrity_check"_s), std::vector<QStringList>{{u"ok"_s}});
    QMap<qint64, QStringList> stored;
    for (const QStringList& row : db.rows(u"SELECT IDNO, KITABINADI, ACIKLAMA, DEGERI FROM "
                                          u"kitapkayit"_s)) {
        // Every row whole, reported or not (a save killed after its commit, before its line).
        const QString title = row[1];
        QCOMPARE(row[2], descriptionOf(title));
        QCOMPARE(row[3], title.section(u'-', -1));
        stored.insert(row[0].toLongLong(), row);
    }
    for (auto it = reported.cbegin(); it != reported.cend(); ++it) {
        QVERIFY2(stored.contains(it.key()), qPrintable(it.value()));
        QCOMPARE(stored[it.key()][1], it.value());
    }
    qInfo("%d kills, %lld saves reported, %lld rows stored", kills, qint64(reported.size()),
          qint64(stored.size()));
}

// Run with "--save-until-killed CONNECTIONSTRING RUN" the program is the copy that saves.
int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    // The arguments as Qt reads them: on Windows argv holds only what the ANSI code page spells.
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == u"--save-until-killed"_s) {
#ifdef Q_OS_WIN
        _setmode(_fileno(stdout), _O_BINARY); // the lines as written, without "\r"
#endif
        return saveUntilKilled(args[2], args[3]);
    }
    CrashSafetyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_crashsafety.moc"
