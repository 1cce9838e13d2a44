// What the companion tells the librarian when something goes wrong: each real cause of a failure
// said in Turkish, with the advice that fits it (never a missing file sent to the backup folder,
// never an empty file told to wait, never English), and the table of causes row by row.

#include "araclar/advice.h"
#include "araclar/database.h"
#include "araclar/messages.h"
#include "araclar/printout.h"
#include "data/databasefile.h"
#include "data/sqlite.h"
#include "support/scriptedchoosers.h"
#include "support/scripteddialogs.h"
#include "support/tempdatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;
using data::FileFault;

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), bytes.size());
}

// What the librarian reads when a list of the registers at `path` is read.
QString readingSays(const QString& path) {
    testsupport::ScriptedDialogs dialogs;
    araclar::guarded([&] {
        araclar::readDatabase(path, [](const data::sqlite::Database& db) {
            data::sqlite::Statement st(db, u"select count(DURUM) from hareket"_s);
            st.step();
            return 0;
        });
    });
    return dialogs.texts().value(0);
}

} // namespace

Q_DECLARE_METATYPE(data::FileFault)

class MessagesTest : public QObject {
    Q_OBJECT

private slots:
    // Each cause made for real, then read as the companion's lists read the registers.
    void eachCauseSaysWhatFits_data() {
        QTest::addColumn<QString>("cause");
        QTest::addColumn<QString>("says");    // with %1 for the file's path
        QTest::addColumn<bool>("withDetail"); // SQLite's words follow in "(Ayrıntı: …)"
        QTest::newRow("missing") << u"missing"_s
                                 << u"'%1' bulunamadı. Araçları, Ternavolk Kütüphane Takip "
                                    u"programının klasöründen, DATA.mdb'nin yanından başlatın."_s
                                 << false;
        QTest::newRow("empty") << u"empty"_s
                               << u"'%1' boş bir dosya: içinde hiç kayıt yok. Yedekler "
                                  u"sayfasından son sağlam yedeği geri yükleyin."_s
                               << false;
        QTest::newRow("no database")
            << u"garbage"_s
            << u"'%1' bir kütüphane dosyası değil ya da okunamayacak kadar bozuk. Yedekler "
               u"sayfasından son sağlam yedeği geri yükleyin."_s
            << true;
        QTest::newRow("an old Access file")
            << u"access"_s
            << u"'%1' eski Access biçiminde; araçlar ve program onu okuyamaz. \"Access'ten "
               u"Aktar\" sayfasından yeni biçime aktarın."_s
            << false;
        QTest::newRow("damaged inside a table")
            << u"damaged"_s
            << u"'%1' bozuk. Yedekler sayfasından son sağlam yedeği geri yükleyin; bozuk dosya "
               u"silinmez, yanında saklanır."_s
            << true;
        QTest::newRow("locked by a save")
            << u"locked"_s
            << u"'%1' şu anda kullanımda: Kütüphane Takip programı ya da başka bir program ona "
               u"yazıyor. Kaydın bitmesini bekleyip birkaç saniye sonra yeniden deneyin."_s
            << true;
        QTest::newRow("a journal left by an unfinished save")
            << u"journal"_s
            << u"'%1' dosyasına yapılan bir kayıt yarıda kalmış; onarım için gereken günlük "
               u"dosyası '%1-journal' yanında duruyor. Dosyayı bir kez Ternavolk Kütüphane Takip "
               u"programıyla açın: program kaydı tamamlar. Sonra yeniden deneyin. Günlük "
               u"dosyasını silmeyin; onarım ona gerek duyar."_s
            << true;
    }
    void eachCauseSaysWhatFits() {
        QFETCH(QString, cause);
        QFETCH(QString, says);
        QFETCH(bool, withDetail);
        testsupport::TempDatabase db;
        db.exec(u"with recursive n(i) as (select 1 union all select i + 1 from n where i < 300) "
                u"insert into kitapkayit (KITABINADI) select 'KİTAP ' || i from n"_s);
        QTemporaryDir scratch;
        std::unique_ptr<data::sqlite::Database> holder;
        const QString path = db.filePath();
        if (cause == u"locked") {
            holder = std::make_unique<data::sqlite::Database>(
                path, data::sqlite::Database::Mode::ReadWrite);
            holder->execute(u"BEGIN EXCLUSIVE"_s);
        } else {
            db.release();
        }
        if (cause == u"missing")
            QVERIFY(QFile::remove(path));
        if (cause == u"empty")
            write(path, QByteArray());
        if (cause == u"garbage")
            write(path, QByteArray(8192, 'x'));
        if (cause == u"access")
            write(path, QByteArray("\0\x01\0\0Standard Jet DB\0", 20) + QByteArray(4000, '\0'));
        if (cause == u"damaged")
            QVERIFY(testsupport::overwriteRootPage(path, u"hareket"_s));
        if (cause == u"journal")
            QVERIFY(testsupport::leaveUnfinishedSave(path, scratch.path()));

        const QString said = readingSays(path);
        const QString expected = says.arg(QDir::toNativeSeparators(path));
        if (withDetail) {
            QVERIFY2(said.startsWith(expected + u" (Ayrıntı: "_s) && said.endsWith(u')'),
                     qPrintable(said));
        } else {
            QCOMPARE(said, expected);
        }
    }

    // The table itself: a row for each cause, for DATA.mdb and for any other file where they
    // differ.
    void theTableOfCauses_data() {
        QTest::addColumn<FileFault>("fault");
        QTest::addColumn<bool>("registers");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("todo");
        QTest::newRow("a backup that is gone")
            << FileFault::Missing << false << u"'X.mdb' bulunamadı."_s
            << u"Dosya taşınmış, adı değişmiş ya da silinmiş olabilir; yerini denetleyip yeniden "
               u"seçin."_s;
        QTest::newRow("access denied")
            << FileFault::AccessDenied << true
            << u"'X.mdb' dosyasını okuma ya da yazma izniniz yok."_s
            << u"Dosyanın ve klasörünün izinlerini denetleyin; gerekirse bilgisayarın "
               u"yöneticisinden yardım isteyin."_s;
        QTest::newRow("an empty backup")
            << FileFault::Empty << false << u"'X.mdb' boş bir dosya: içinde hiç kayıt yok."_s
            << u"Bu dosya kullanılamaz; başka bir dosya seçin."_s;
        QTest::newRow("exists") << FileFault::Exists << false
                                << u"'X.mdb' zaten var ve üzerine yazılmaz."_s
                                << u"Başka bir ad seçin."_s;
        QTest::newRow("a damaged backup") << FileFault::Damaged << false << u"'X.mdb' bozuk."_s
                                          << u"Bu dosyayı kullanmayın; başka bir dosya seçin."_s;
        QTest::newRow("folder not writable")
            << FileFault::FolderNotWritable << true
            << u"'X.mdb' dosyasının klasörüne yazılamıyor, bu yüzden kaydı güvenle yapmak için "
               u"gereken günlük dosyası açılamıyor."_s
            << u"Klasöre yazma izni verin ya da dosyayı yazılabilen bir klasöre taşıyın."_s;
        QTest::newRow("read-only")
            << FileFault::ReadOnly << true << u"'X.mdb' salt okunur; ona yazılamıyor."_s
            << u"Dosyanın \"Salt okunur\" özelliğini kaldırın ya da yazma "
               u"izni verin."_s;
        QTest::newRow("cannot open") << FileFault::CannotOpen << true << u"'X.mdb' açılamıyor."_s
                                     << u"Dosyanın yerini ve okuma-yazma izinlerini denetleyin."_s;
        QTest::newRow("disk full")
            << FileFault::DiskFull << true << u"'X.mdb' dosyasının bulunduğu disk dolu."_s
            << u"Diskte yer açıp yeniden deneyin."_s;
        QTest::newRow("input or output")
            << FileFault::InputOutput << true
            << u"'X.mdb' okunurken ya da yazılırken disk veya ağ hatası oldu."_s
            << u"Diski ya da ağ bağlantısını denetleyip yeniden deneyin."_s;
        QTest::newRow("write-ahead log")
            << FileFault::WriteAheadLog << true
            << u"'X.mdb' başka bir program tarafından WAL günlüğüne geçirilmiş."_s
            << u"O programı kapatın ve dosyayı bir kez Ternavolk Kütüphane Takip programıyla "
               u"açın; program dosyayı kendi günlüğüne geri çevirir."_s;
        QTest::newRow("anything else")
            << FileFault::Other << true << u"'X.mdb' üzerinde istenen işlem yapılamadı."_s
            << u"Yeniden deneyin; sürerse Yedekler sayfasında \"Denetle\" ile denetleyin."_s;
    }
    void theTableOfCauses() {
        QFETCH(FileFault, fault);
        QFETCH(bool, registers);
        QFETCH(QString, what);
        QFETCH(QString, todo);
        const araclar::Advice advice = araclar::adviceFor(fault, u"X.mdb"_s, registers);
        QCOMPARE(advice.what, what);
        QCOMPARE(advice.todo, todo);
    }

    // A file that cannot be written: the Turkish sentence, then the system's words.
    void aFileThatCannotBeWritten() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"yok/liste.pdf"_s);
        testsupport::ScriptedDialogs dialogs;
        testsupport::ScriptedChoosers choosers;
        araclar::guarded([&] {
            araclar::savePdf(printing::ReportTable{u"Liste"_s, {u"A"_s}, {{u"1"_s}}},
                             QDate(2026, 5, 21), path, nullptr);
        });
        QCOMPARE(dialogs.texts().size(), 1);
        QVERIFY2(dialogs.texts()[0].startsWith(u"PDF dosyası '"_s + path + u"' yazılamadı ("_s),
                 qPrintable(dialogs.texts()[0]));
        QVERIFY(!QFile::exists(path));
    }
};

QTEST_MAIN(MessagesTest)
#include "tst_messages.moc"
