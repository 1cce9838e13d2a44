// The companion's window over a temporary DATA.mdb, one whole test per page, driven as the
// librarian would: the lists it shows, what typing and choosing narrow, the files it writes,
// the backups it makes and restores, the import it runs.

#include "araclar/backuppage.h"
#include "araclar/context.h"
#include "araclar/historypage.h"
#include "araclar/importpage.h"
#include "araclar/listpanel.h"
#include "araclar/mainwindow.h"
#include "araclar/messages.h"
#include "araclar/overduepage.h"
#include "araclar/statisticspage.h"
#include "support/companionpages.h"
#include "support/filemode.h"
#include "support/scriptedchoosers.h"
#include "support/scripteddialogs.h"
#include "support/tempdatabase.h"
#include "support/toolrun.h"
#include "support/typing.h"
#include "tools/backupfolder.h"
#include "tools/rotation.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <deque>
#include <memory>

using namespace Qt::StringLiterals;
using araclar::ListPanel;
using platform::Answer;
using testsupport::child;
using testsupport::shownRows;

namespace {

QVariant iso(const QString& day) {
    return day + u" 16:15:25.890"_s;
}

// Each backup listed as "name|kind|made|check|library" (the size left out).
QStringList backupRows(const QTableWidget* list) {
    QStringList rows;
    for (int r = 0; r < list->rowCount(); ++r) {
        QStringList cells;
        for (const int c : {0, 1, 2, 4, 5})
            cells << list->item(r, c)->text();
        rows << cells.join(u'|');
    }
    return rows;
}

} // namespace

class PagesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempDatabase> db;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    std::unique_ptr<testsupport::ScriptedChoosers> choosers;
    std::unique_ptr<QTemporaryDir> settingsDir;
    QDateTime clock;

    araclar::Context context() {
        araclar::Context c =
            araclar::contextFor(db->executablePath(), settingsDir->filePath(u"araclar.ini"_s));
        c.now = [this] { return clock; };
        c.toolPath = QStringLiteral(TERNAVOLK_DB_TOOL);
        return c;
    }

    void seed() {
        const auto reader = [&](const QString& name, const QString& school, const QString& phone) {
            db->insert(u"okuyucu"_s,
                       {u"ADISOYADI"_s, u"OKULU"_s, u"OGRENIMDURUMU"_s, u"TELEFONU"_s},
                       {name, school, u"ORTAOKUL"_s, phone});
        };
        reader(u"ÇAĞRI ŞAHİN"_s, u"İNÖNÜ ORTAOKULU"_s, u"0312 111"_s);
        reader(u"MERVE IŞIK"_s, u"GAZİ LİSESİ"_s, u"0312 222"_s);
        reader(u"ELİF KAYA"_s, u"GAZİ LİSESİ"_s, u"0312 333"_s);
        reader(u"ELİF KAYA"_s, u"İNÖNÜ ORTAOKULU"_s, u"0312 444"_s);
        const auto loan = [&](const QString& reader, const QString& book, const QString& given,
                              const QVariant& due, const QString& status) {
            db->insert(u"hareket"_s,
                       {u"O_ADI_SOYADI"_s, u"ADIGIKITAP"_s, u"TESLIMTARIHI"_s,
                        u"GERIGETIRMETARIHI"_s, u"DURUM"_s},
                       {reader, book, iso(given), due, status});
        };
        loan(u"ÇAĞRI ŞAHİN"_s, u"BEYAZ DİŞ"_s, u"2026-03-01"_s, iso(u"2026-03-21"_s), u"Verildi"_s);
        loan(u"MERVE IŞIK"_s, u"İNCE MEMED"_s, u"2026-05-01"_s, iso(u"2026-05-20"_s), u"Veridi"_s);
        loan(u"ELİF KAYA"_s, u"SEFİLLER"_s, u"2026-04-01"_s, iso(u"2026-04-21"_s), u""_s);
        loan(u"YOK KİŞİ"_s, u"ÇALIKUŞU"_s, u"2026-05-10"_s, iso(u"2026-05-30"_s), u"Verildi"_s);
        loan(u"MERVE IŞIK"_s, u"SEFİLLER"_s, u"2026-01-02"_s, iso(u"2026-01-20"_s),
             u"GERİ ALINDI"_s);
        loan(u"ÇAĞRI ŞAHİN"_s, u"SEFİLLER"_s, u"2025-10-02"_s, iso(u"2025-10-20"_s),
             u"geri alındı"_s);
        loan(u"ÇAĞRI ŞAHİN"_s, u"ÇALIKUŞU"_s, u"2025-06-02"_s, iso(u"2025-06-20"_s),
             u"Geri Alindi"_s);
        db->insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"SEFİLLER"_s});
        db->insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {u"BEYAZ DİŞ"_s});
    }

private slots:
    void init() {
        db = std::make_unique<testsupport::TempDatabase>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
        choosers = std::make_unique<testsupport::ScriptedChoosers>();
        settingsDir = std::make_unique<QTemporaryDir>();
        clock = QDateTime(QDate(2026, 5, 21), QTime(10, 0));
        seed();
    }
    void cleanup() {
        choosers.reset();
        dialogs.reset();
        db.reset();
        settingsDir.reset();
    }

    void overduePageListsNarrowsAndSaves() {
        araclar::MainWindow w(context());
        w.show();
        w.startUp();
        QCOMPARE(dialogs->texts(), QStringList{});
        QCOMPARE(w.windowTitle(), u"Ternavolk Kütüphane Araçları"_s);
        QStringList tabs;
        for (int i = 0; i < w.pages->count(); ++i)
            tabs << w.pages->tabText(i);
        QCOMPARE(tabs, (QStringList{u"Geciken Kitaplar"_s, u"Okuyucu / Kitap Geçmişi"_s,
                                    u"En Çok Okunanlar"_s, u"Yedekler"_s, u"Access'ten Aktar"_s,
                                    u"Listeden Aktar"_s, u"Ödünç Masası"_s, u"Etiket ve Kart"_s,
                                    u"Ödünç Kuralları"_s}));
        araclar::OverduePage* page = w.overdue;
        QCOMPARE(page->filterEdit->accessibleName(), u"Ara"_s);
        QCOMPARE(page->schoolCombo->accessibleName(), u"Okul"_s);
        QCOMPARE(page->todayLabel->text(), u"Bugün: 21.05.2026"_s);

        QCOMPARE(
            shownRows(page->overdueList),
            (QStringList{
                u"ÇAĞRI ŞAHİN|İNÖNÜ ORTAOKULU|ORTAOKUL|0312 111|BEYAZ DİŞ|01.03.2026|21.03.2026|61"_s,
                u"ELİF KAYA|aynı adda 2 okuyucu|||SEFİLLER|01.04.2026|21.04.2026|30"_s,
                u"MERVE IŞIK|GAZİ LİSESİ|ORTAOKUL|0312 222|İNCE MEMED|01.05.2026|20.05.2026|1"_s}));
        QCOMPARE(page->overdueList->countLabel()->text(), u"3 kayıt"_s);
        QCOMPARE(shownRows(page->outList).last(),
                 u"YOK KİŞİ|okuyucu kaydı yok|||ÇALIKUŞU|10.05.2026|30.05.2026|"_s);
        QCOMPARE(page->outList->countLabel()->text(), u"4 kayıt"_s);
        QStringList schools;
        for (int i = 0; i < page->schoolCombo->count(); ++i)
            schools << page->schoolCombo->itemText(i);
        QCOMPARE(schools,
                 (QStringList{u"Bütün okullar"_s, u"GAZİ LİSESİ"_s, u"İNÖNÜ ORTAOKULU"_s}));

        page->filterEdit->setFocus();
        testsupport::typeText(page->filterEdit, u"sahin"_s);
        QCOMPARE(shownRows(page->overdueList).size(), 1);
        QVERIFY(shownRows(page->overdueList)[0].startsWith(u"ÇAĞRI ŞAHİN|"_s));
        QCOMPARE(page->overdueList->countLabel()->text(), u"1 kayıt (toplam 3)"_s);
        QCOMPARE(page->outList->countLabel()->text(), u"1 kayıt (toplam 4)"_s);
        page->filterEdit->clear();
        page->schoolCombo->setCurrentIndex(1);
        QCOMPARE(shownRows(page->overdueList).size(), 1);
        QVERIFY(shownRows(page->overdueList)[0].startsWith(u"MERVE IŞIK|"_s));

        // What is printed and saved says how the list was narrowed, in its title and in the
        // file name offered.
        QCOMPARE(page->overdueList->printedTable().title,
                 u"Geciken Kitaplar (Okul: GAZİ LİSESİ)"_s);
        page->filterEdit->setText(u"ince"_s);
        QCOMPARE(page->outList->printedTable().title,
                 u"Dışarıdaki Kitaplar (Okul: GAZİ LİSESİ; Arama: \u201Cince\u201D)"_s);
        page->filterEdit->clear();

        // Excel: the rows shown, through the button.
        QTemporaryDir out;
        choosers->answers.push_back(out.filePath(u"gecikenler.csv"_s));
        QTest::mouseClick(child<QPushButton>(page->overdueList, u"Geciken KitaplarCsv"_s),
                          Qt::LeftButton);
        QCOMPARE(choosers->captions, QStringList{u"Excel İçin Kaydet"_s});
        QCOMPARE(QFileInfo(choosers->suggested.value(0)).fileName(),
                 u"Geciken Kitaplar (Okul GAZİ LİSESİ) 2026-05-21.csv"_s);
        COMPARE_FILE_MODE(out.filePath(u"gecikenler.csv"_s), testsupport::ownerOnly);
        QFile csv(out.filePath(u"gecikenler.csv"_s));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(),
                 "\xEF\xBB\xBF"_ba +
                     u"Okuyucu;Okulu;Öğrenim Durumu;Telefonu;Kitap;Veriliş Tarihi;Geri Getirme "
                     u"Tarihi;Gecikme (gün)\r\n"
                     u"MERVE IŞIK;GAZİ LİSESİ;ORTAOKUL;0312 222;İNCE MEMED;01.05.2026;"
                     u"20.05.2026;1\r\n"_s.toUtf8());
        // PDF, and a cancelled chooser writes nothing.
        choosers->answers.push_back(out.filePath(u"gecikenler.pdf"_s));
        QTest::mouseClick(child<QPushButton>(page->overdueList, u"Geciken KitaplarPdf"_s),
                          Qt::LeftButton);
        QVERIFY(QFileInfo(out.filePath(u"gecikenler.pdf"_s)).size() > 0);
        COMPARE_FILE_MODE(out.filePath(u"gecikenler.pdf"_s), testsupport::ownerOnly);
        QCOMPARE(choosers->tasks,
                 (QStringList{u"Liste yazılıyor…"_s, u"PDF dosyası yazılıyor…"_s}));
        QTest::mouseClick(child<QPushButton>(page->overdueList, u"Geciken KitaplarPdf"_s),
                          Qt::LeftButton);
        QCOMPARE(QDir(out.path()).entryList(QDir::Files).size(), 2);
        QCOMPARE(dialogs->texts(), QStringList{});

        // The reminder slips of the school chosen, from the overdue list: one reader is late.
        choosers->answers.push_back(out.filePath(u"bildirim.pdf"_s));
        QTest::mouseClick(child<QPushButton>(page, u"slipsPdfButton"_s), Qt::LeftButton);
        QCOMPARE(choosers->captions.last(), u"Gecikme Bildirimlerini PDF Olarak Kaydet"_s);
        QVERIFY(QFileInfo(out.filePath(u"bildirim.pdf"_s)).size() > 0);
        COMPARE_FILE_MODE(out.filePath(u"bildirim.pdf"_s), testsupport::ownerOnly);
        QCOMPARE(dialogs->texts(), QStringList{});

        // A loan given back meanwhile (the main program writes), then "Yenile".
        db->exec(u"update hareket set DURUM = 'Geri Alindi' where ADIGIKITAP = 'İNCE MEMED'"_s);
        QTest::mouseClick(child<QPushButton>(page, u"refreshButton"_s), Qt::LeftButton);
        QCOMPARE(page->schoolCombo->currentText(), u"GAZİ LİSESİ"_s);
        QCOMPARE(shownRows(page->overdueList), QStringList{});
        QCOMPARE(page->overdueList->countLabel()->text(), u"0 kayıt (toplam 2)"_s);

        // The keyboard: Tab leaves the list in one step for its buttons, which have their
        // letters.
        QApplication::setActiveWindow(&w);
        page->overdueList->view()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(page->overdueList->view(), Qt::Key_Tab);
        auto* print = child<QPushButton>(page->overdueList, u"Geciken KitaplarPrint"_s);
        QCOMPARE(QApplication::focusWidget(), print);
        QCOMPARE(print->text(), u"Ya&zdır…"_s);
        QCOMPARE(child<QPushButton>(page->overdueList, u"Geciken KitaplarPdf"_s)->text(),
                 u"&PDF Olarak Kaydet…"_s);
        QCOMPARE(child<QPushButton>(page->overdueList, u"Geciken KitaplarCsv"_s)->text(),
                 u"&Excel İçin Kaydet…"_s);
    }

    void historyPageFindsAReaderAndABook() {
        araclar::MainWindow w(context());
        w.show();
        w.startUp();
        araclar::HistoryPanel* readers = w.history->readers;
        QCOMPARE(readers->searchEdit->accessibleName(), u"Okuyucu ara"_s);
        QCOMPARE(readers->names->count(), 3);
        QApplication::setActiveWindow(&w);
        readers->searchEdit->setFocus();
        testsupport::typeText(readers->searchEdit, u"şahin"_s);
        QCOMPARE(readers->names->count(), 1);
        QCOMPARE(readers->namesNote->text(), u"1 sonuç"_s);
        // Down goes on from the search box into the names found, on the first of them.
        QTest::keyClick(readers->searchEdit, Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), readers->names);
        QCOMPARE(readers->names->currentRow(), 0);
        QCOMPARE(shownRows(readers->loans),
                 (QStringList{u"BEYAZ DİŞ|01.03.2026|21.03.2026|Gecikmiş (61 gün)|Verildi|"_s,
                              u"SEFİLLER|02.10.2025|20.10.2025|Geri alındı|geri alındı|"_s,
                              u"ÇALIKUŞU|02.06.2025|20.06.2025|Geri alındı|Geri Alindi|"_s}));
        QCOMPARE(readers->loans->countLabel()->text(), u"3 kayıt"_s);
        QCOMPARE(readers->loans->model()->table().title, u"Okuyucu Geçmişi: ÇAĞRI ŞAHİN"_s);

        araclar::HistoryPanel* books = w.history->books;
        w.history->tabs->setCurrentWidget(books);
        books->searchEdit->setFocus();
        testsupport::typeText(books->searchEdit, u"SEF"_s);
        QCOMPARE(books->names->count(), 1);
        books->names->setCurrentRow(0);
        QCOMPARE(shownRows(books->loans),
                 (QStringList{u"ELİF KAYA|01.04.2026|21.04.2026|Gecikmiş (30 gün)||"_s,
                              u"MERVE IŞIK|02.01.2026|20.01.2026|Geri alındı|GERİ ALINDI|"_s,
                              u"ÇAĞRI ŞAHİN|02.10.2025|20.10.2025|Geri alındı|geri alındı|"_s}));
        testsupport::typeText(books->searchEdit, u"x"_s);
        QCOMPARE(books->names->count(), 0);
        QCOMPARE(books->loans->model()->rowCount(), 0);
        QCOMPARE(dialogs->texts(), QStringList{});
    }

    void statisticsPageCountsThePeriod() {
        araclar::MainWindow w(context());
        w.show();
        w.startUp();
        araclar::StatisticsPage* page = w.statistics;
        QCOMPARE(page->fromEdit->date(), QDate(2025, 9, 1));
        QCOMPARE(page->toEdit->date(), QDate(2026, 5, 21));
        QCOMPARE(page->fromEdit->accessibleName(), u"Başlangıç"_s);
        QCOMPARE(shownRows(page->books), (QStringList{u"1|SEFİLLER|3"_s, u"2|BEYAZ DİŞ|1"_s,
                                                      u"3|ÇALIKUŞU|1"_s, u"4|İNCE MEMED|1"_s}));
        QCOMPARE(shownRows(page->readers), (QStringList{u"1|ÇAĞRI ŞAHİN|2"_s, u"2|MERVE IŞIK|2"_s,
                                                        u"3|ELİF KAYA|1"_s, u"4|YOK KİŞİ|1"_s}));
        QCOMPARE(
            shownRows(page->schools),
            (QStringList{u"GAZİ LİSESİ|2"_s, u"İNÖNÜ ORTAOKULU|2"_s,
                         u"aynı adda okuyucular farklı okullarda|1"_s, u"okuyucu kaydı yok|1"_s}));

        QCOMPARE(page->loans->countLabel()->text(), u"6 kayıt"_s);
        QCOMPARE(shownRows(page->loans).front(),
                 u"6|ÇAĞRI ŞAHİN|SEFİLLER|02.10.2025|20.10.2025|geri alındı|"_s);
        QCOMPARE(shownRows(page->loans).back(),
                 u"4|YOK KİŞİ|ÇALIKUŞU|10.05.2026|30.05.2026|Verildi|"_s);

        page->fromEdit->setDate(QDate(2026, 4, 1));
        QTest::mouseClick(child<QPushButton>(page, u"showButton"_s), Qt::LeftButton);
        QCOMPARE(shownRows(page->books),
                 (QStringList{u"1|ÇALIKUŞU|1"_s, u"2|İNCE MEMED|1"_s, u"3|SEFİLLER|1"_s}));
        QCOMPARE(page->books->model()->table().title,
                 u"En Çok Okunan Kitaplar (01.04.2026 – 21.05.2026)"_s);

        page->fromEdit->setDate(QDate(2026, 6, 1));
        QTest::mouseClick(child<QPushButton>(page, u"showButton"_s), Qt::LeftButton);
        QCOMPARE(dialogs->texts(), QStringList{u"Başlangıç günü bitiş gününden sonra. Başlangıcı "
                                               u"bitişten önceki bir güne alın."_s});
        QCOMPARE(dialogs->shown().front().caption, u"Ternavolk Kütüphane Araçları"_s);
        QCOMPARE(dialogs->shown().front().icon, platform::Icon::Stop);
        QTest::mouseClick(child<QPushButton>(page, u"schoolYearButton"_s), Qt::LeftButton);
        QCOMPARE(page->fromEdit->date(), QDate(2025, 9, 1));
        QCOMPARE(page->books->model()->rowCount(), 4);
    }

    void backupPageBacksUpRotatesAndRestores() {
        const QString folder = settingsDir->filePath(u"Yedek Klasörü"_s);
        {
            araclar::MainWindow w(context());
            w.show();
            w.startUp(); // no folder yet: no automatic backup, no box
            araclar::BackupPage* page = w.backups;
            QCOMPARE(page->statusLabel->text(),
                     u"Kendiliğinden yedek alınmadı: yedek klasörü seçilmedi."_s);
            QTest::mouseClick(child<QPushButton>(page, u"backupButton"_s), Qt::LeftButton);
            QCOMPARE(dialogs->texts(), QStringList{u"Yedeklerin saklanacağı klasör seçilmedi. Önce "
                                                   u"\"Klasör Seç…\" ile bir klasör seçin."_s});
            dialogs->clear();

            choosers->answers.push_back(folder);
            QTest::mouseClick(child<QPushButton>(page, u"folderButton"_s), Qt::LeftButton);
            QCOMPARE(page->folderEdit->text(), QDir::toNativeSeparators(folder));
            // Kept for this DATA.mdb alone.
            QCOMPARE(QSettings(settingsDir->filePath(u"araclar.ini"_s), QSettings::IniFormat)
                         .value(w.context().libraryKey(u"yedekler/klasor"_s))
                         .toString(),
                     folder);
            QTest::mouseClick(child<QPushButton>(page, u"backupButton"_s), Qt::LeftButton);
            QCOMPARE(dialogs->texts(), QStringList{});
            QCOMPARE(choosers->tasks, QStringList{u"Yedek alınıyor…"_s});
            QCOMPARE(backupRows(page->backups),
                     QStringList{u"DATA-2026-05-21-100000.mdb|Yedek|21.05.2026 10:00:00|sağlam|"
                                 u"bu kütüphane"_s});
            QCOMPARE(
                page->statusLabel->text(),
                u"Yedek alındı ve denetlendi: DATA-2026-05-21-100000.mdb. Eskiyen 0 yedek silindi."_s);

            // Registers change after the backup; the librarian says No, then Yes.
            db->exec(u"delete from hareket; insert into okuyucu (ADISOYADI) values ('SONRADAN')"_s);
            clock = clock.addSecs(3600);
            page->backups->selectRow(0);
            QTest::mouseClick(child<QPushButton>(page, u"restoreButton"_s), Qt::LeftButton);
            QCOMPARE(dialogs->shown().size(), 1);
            QCOMPARE(dialogs->shown()[0].icon, platform::Icon::Question);
            QCOMPARE(dialogs->shown()[0].defaultAnswer, Answer::No);
            QCOMPARE(dialogs->texts()[0],
                     u"21.05.2026 10:00:00 tarihli yedek (DATA-2026-05-21-100000.mdb) geri "
                     u"yüklensin mi?\n\nDATA.mdb'deki kayıtların yerini yedektekiler alır; "
                     u"yedekten sonra kaydedilenler geri yüklenen dosyada olmaz. Önce şimdiki "
                     u"DATA.mdb yedek klasörüne saklanır."_s);
            QCOMPARE(db->count(u"hareket"_s), 0);
            QCOMPARE(QDir(folder).entryList({u"*.mdb"_s}, QDir::Files).size(), 1);

            dialogs->clear();
            dialogs->answerNext(Answer::Yes);
            QTest::mouseClick(child<QPushButton>(page, u"restoreButton"_s), Qt::LeftButton);
            QCOMPARE(dialogs->texts().size(), 2);
            QCOMPARE(dialogs->texts()[1],
                     u"Yedek geri yüklendi. Önceki DATA.mdb "
                     u"DATA-geri-yukleme-oncesi-2026-05-21-110000.mdb adıyla yedeklendi.\n\n"
                     u"Ternavolk Kütüphane Takip programı açıksa kapatıp yeniden başlatın: geri "
                     u"yüklenen kayıtları ancak o zaman gösterir."_s);
            QCOMPARE(db->count(u"hareket"_s), 7);
            QCOMPARE(db->count(u"okuyucu"_s), 4);
            QCOMPARE(testsupport::fileRows(
                         QDir(folder).filePath(u"DATA-geri-yukleme-oncesi-2026-05-21-110000.mdb"_s),
                         u"select count(*) from hareket"_s),
                     (QList<QStringList>{{u"0"_s}}));
            QCOMPARE(backupRows(page->backups),
                     (QStringList{u"DATA-geri-yukleme-oncesi-2026-05-21-110000.mdb|Geri yükleme "
                                  u"öncesi|21.05.2026 11:00:00|sağlam|bu kütüphane"_s,
                                  u"DATA-2026-05-21-100000.mdb|Yedek|21.05.2026 10:00:00|sağlam|"
                                  u"bu kütüphane"_s}));
        }
        // Opening again within a day makes no backup; a day later it does, and the rotation
        // keeps the newest of 21 May; the copy made before the restore stays.
        dialogs->clear();
        clock = QDateTime(QDate(2026, 5, 22), QTime(9, 0));
        {
            araclar::MainWindow w(context());
            w.startUp();
            QCOMPARE(QDir(folder).entryList({u"*.mdb"_s}, QDir::Files).size(), 2);
        }
        clock = QDateTime(QDate(2026, 5, 22), QTime(11, 30));
        {
            araclar::MainWindow w(context());
            w.startUp();
            QCOMPARE(dialogs->texts(), QStringList{});
            QCOMPARE(backupRows(w.backups->backups),
                     (QStringList{u"DATA-2026-05-22-113000.mdb|Yedek|22.05.2026 11:30:00|sağlam|"
                                  u"bu kütüphane"_s,
                                  u"DATA-geri-yukleme-oncesi-2026-05-21-110000.mdb|Geri yükleme "
                                  u"öncesi|21.05.2026 11:00:00|sağlam|bu kütüphane"_s,
                                  u"DATA-2026-05-21-100000.mdb|Yedek|21.05.2026 10:00:00|sağlam|"
                                  u"bu kütüphane"_s}));
        }
    }

    // When something has gone wrong: the backup of a damaged DATA.mdb is kept as SORUNLU and
    // counts for nothing, so the next opening tries again; DATA.mdb's own check says so in
    // Turkish; a backup of another library asks first, naming it; the restore puts the registers
    // back and keeps the damaged file aside as it was.
    void backupPageWhenTheRegistersAreDamaged() {
        const QString folder = settingsDir->filePath(u"yedek"_s);
        QVERIFY(QDir().mkpath(folder));
        // A sound backup of this library, made the day before from the command line.
        db->release();
        const QString backup = QDir(folder).filePath(u"DATA-2026-05-19-180000.mdb"_s);
        const testsupport::ToolRun made = testsupport::runTool(
            QStringLiteral(TERNAVOLK_DB_TOOL), {u"backup"_s, db->filePath(), u"--into"_s, folder});
        QCOMPARE(made.exitCode, 0);
        QVERIFY(QFile::rename(made.out.section(u" to "_s, 1).trimmed(), backup));
        tools::noteBackup(folder, u"DATA-2026-05-19-180000.mdb"_s,
                          tools::libraryIdentity(db->filePath()), tools::CheckState::Sound);
        // And one of another library.
        const QString other = QDir(folder).filePath(u"DATA-2026-05-18-180000.mdb"_s);
        QVERIFY(QFile::copy(backup, other));
        tools::noteBackup(folder, u"DATA-2026-05-18-180000.mdb"_s, u"D:\\Başka Okul\\DATA.mdb"_s,
                          tools::CheckState::Sound);
        QVERIFY(testsupport::overwriteRootPage(db->filePath(), u"hareket"_s));
        QFile damaged(db->filePath());
        QVERIFY(damaged.open(QIODevice::ReadOnly));
        const QByteArray damagedBytes = damaged.readAll();
        damaged.close();
        QSettings(settingsDir->filePath(u"araclar.ini"_s), QSettings::IniFormat)
            .setValue(u"yedekler/klasor"_s, folder); // as an earlier companion kept it

        araclar::MainWindow w(context());
        w.show();
        araclar::BackupPage* page = w.backups;
        QCOMPARE(page->folder(), folder);
        w.startUp(); // the daily backup is due; the lists cannot be read
        QCOMPARE(dialogs->texts().size(), 2);
        QCOMPARE(dialogs->texts()[0],
                 u"DATA.mdb'nin kopyası alındı ama denetimden geçmedi: kütüphane dosyası bozuk "
                 u"olabilir. Bu kopya bir yedek sayılmaz; eski yedeklerin hiçbiri silinmedi ve "
                 u"kopya, belki de elde olanın en iyisi olduğu için "
                 u"DATA-SORUNLU-2026-05-21-100000.mdb adıyla saklandı. \"DATA.mdb'yi Denetle\" "
                 u"ile kütüphane dosyasını denetleyin; sorun bulunursa son sağlam yedeği geri "
                 u"yükleyin."_s);
        QVERIFY2(dialogs->texts()[1].startsWith(
                     u"'"_s + QDir::toNativeSeparators(db->filePath()) +
                     u"' bozuk. Yedekler sayfasından son sağlam yedeği geri yükleyin; bozuk dosya "
                     u"silinmez, yanında saklanır. (Ayrıntı: "_s),
                 qPrintable(dialogs->texts()[1]));
        const QString library = u"bu kütüphane"_s;
        QCOMPARE(backupRows(page->backups),
                 (QStringList{u"DATA-SORUNLU-2026-05-21-100000.mdb|SORUNLU kopya|21.05.2026 "
                              u"10:00:00|SORUNLU|"_s +
                                  library,
                              u"DATA-2026-05-19-180000.mdb|Yedek|19.05.2026 18:00:00|sağlam|"_s +
                                  library,
                              u"DATA-2026-05-18-180000.mdb|Yedek|18.05.2026 18:00:00|sağlam|D:\\"
                              u"Başka Okul\\DATA.mdb"_s}));
        // The failed copy counts for nothing: the newest backup is still that of the 19th.
        QCOMPARE(tools::rotationFiles(folder).front(), u"DATA-2026-05-19-180000.mdb"_s);
        dialogs->clear();

        QTest::mouseClick(child<QPushButton>(page, u"checkRegistersButton"_s), Qt::LeftButton);
        QCOMPARE(dialogs->shown().size(), 1);
        QCOMPARE(dialogs->shown()[0].icon, platform::Icon::Stop);
        QVERIFY2(dialogs->texts()[0].startsWith(u"DATA.mdb sorunlu. Yedekler listesinden en yeni "
                                                u"sağlam yedeği seçip"_s),
                 qPrintable(dialogs->texts()[0]));
        dialogs->clear();

        // The other library's backup: the question names it; No changes nothing.
        page->backups->selectRow(2);
        QTest::mouseClick(child<QPushButton>(page, u"restoreButton"_s), Qt::LeftButton);
        QCOMPARE(dialogs->texts().size(), 1);
        QVERIFY2(dialogs->texts()[0].endsWith(
                     u"DİKKAT: Bu yedek başka bir kütüphane dosyasından alınmış:\nD:\\Başka "
                     u"Okul\\DATA.mdb\nBu kütüphane ise:\n"_s +
                     tools::libraryIdentity(db->filePath())),
                 qPrintable(dialogs->texts()[0]));
        dialogs->clear();

        page->backups->selectRow(1);
        dialogs->answerNext(Answer::Yes);
        QTest::mouseClick(child<QPushButton>(page, u"restoreButton"_s), Qt::LeftButton);
        QCOMPARE(dialogs->texts().size(), 2);
        QVERIFY2(dialogs->texts()[1].startsWith(
                     u"Yedek geri yüklendi. Önceki DATA.mdb bozuktu; olduğu gibi "
                     u"DATA-bozuk-2026-05-21-100000.mdb adıyla yedek klasörüne saklandı."_s),
                 qPrintable(dialogs->texts()[1]));
        QCOMPARE(db->count(u"hareket"_s), 7);
        QFile kept(QDir(folder).filePath(u"DATA-bozuk-2026-05-21-100000.mdb"_s));
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), damagedBytes);
    }

    void importPageBringsAnAccessFileAcrossAndPutsItInPlace() {
#ifdef TERNAVOLK_NO_ACCESS_IMPORT
        QSKIP("this build's ternavolk-db has no Access import");
#endif
        araclar::MainWindow w(context());
        w.show();
        w.startUp();
        araclar::ImportPage* page = w.import;
        const QString dir = db->directory();
        QCOMPARE(page->newEdit->text(), QDir::toNativeSeparators(dir + u"/DATA-yeni.mdb"_s));
        QCOMPARE(page->oldEdit->accessibleName(), u"Eski Access dosyası"_s);

        // Not an Access file: the tool refuses, the page says so in Turkish.
        const QString notAccess = dir + u"/bozuk.mdb"_s;
        {
            QFile f(notAccess);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QByteArray(4096, 'x'));
        }
        choosers->answers.push_back(notAccess);
        QTest::mouseClick(child<QPushButton>(page, u"oldButton"_s), Qt::LeftButton);
        QTest::mouseClick(page->startButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!page->running() && page->startButton->isEnabled(), 60000);
        // The whole text: a refusal for any other reason (a reader stopped as stalled, say)
        // starts and ends the same way.
        QCOMPARE(dialogs->texts(),
                 QStringList{u"Aktarma yapılamadı; yeni dosya oluşturulmadı. Seçilen dosya Access "
                             u"2000 ya da 2002–2003 biçiminde bir Access dosyası değil. Doğru "
                             u"dosyayı seçin; daha eski ya da daha yeni bir Access biçimindeyse "
                             u"Access ile bu biçimde kaydedip yeniden deneyin."_s});
        QCOMPARE(page->stateLabel->text(), u"Aktarma yapılamadı."_s);
        QVERIFY(!QFileInfo::exists(dir + u"/DATA-yeni.mdb"_s));
        dialogs->clear();

        choosers->answers.push_back(QStringLiteral(TERNAVOLK_ACCESS_DATA) +
                                    u"/kutuphane_jet4_compressed.mdb"_s);
        QTest::mouseClick(child<QPushButton>(page, u"oldButton"_s), Qt::LeftButton);
        dialogs->answerNext(Answer::Yes);
        db->release(); // the test's own connection: Windows renames no file that is open
        QTest::mouseClick(page->startButton, Qt::LeftButton);
        QVERIFY(page->running() || !dialogs->texts().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!page->running() && page->startButton->isEnabled(), 60000);
        QCOMPARE(page->progress->value(), 3);
        QCOMPARE(page->summary->toPlainText(),
                 u"Aktarma başladı.\n"
                 u"Okuyucular (okuyucu): 4 satır okundu, 4 satır yazıldı.\n"
                 u"Kitaplar (kitapkayit): 5 satır okundu, 5 satır yazıldı.\n"
                 u"Ödünçler (hareket): 3 satır okundu, 3 satır yazıldı.\n"
                 u"Aktarma uyarısız tamamlandı."_s);
        QCOMPARE(dialogs->texts().size(), 2);
        QVERIFY(dialogs->texts()[0].startsWith(
            u"Yeni dosya programın kullandığı DATA.mdb'nin yerine konsun mu?"_s));
        QCOMPARE(dialogs->texts()[1],
                 u"Yeni dosya DATA.mdb olarak yerine kondu; önceki DATA.mdb "
                 u"'DATA-eski-2026-05-21-100000.mdb' "
                 u"adıyla saklandı. Kütüphane Takip programını şimdi başlatabilirsiniz."_s);
        QVERIFY(!QFileInfo::exists(dir + u"/DATA-yeni.mdb"_s));
        QCOMPARE(testsupport::fileRows(dir + u"/DATA.mdb"_s, u"select count(*) from hareket"_s),
                 (QList<QStringList>{{u"3"_s}}));
        QCOMPARE(testsupport::fileRows(dir + u"/DATA-eski-2026-05-21-100000.mdb"_s,
                                       u"select count(*) from hareket"_s),
                 (QList<QStringList>{{u"7"_s}}));
    }

#ifndef Q_OS_WIN
    void importPageCancelStopsTheToolAndLeavesNothing() {
        // A stand-in for the tool that starts like it and then keeps working. Its temporary
        // file is made before it says how far it has come, as the tool's is: the test looks for
        // the file once the page shows that line.
        QTemporaryDir bin;
        const QString tool = bin.filePath(u"ternavolk-db"_s);
        {
            QFile f(tool);
            QVERIFY(f.open(QIODevice::WriteOnly));
            // The file first, then the lines the page waits for: the test looks for the file
            // once it has seen them.
            f.write("#!/bin/sh\n: > \"$3.import-0123abcd\"\necho '{\"event\":\"start\"}'\n"
                    "echo '{\"event\":\"progress\",\"table\":\"okuyucu\",\"rows\":5000}'\n"
                    "exec sleep 60\n");
        }
        QFile::setPermissions(tool, QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                        QFileDevice::WriteOwner);
        araclar::Context c = context();
        c.toolPath = tool;
        araclar::MainWindow w(c);
        araclar::ImportPage* page = w.import;
        page->oldEdit->setText(db->filePath());
        QTest::mouseClick(page->startButton, Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(page->stateLabel->text(),
                                  u"Okuyucular (okuyucu): şimdiye kadar 5.000 satır okundu…"_s,
                                  30000);
        QVERIFY(page->cancelButton->isEnabled());
        QVERIFY(QFileInfo::exists(db->directory() + u"/DATA-yeni.mdb.import-0123abcd"_s));
        QTest::mouseClick(page->cancelButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!page->running(), 30000);
        QCOMPARE(page->stateLabel->text(), u"Aktarma iptal edildi; yeni dosya oluşturulmadı."_s);
        QCOMPARE(page->progress->value(), 0);
        QVERIFY(!QFileInfo::exists(db->directory() + u"/DATA-yeni.mdb.import-0123abcd"_s));
        QCOMPARE(dialogs->texts(), QStringList{});
        QCOMPARE(db->count(u"hareket"_s), 7);
    }
#endif
};

QTEST_MAIN(PagesTest)
#include "tst_pages.moc"
