// The companion's "Listeden Aktar" page driven as a librarian would: the class lists of a first
// school year and of the next one, a book spreadsheet with a column matched by hand, and the
// lists it refuses, the cancels and the locked file, after each of which nothing is written.

#include "araclar/checkedrows.h"
#include "araclar/context.h"
#include "araclar/listimportpage.h"
#include "araclar/listpanel.h"
#include "araclar/mainwindow.h"
#include "data/sqlite.h"
#include "support/companionpages.h"
#include "support/scriptedchoosers.h"
#include "support/scripteddialogs.h"
#include "support/tempdatabase.h"
#include "support/typing.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using araclar::ListPanel;
using platform::Answer;
using testsupport::child;
using testsupport::shownRows;

namespace {

QString sample(const QString& name) {
    return QStringLiteral(TERNAVOLK_LISTS_DATA) + u'/' + name;
}

QStringList tabTexts(const QTabWidget* tabs) {
    QStringList out;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->isTabVisible(i))
            out << tabs->tabText(i);
    return out;
}

const QString school = u"ATATÜRK ANADOLU LİSESİ"_s;
const QString readersSql = u"select ADISOYADI, OGRENIMDURUMU, OKULU, NUMARASI, UNVANI, TELEFONU "
                           u"from okuyucu order by IDNO"_s;

} // namespace

class ListImportPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempDatabase> db;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    std::unique_ptr<testsupport::ScriptedChoosers> choosers;
    std::unique_ptr<QTemporaryDir> settingsDir;

    araclar::Context context() {
        araclar::Context c =
            araclar::contextFor(db->executablePath(), settingsDir->filePath(u"araclar.ini"_s));
        c.now = [] { return QDateTime(QDate(2026, 5, 21), QTime(10, 0)); };
        c.toolPath = QStringLiteral(TERNAVOLK_DB_TOOL);
        return c;
    }

    void addFiles(araclar::ListImportPage* page, const QStringList& names) {
        for (const QString& n : names) {
            choosers->answers.push_back(sample(n));
            QTest::mouseClick(child<QPushButton>(page, u"addFileButton"_s), Qt::LeftButton);
        }
    }

private slots:
    void init() {
        db = std::make_unique<testsupport::TempDatabase>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
        choosers = std::make_unique<testsupport::ScriptedChoosers>();
        settingsDir = std::make_unique<QTemporaryDir>();
        db->insert(u"okuyucu"_s,
                   {u"ADISOYADI"_s, u"OGRENIMDURUMU"_s, u"OKULU"_s, u"NUMARASI"_s, u"TELEFONU"_s},
                   {u"BAŞKA ÖĞRENCİ"_s, u"5/A"_s, u"GAZİ LİSESİ"_s, u"9001"_s, u"0312 222"_s});
    }
    void cleanup() {
        choosers.reset();
        dialogs.reset();
        db.reset();
        settingsDir.reset();
    }

    void readersOfAYearAndOfTheNext() {
        araclar::MainWindow w(context());
        w.show();
        auto* page = child<araclar::ListImportPage>(&w, u"listImportPage"_s);
        QCOMPARE(w.pages->tabText(w.pages->indexOf(page)), u"Listeden Aktar"_s);
        QVERIFY(page->readersRadio->isChecked());
        QCOMPARE(page->schoolEdit->accessibleName(), u"Okulun adı"_s);
        QVERIFY(!page->importButton->isEnabled());

        addFiles(page, {u"eokul_9.XLS"_s, u"eokul_10.XLS"_s});
        QCOMPARE(page->files(), (QStringList{sample(u"eokul_9.XLS"_s), sample(u"eokul_10.XLS"_s)}));
        QCOMPARE(choosers->captions, (QStringList{u"Liste Dosyası"_s, u"Liste Dosyası"_s}));
        page->schoolEdit->setFocus();
        testsupport::typeText(page->schoolEdit, school);
        QTest::mouseClick(page->previewButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(), QStringList{});
        QCOMPARE(choosers->tasks, QStringList{u"Listeler okunuyor…"_s});
        QCOMPARE(page->summaryLabel->text(),
                 u"ATATÜRK ANADOLU LİSESİ: 2 dosya, 9 öğrenci, 4 sınıf.\nYeni okuyucu: 9 · Sınıfı "
                 u"değişen: 0 · Değişmeyen: 0 · Adı farklı: 0 · Listelerde olmayan (ayrılan): 0 · "
                 u"Atlanan: 0 · Sorunlu satır: 0"_s);
        QCOMPARE(
            tabTexts(page->results),
            (QStringList{u"Yeni (9)"_s, u"Sınıfı Değişen (0)"_s, u"Değişmeyen (0)"_s,
                         u"Ad Farkı (0)"_s, u"Ayrılan (0)"_s, u"Atlanan (0)"_s, u"Sorunlu (0)"_s}));
        QCOMPARE(shownRows(page->addedList),
                 (QStringList{u"9001|AYŞE YILMAZ|9/A|eokul_9.XLS|5"_s,
                              u"9002|MEHMET ÖZTÜRK|9/A|eokul_9.XLS|6"_s,
                              u"9003|ZEYNEP ÇELİK|9/A|eokul_9.XLS|7"_s,
                              u"9010|ALİ KAYA|9/Ç|eokul_9.XLS|18"_s,
                              u"9011|İREM ŞAHİN|9/Ç|eokul_9.XLS|19"_s,
                              u"1001|ELİF NUR DEMİR|10/I|eokul_10.XLS|5"_s,
                              u"1002|IŞIL AKSOY|10/I|eokul_10.XLS|6"_s,
                              u"1010|İSMAİL GÜNEŞ|10/İ|eokul_10.XLS|17"_s,
                              u"1011|ŞEVVAL ÖZ|10/İ|eokul_10.XLS|18"_s}));
        QCOMPARE(db->count(u"okuyucu"_s), 1); // nothing before "Aktar"
        QVERIFY(page->importButton->isEnabled());

        dialogs->answerNext(Answer::Yes);
        QTest::mouseClick(page->importButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(),
                 (QStringList{u"9 yeni okuyucu eklenecek, 0 okuyucunun sınıfı değişecek, 0 "
                              u"okuyucunun adı listedeki gibi olacak, 0 okuyucu \"Ayrıldı\" olarak "
                              u"işaretlenecek.\n\nAktarılsın mı?"_s,
                              u"Aktarıldı: 9 yeni okuyucu eklendi, 0 okuyucunun sınıfı değişti, 0 "
                              u"okuyucunun adı değişti, 0 okuyucu \"Ayrıldı\" olarak işaretlendi. "
                              u"Kütüphane Takip programı açıksa yeni kayıtları bir sonraki "
                              u"aramada gösterir."_s}));
        QCOMPARE(dialogs->shown()[0].defaultAnswer, Answer::No);
        QCOMPARE(db->count(u"okuyucu"_s), 10);
        QVERIFY(!page->importButton->isEnabled());
        QCOMPARE(QSettings(settingsDir->filePath(u"araclar.ini"_s), QSettings::IniFormat)
                     .value(context().libraryKey(u"listeler/okul"_s))
                     .toString(),
                 school);

        // The next school year; a pupil leaving holds a book.
        db->insert(u"hareket"_s,
                   {u"O_ADI_SOYADI"_s, u"ADIGIKITAP"_s, u"TESLIMTARIHI"_s, u"GERIGETIRMETARIHI"_s,
                    u"DURUM"_s},
                   {u"ZEYNEP ÇELİK"_s, u"BEYAZ DİŞ"_s, u"2026-03-01 16:15:25.890"_s,
                    u"2026-03-21 16:15:25.890"_s, u"Verildi"_s});
        dialogs->clear();
        QTest::mouseClick(child<QPushButton>(page, u"clearFilesButton"_s), Qt::LeftButton);
        addFiles(page, {u"eokul_2027.xls"_s});
        QTest::mouseClick(page->previewButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(), QStringList{});
        QCOMPARE(
            tabTexts(page->results),
            (QStringList{u"Yeni (2)"_s, u"Sınıfı Değişen (5)"_s, u"Değişmeyen (1)"_s,
                         u"Ad Farkı (1)"_s, u"Ayrılan (2)"_s, u"Atlanan (0)"_s, u"Sorunlu (0)"_s}));
        QCOMPARE(shownRows(page->movedList).first(),
                 u"9001|AYŞE YILMAZ|9/A|10/A|eokul_2027.xls|5"_s);
        QCOMPARE(shownRows(page->unchangedList), QStringList{u"1002|IŞIL AKSOY|10/I"_s});
        QCOMPARE(shownRows(page->conflictList),
                 QStringList{u"9011|İREM ŞAHİN|İREM ŞAHİNOĞLU|10/Ç||eokul_2027.xls|18"_s});
        QCOMPARE(shownRows(page->leavingList),
                 (QStringList{u"9003|ZEYNEP ÇELİK|9/A|BEYAZ DİŞ (son gün 21.03.2026)"_s,
                              u"1011|ŞEVVAL ÖZ|10/İ|"_s}));

        // The leaving list for the class teachers, as Excel opens it.
        QTemporaryDir out;
        choosers->answers.push_back(out.filePath(u"ayrilanlar.csv"_s));
        QTest::mouseClick(child<QPushButton>(page->leavingList, u"AyrılanCsv"_s), Qt::LeftButton);
        QFile csv(out.filePath(u"ayrilanlar.csv"_s));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QCOMPARE(csv.readAll(), "\xEF\xBB\xBF"_ba + u"Numarası;Adı Soyadı;Sınıfı;Dışarıdaki "
                                                    u"Kitaplar\r\n9003;ZEYNEP ÇELİK;9/A;BEYAZ DİŞ "
                                                    u"(son gün 21.03.2026)\r\n1011;ŞEVVAL ÖZ;10/İ;"
                                                    u"\r\n"_s.toUtf8());

        // The librarian takes the list's name and marks the one who left with the book.
        QTableView* conflicts = page->conflictList->view();
        QCOMPARE(conflicts->model()->flags(conflicts->model()->index(0, 0)) &
                     Qt::ItemIsUserCheckable,
                 Qt::ItemIsUserCheckable);
        QVERIFY(conflicts->model()->setData(conflicts->model()->index(0, 0), Qt::Checked,
                                            Qt::CheckStateRole));
        QTest::mouseClick(child<QPushButton>(page, u"AyrılanAll"_s), Qt::LeftButton);
        page->markedLeft->setChecked(1, false);
        QCOMPARE(page->markedLeft->checkedRows(), std::vector<int>{0});
        dialogs->answerNext(Answer::Yes);
        QTest::mouseClick(page->importButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts().last(),
                 u"Aktarıldı: 2 yeni okuyucu eklendi, 5 okuyucunun sınıfı değişti, 1 okuyucunun "
                 u"adı değişti, 1 okuyucu \"Ayrıldı\" olarak işaretlendi. Kütüphane Takip "
                 u"programı açıksa yeni kayıtları bir sonraki aramada gösterir."_s);
        const QString a = school, o = u"Öğrenci"_s, n = u"<null>"_s;
        QCOMPARE(db->rows(readersSql),
                 (std::vector<QStringList>{
                     {u"BAŞKA ÖĞRENCİ"_s, u"5/A"_s, u"GAZİ LİSESİ"_s, u"9001"_s, n, u"0312 222"_s},
                     {u"AYŞE YILMAZ"_s, u"10/A"_s, a, u"9001"_s, o, n},
                     {u"MEHMET ÖZTÜRK"_s, u"10/A"_s, a, u"9002"_s, o, n},
                     {u"ZEYNEP ÇELİK"_s, u"Ayrıldı"_s, a, u"9003"_s, o, n},
                     {u"ALİ KAYA"_s, u"10/Ç"_s, a, u"9010"_s, o, n},
                     {u"İREM ŞAHİNOĞLU"_s, u"10/Ç"_s, a, u"9011"_s, o, n},
                     {u"ELİF NUR DEMİR"_s, u"11/I"_s, a, u"1001"_s, o, n},
                     {u"IŞIL AKSOY"_s, u"10/I"_s, a, u"1002"_s, o, n},
                     {u"İSMAİL GÜNEŞ"_s, u"11/İ"_s, a, u"1010"_s, o, n},
                     {u"ŞEVVAL ÖZ"_s, u"10/İ"_s, a, u"1011"_s, o, n},
                     {u"YUSUF ARSLAN"_s, u"9/B"_s, a, u"9101"_s, o, n},
                     {u"DEFNE KOÇ"_s, u"9/B"_s, a, u"9102"_s, o, n}}));
    }

    void booksWithAColumnMatchedByHand() {
        araclar::MainWindow w(context());
        w.show();
        auto* page = child<araclar::ListImportPage>(&w, u"listImportPage"_s);
        db->insert(u"kitapkayit"_s, {u"SERINO"_s, u"KITABINADI"_s}, {u"100"_s, u"ÇALIKUŞU"_s});
        QTest::mouseClick(page->booksRadio, Qt::LeftButton);
        QVERIFY(!page->schoolEdit->isEnabled());
        addFiles(page, {u"kitaplar.xlsx"_s});
        QTest::mouseClick(page->previewButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(), QStringList{});
        QCOMPARE(tabTexts(page->results),
                 (QStringList{u"Yeni (4)"_s, u"Atlanan (3)"_s, u"Sorunlu (4)"_s}));
        QCOMPARE(page->summaryLabel->text(),
                 u"1 dosya.\nYeni kitap: 4 · Atlanan: 3 · Sorunlu satır: 4 · Fiyatı aşağı, tam "
                 u"liraya yuvarlanan: 3"_s);
        auto* description = child<QComboBox>(page, u"columnACIKLAMA"_s);
        QCOMPARE(description->accessibleName(), u"İçerik (Konusu)"_s);
        QCOMPARE(description->currentText(), u"Açıklama"_s);
        QCOMPARE(child<QComboBox>(page, u"columnBASKITARIHI"_s)->currentText(), u"(alınmasın)"_s);
        QCOMPARE(shownRows(page->skippedList),
                 (QStringList{u"kitaplar.xlsx|6|2|BEYAZ DİŞ|bu kitap numarası listelerde daha "
                              u"önce geçti ('kitaplar.xlsx' satır 5); atlandı"_s,
                              u"kitaplar.xlsx|7|100|ÇALIKUŞU|bu kitap numarası kayıtlarda zaten "
                              u"var; atlandı"_s,
                              u"kitaplar.xlsx|9||İNCE MEMED|barkodu (8690000000001) listelerde "
                              u"daha önce geçti ('kitaplar.xlsx' satır 8); atlandı"_s}));
        QCOMPARE(shownRows(page->problemList).mid(1),
                 (QStringList{u"kitaplar.xlsx|11|8|NUTUK|Değeri: 'bedava' bir fiyat değil; "
                              u"alınmadı"_s,
                              u"kitaplar.xlsx|12|9|KUYUCAKLI YUSUF|Değeri: '3000000000' "
                              u"kayıtların tutabileceğinden büyük; alınmadı"_s,
                              u"kitaplar.xlsx|13|10|TUTUNAMAYANLAR|Edinme Tarihi: '31.02.2024' "
                              u"bir tarih değil; alınmadı"_s}));

        // "Açıklama" left out, and the price column taken from "Baskı No" (by mistake, then
        // back): each choice plans again from the cells already read.
        description->setCurrentIndex(0);
        auto* price = child<QComboBox>(page, u"columnDEGERI"_s);
        price->setCurrentIndex(price->findText(u"Baskı No"_s));
        QCOMPARE(tabTexts(page->results),
                 (QStringList{u"Yeni (6)"_s, u"Atlanan (3)"_s, u"Sorunlu (2)"_s}));
        price->setCurrentIndex(price->findText(u"Fiyatı"_s));
        QCOMPARE(tabTexts(page->results),
                 (QStringList{u"Yeni (4)"_s, u"Atlanan (3)"_s, u"Sorunlu (4)"_s}));
        QCOMPARE(shownRows(page->addedList).first(),
                 u"kitaplar.xlsx|4|1|SEFİLLER|VICTOR HUGO|ROMAN|İŞ BANKASI|9789754588248|Bağış|"
                 u"25|15.09.2024||İSTANBUL|2019|3|"_s);

        dialogs->answerNext(Answer::Yes);
        QTest::mouseClick(page->importButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(),
                 (QStringList{u"4 yeni kitap eklenecek.\n\nAktarılsın mı?"_s,
                              u"Aktarıldı: 4 yeni kitap eklendi. Kütüphane Takip programı açıksa "
                              u"yeni kayıtları bir sonraki aramada gösterir."_s}));
        QCOMPARE(db->rows(u"select SERINO, KITABINADI, DEGERI, EDINMETARIHI, ACIKLAMA from "
                          u"kitapkayit order by IDNO"_s),
                 (std::vector<QStringList>{
                     {u"100"_s, u"ÇALIKUŞU"_s, u"<null>"_s, u"<null>"_s, u"<null>"_s},
                     {u"1"_s, u"SEFİLLER"_s, u"25"_s, u"2024-09-15 00:00:00.000"_s, u"<null>"_s},
                     {u"2"_s, u"BEYAZ DİŞ"_s, u"25"_s, u"2024-09-15 00:00:00.000"_s, u"<null>"_s},
                     {u"<null>"_s, u"İNCE MEMED"_s, u"40"_s, u"<null>"_s, u"<null>"_s},
                     {u"12"_s, u"KÜRK MANTOLU MADONNA"_s, u"1250"_s, u"2024-07-27 00:00:00.000"_s,
                      u"<null>"_s}}));
    }

    // A refused list, a missing school, a cancel while reading and while writing, and a file
    // locked by another computer: each says why in Turkish and writes nothing.
    void nothingIsWrittenWhenAListIsRefusedOrTheWorkStops() {
        araclar::MainWindow w(context());
        w.show();
        auto* page = child<araclar::ListImportPage>(&w, u"listImportPage"_s);
        const std::vector<QStringList> before = db->rows(readersSql);

        QTest::mouseClick(page->previewButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(),
                 QStringList{u"Aktarılacak liste seçilmedi. Önce \"Dosya Ekle…\" ya da "
                             u"\"Klasördekileri Ekle…\" ile listeleri seçin."_s});
        dialogs->clear();
        addFiles(page, {u"eokul_9.XLS"_s, u"sifreli.xls"_s});
        QTest::mouseClick(page->previewButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(), QStringList{u"Okulun adını yazın: öğrenciler okullarına ve "
                                               u"numaralarına göre eşleştirilir."_s});
        dialogs->clear();
        page->schoolEdit->setText(school);
        QTest::mouseClick(page->previewButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(),
                 QStringList{u"'sifreli.xls' parolayla korunuyor. Excel'de açıp parolasız "
                             u"kaydedin (Dosya, Bilgi, Çalışma Kitabını Koru), sonra yeniden "
                             u"deneyin. Hiçbir şey yazılmadı."_s});
        QCOMPARE(page->stateLabel->text(), u"Önizleme yapılamadı."_s);
        QVERIFY(!page->importButton->isEnabled());
        dialogs->clear();

        page->fileList->setCurrentRow(1);
        QTest::mouseClick(child<QPushButton>(page, u"removeFileButton"_s), Qt::LeftButton);
        QCOMPARE(page->files(), QStringList{sample(u"eokul_9.XLS"_s)});
        choosers->cancelAtStep = choosers->stepsTaken + 1;
        QTest::mouseClick(page->previewButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(), QStringList{});
        QCOMPARE(page->stateLabel->text(), u"Önizleme iptal edildi; hiçbir şey yazılmadı."_s);
        QVERIFY(!page->importButton->isEnabled());

        QTest::mouseClick(page->previewButton, Qt::LeftButton);
        QVERIFY(page->importButton->isEnabled());
        choosers->cancelAtStep = choosers->stepsTaken + 3;
        dialogs->answerNext(Answer::Yes);
        QTest::mouseClick(page->importButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts().size(), 1); // the question only
        QCOMPARE(page->stateLabel->text(), u"Aktarma iptal edildi; hiçbir şey yazılmadı."_s);
        QCOMPARE(db->rows(readersSql), before);

        // Another computer holds the file while it saves.
        dialogs->clear();
        db->release();
        data::sqlite::Database other(db->filePath(), data::sqlite::Database::Mode::ReadWrite);
        other.execute(u"BEGIN IMMEDIATE"_s);
        dialogs->answerNext(Answer::Yes);
        QTest::mouseClick(page->importButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts().size(), 2);
        QVERIFY2(dialogs->texts()[1].contains(u"DATA.mdb' şu anda kullanımda: Kütüphane Takip "
                                              u"programı ya da başka bir program ona yazıyor."_s),
                 qPrintable(dialogs->texts()[1]));
        QCOMPARE(page->stateLabel->text(), u"Aktarılamadı; hiçbir şey yazılmadı."_s);
        other.execute(u"ROLLBACK"_s);
        QCOMPARE(db->rows(readersSql), before);
    }
};

QTEST_MAIN(ListImportPageTest)
#include "tst_listimportpage.moc"
