// The companion's "Ödünç Masası", "Etiket ve Kart" and "Ödünç Kuralları" pages over a temporary
// DATA.mdb, driven from the keyboard alone as a librarian with a scanner would: what each scan
// writes, what the desk says and shows, and where the focus stays.

#include "araclar/context.h"
#include "araclar/deskpage.h"
#include "araclar/desksettings.h"
#include "araclar/labelspage.h"
#include "araclar/mainwindow.h"
#include "araclar/rulespage.h"
#include "data/sqlite.h"
#include "platform/beep.h"
#include "support/scriptedchoosers.h"
#include "support/scripteddialogs.h"
#include "support/tempdatabase.h"
#include "support/typing.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class DeskPageTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::TempDatabase> db;
    std::unique_ptr<testsupport::ScriptedDialogs> dialogs;
    std::unique_ptr<testsupport::ScriptedChoosers> choosers;
    std::unique_ptr<QTemporaryDir> settingsDir;

    araclar::Context context() {
        araclar::Context c =
            araclar::contextFor(db->executablePath(), settingsDir->filePath(u"araclar.ini"_s));
        c.now = [] { return QDateTime(QDate(2026, 5, 21), QTime(10, 0)); };
        return c;
    }

    void seed() {
        const QStringList r{u"ADISOYADI"_s, u"OGRENIMDURUMU"_s, u"OKULU"_s,
                            u"NUMARASI"_s,  u"UNVANI"_s,        u"CEPTELEFONU"_s};
        db->insert(
            u"okuyucu"_s, r,
            {u"ÇAĞRI ŞAHİN"_s, u"10/A"_s, u"GAZİ LİSESİ"_s, u"123"_s, u"Öğrenci"_s, u"0555 1"_s});
        db->insert(u"okuyucu"_s, r,
                   {u"MERVE IŞIK"_s, u"ÜNİVERSİTE"_s, u"GAZİ LİSESİ"_s, QVariant(), u"ÖĞRETMEN"_s,
                    QVariant()});
        db->insert(u"okuyucu"_s, r,
                   {u"ELİF KAYA"_s, u"9/B"_s, u"GAZİ LİSESİ"_s, u"77"_s, u"Öğrenci"_s, QVariant()});
        db->insert(
            u"okuyucu"_s, r,
            {u"ALİ VELİ"_s, u"5/C"_s, u"İNÖNÜ ORTAOKULU"_s, u"77"_s, u"Öğrenci"_s, QVariant()});
        const QStringList b{u"KITABINADI"_s, u"YAZARI"_s, u"TURU"_s, u"BARKODU"_s};
        db->insert(u"kitapkayit"_s, b,
                   {u"BEYAZ DİŞ"_s, u"JACK LONDON"_s, u"Roman"_s, u"200000000001"_s});
        db->insert(u"kitapkayit"_s, b,
                   {u"SEFİLLER"_s, u"VICTOR HUGO"_s, u"Roman"_s, u"200000000002"_s});
        db->insert(u"kitapkayit"_s, b,
                   {u"SEFİLLER"_s, u"VICTOR HUGO"_s, u"Roman"_s, u"200000000003"_s});
        db->insert(u"kitapkayit"_s, b,
                   {u"TÜRKÇE SÖZLÜK"_s, u"TDK"_s, u"Sözlük"_s, u"200000000004"_s});
        db->insert(u"kitapkayit"_s, b, {u"NUTUK"_s, u"ATATÜRK"_s, u"Tarih"_s, QVariant()});
        const QStringList h{u"O_ADI_SOYADI"_s, u"ADIGIKITAP"_s, u"TESLIMTARIHI"_s,
                            u"GERIGETIRMETARIHI"_s, u"DURUM"_s};
        db->insert(u"hareket"_s, h,
                   {u"MERVE IŞIK"_s, u"SEFİLLER"_s, u"2026-05-10 09:00:00.000"_s,
                    u"2026-05-25 09:00:00.000"_s, u"Verildi"_s});
        db->insert(u"hareket"_s, h,
                   {u"ELİF KAYA"_s, u"SEFİLLER"_s, u"2026-05-01 09:00:00.000"_s,
                    u"2026-05-16 09:00:00.000"_s, u"Verildi"_s});
    }

    // Runs a librarian's keys on the page: "TEXT⏎" types and presses Enter, "F2", "F3", "F9",
    // "Esc", "^Z", "↓", "⏎" press that key, "sql:..." is another copy of the program writing.
    void play(araclar::DeskPage* page, const QStringList& script) {
        for (const QString& step : script) {
            QWidget* target = QApplication::focusWidget();
            QVERIFY2(target == page->scanEdit,
                     qPrintable(u"the focus left the input before "_s + step));
            if (step.startsWith(u"sql:"_s))
                db->exec(step.mid(4));
            else if (step == u"F2"_s)
                QTest::keyClick(target, Qt::Key_F2);
            else if (step == u"F3"_s)
                QTest::keyClick(target, Qt::Key_F3);
            else if (step == u"F9"_s)
                QTest::keyClick(target, Qt::Key_F9);
            else if (step == u"Esc"_s)
                QTest::keyClick(target, Qt::Key_Escape);
            else if (step == u"^Z"_s)
                QTest::keyClick(target, Qt::Key_Z, Qt::ControlModifier);
            else if (step == u"↓"_s)
                QTest::keyClick(target, Qt::Key_Down);
            else if (step == u"⏎"_s)
                QTest::keyClick(target, Qt::Key_Return);
            else {
                testsupport::typeText(target, step.chopped(1));
                QTest::keyClick(target, Qt::Key_Return);
            }
        }
    }

private slots:
    void init() {
        db = std::make_unique<testsupport::TempDatabase>();
        dialogs = std::make_unique<testsupport::ScriptedDialogs>();
        choosers = std::make_unique<testsupport::ScriptedChoosers>();
        settingsDir = std::make_unique<QTemporaryDir>();
        seed();
    }
    void cleanup() {
        choosers.reset();
        dialogs.reset();
        db.reset();
        settingsDir.reset();
    }

    void scansAtTheDesk_data() {
        QTest::addColumn<QStringList>("script");
        QTest::addColumn<QStringList>("loans"); // IDNO|reader|telephone|book|due|status
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("warning"); // empty: none shown
        QTest::addColumn<int>("beeps");
        const QString merve = u"1|MERVE IŞIK|<null>|SEFİLLER|2026-05-25 09:00:00.000|Verildi"_s;
        const QString elif = u"2|ELİF KAYA|<null>|SEFİLLER|2026-05-16 09:00:00.000|Verildi"_s;
        const QString lent = u"3|ÇAĞRI ŞAHİN|0555 1|BEYAZ DİŞ|2026-06-05 10:00:00.000|Verildi"_s;
        QTest::newRow("a card, then a book: lent")
            << QStringList{u"123⏎"_s, u"200000000001⏎"_s} << QStringList{merve, elif, lent}
            << u"BEYAZ DİŞ, ÇAĞRI ŞAHİN adına verildi. Son teslim günü: 05.06.2026."_s << u""_s
            << 0;
        QTest::newRow("a book before any card")
            << QStringList{u"200000000001⏎"_s} << QStringList{merve, elif} << u""_s
            << u"Önce okuyucunun kartını okutun (ya da adını yazıp seçin), sonra kitabı."_s << 1;
        QTest::newRow("a dictionary stops with a warning")
            << QStringList{u"123⏎"_s, u"200000000004⏎"_s} << QStringList{merve, elif}
            << u"Okuyucu: ÇAĞRI ŞAHİN. Vereceğiniz kitapları okutun."_s
            << u"TÜRKÇE SÖZLÜK verilmedi. Bu kitap ödünç verilmez: türü \"Sözlük\". Yine de "
               u"vermek için F9'a, vazgeçmek için Esc'ye basın."_s
            << 1;
        QTest::newRow("F9 lends the dictionary all the same")
            << QStringList{u"123⏎"_s, u"200000000004⏎"_s, u"F9"_s}
            << QStringList{merve, elif,
                           u"3|ÇAĞRI ŞAHİN|0555 1|TÜRKÇE SÖZLÜK|2026-06-05 10:00:00.000|Verildi"_s}
            << u"TÜRKÇE SÖZLÜK, ÇAĞRI ŞAHİN adına verildi. Son teslim günü: 05.06.2026."_s << u""_s
            << 1;
        QTest::newRow("Esc drops the stopped loan")
            << QStringList{u"123⏎"_s, u"200000000004⏎"_s, u"Esc"_s, u"F9"_s}
            << QStringList{merve, elif} << u"Onaylanacak bir uyarı yok."_s << u""_s << 1;
        QTest::newRow("a late book stops the next; F9 lends past it")
            << QStringList{u"77⏎"_s, u"⏎"_s, u"200000000001⏎"_s, u"F9"_s}
            << QStringList{merve, elif,
                           u"3|ELİF KAYA|<null>|BEYAZ DİŞ|2026-06-05 10:00:00.000|Verildi"_s}
            << u"BEYAZ DİŞ, ELİF KAYA adına verildi. Son teslim günü: 05.06.2026."_s << u""_s << 2;
        QTest::newRow("a number of two readers: the second chosen")
            << QStringList{u"77⏎"_s, u"↓"_s, u"⏎"_s} << QStringList{merve, elif}
            << u"Okuyucu: ALİ VELİ. Vereceğiniz kitapları okutun."_s << u""_s << 1;
        QTest::newRow("a name typed by hand")
            << QStringList{u"çağrı⏎"_s, u"200000000001⏎"_s} << QStringList{merve, elif, lent}
            << u"BEYAZ DİŞ, ÇAĞRI ŞAHİN adına verildi. Son teslim günü: 05.06.2026."_s << u""_s
            << 0;
        QTest::newRow("the desk's card code of a teacher")
            << QStringList{u"K2⏎"_s, u"200000000001⏎"_s}
            << QStringList{merve, elif,
                           u"3|MERVE IŞIK|<null>|BEYAZ DİŞ|2026-06-05 10:00:00.000|Verildi"_s}
            << u"BEYAZ DİŞ, MERVE IŞIK adına verildi. Son teslim günü: 05.06.2026."_s << u""_s << 0;
        QTest::newRow("Ctrl+Z takes the loan back")
            << QStringList{u"123⏎"_s, u"200000000001⏎"_s, u"^Z"_s} << QStringList{merve, elif}
            << u"Geri çevrildi: ÇAĞRI ŞAHİN adına verilen BEYAZ DİŞ kaydı silindi."_s << u""_s << 0;
        QTest::newRow("Ctrl+Z after the program changed that loan changes nothing")
            << QStringList{u"123⏎"_s, u"200000000001⏎"_s,
                           u"sql:update hareket set ACIKLAMA = 'yırtık' where IDNO = 3"_s, u"^Z"_s}
            << QStringList{merve, elif, lent}
            << u"BEYAZ DİŞ, ÇAĞRI ŞAHİN adına verildi. Son teslim günü: 05.06.2026."_s
            << u"Geri çevrilemedi: kayıt bu arada başka bir yerden değiştirilmiş. Hiçbir şey "
               u"değiştirilmedi."_s
            << 1;
        QTest::newRow("a return from the only holder")
            << QStringList{u"123⏎"_s, u"200000000001⏎"_s, u"F3"_s, u"200000000001⏎"_s}
            << QStringList{merve, elif,
                           u"3|ÇAĞRI ŞAHİN|0555 1|BEYAZ DİŞ|2026-06-05 10:00:00.000|Geri Alindi"_s}
            << u"BEYAZ DİŞ geri alındı (ÇAĞRI ŞAHİN). Süresinde getirildi."_s << u""_s << 0;
        QTest::newRow("several holders: the second picked, late")
            << QStringList{u"F3"_s, u"200000000003⏎"_s, u"↓"_s, u"⏎"_s}
            << QStringList{merve,
                           u"2|ELİF KAYA|<null>|SEFİLLER|2026-05-16 09:00:00.000|Geri Alindi"_s}
            << u"SEFİLLER geri alındı (ELİF KAYA). 5 gün gecikti."_s << u""_s << 0;
        QTest::newRow("a return taken back with Ctrl+Z")
            << QStringList{u"F3"_s, u"200000000002⏎"_s, u"⏎"_s, u"^Z"_s} << QStringList{merve, elif}
            << u"Geri çevrildi: SEFİLLER yeniden MERVE IŞIK adına dışarıda."_s << u""_s << 0;
        QTest::newRow("a card in Geri Al lists what its reader holds")
            << QStringList{u"F3"_s, u"K2⏎"_s, u"⏎"_s}
            << QStringList{u"1|MERVE IŞIK|<null>|SEFİLLER|2026-05-25 09:00:00.000|Geri Alindi"_s,
                           elif}
            << u"SEFİLLER geri alındı (MERVE IŞIK). Süresinde getirildi."_s << u""_s << 0;
        QTest::newRow("a book that is not out")
            << QStringList{u"F3"_s, u"200000000004⏎"_s} << QStringList{merve, elif} << u""_s
            << u"\"TÜRKÇE SÖZLÜK\" dışarıda görünmüyor: bu adla geri getirilmemiş bir ödünç "
               u"kaydı yok."_s
            << 1;
        QTest::newRow("a code of nothing")
            << QStringList{u"999⏎"_s} << QStringList{merve, elif} << u""_s
            << u"\"999\" ile bulunan okuyucu ya da kitap yok."_s << 1;
    }
    void scansAtTheDesk() {
        QFETCH(QStringList, script);
        QFETCH(QStringList, loans);
        QFETCH(QString, message);
        QFETCH(QString, warning);
        QFETCH(int, beeps);
        araclar::MainWindow w(context());
        w.pages->setCurrentWidget(w.desk);
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        araclar::DeskPage* page = w.desk;
        QTRY_COMPARE(QApplication::focusWidget(), page->scanEdit);
        const int beepsBefore = platform::beepCount();
        play(page, script);
        QStringList stored;
        for (const QStringList& r :
             db->rows(u"select IDNO, O_ADI_SOYADI, TELEFONU, ADIGIKITAP, GERIGETIRMETARIHI, DURUM "
                      u"from hareket order by IDNO"_s))
            stored << r.join(u'|');
        QCOMPARE(stored, loans);
        QCOMPARE(page->messageLabel->text(), message);
        QCOMPARE(page->warningLabel->isVisible() ? page->warningLabel->text() : QString(), warning);
        QCOMPARE(platform::beepCount() - beepsBefore, beeps);
        QCOMPARE(QApplication::focusWidget(), page->scanEdit);
        QCOMPARE(dialogs->texts(), QStringList{});
    }

    void theDeskShowsTheReaderAndSwitchesModes() {
        araclar::MainWindow w(context());
        w.pages->setCurrentWidget(w.desk);
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        araclar::DeskPage* page = w.desk;
        QCOMPARE(page->modeLabel->text(), u"ÖDÜNÇ VER"_s);
        play(page, {u"77⏎"_s, u"⏎"_s});
        QCOMPARE(page->readerLabel->text(),
                 u"ELİF KAYA — 9/B, GAZİ LİSESİ, No: 77\nElinde 1 kitap var; 2 kitap daha "
                 u"alabilir. Geciken kitabı var: 1."_s);
        QCOMPARE(page->heldList->rowCount(), 1);
        QCOMPARE(page->heldList->item(0, 3)->text(), u"Gecikmiş (5 gün)"_s);
        QCOMPARE(page->currentReader(), std::optional<qint64>(3));
        play(page, {u"F3"_s});
        QCOMPARE(page->modeLabel->text(), u"GERİ AL"_s);
        QCOMPARE(page->mode(), araclar::DeskPage::Mode::Return);
        // Typing a title lists the books as it goes.
        testsupport::typeText(page->scanEdit, u"sefil"_s);
        QCOMPARE(page->choiceList->count(), 2);
        QCOMPARE(page->choiceList->item(0)->text(), u"1. SEFİLLER — VICTOR HUGO (200000000002)"_s);
        play(page, {u"Esc"_s, u"F2"_s, u"Esc"_s});
        QCOMPARE(page->currentReader(), std::nullopt);
        QCOMPARE(page->messageLabel->text(), u"Okuyucu bırakıldı."_s);
        // Every control is named for assistive technology and leaves the focus where it is.
        for (QWidget* c : page->findChildren<QWidget*>()) {
            if ((!qobject_cast<QPushButton*>(c) && !qobject_cast<QLineEdit*>(c) &&
                 !qobject_cast<QAbstractItemView*>(c)) ||
                qobject_cast<QHeaderView*>(c))
                continue;
            QVERIFY2(!c->accessibleName().isEmpty(), qPrintable(c->objectName()));
            if (c != page->scanEdit)
                QCOMPARE(c->focusPolicy(), Qt::NoFocus);
        }
        QCOMPARE(page->scanEdit->accessibleName(), u"Okutun ya da yazın"_s);
    }

    void aBusyFileSaysSoAndWritesNothing() {
        araclar::MainWindow w(context());
        w.pages->setCurrentWidget(w.desk);
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        play(w.desk, {u"123⏎"_s});
        data::sqlite::Database other(db->filePath(), data::sqlite::Database::Mode::ReadWrite);
        other.execute(u"BEGIN EXCLUSIVE"_s);
        play(w.desk, {u"200000000001⏎"_s});
        other.execute(u"ROLLBACK"_s);
        QVERIFY(w.desk->warningLabel->isVisible());
        QVERIFY2(w.desk->warningLabel->text().contains(u"şu anda kullanımda"_s),
                 qPrintable(w.desk->warningLabel->text()));
        QCOMPARE(db->count(u"hareket"_s), 2);
        // The same scan again goes through.
        play(w.desk, {u"200000000001⏎"_s});
        QCOMPARE(db->count(u"hareket"_s), 3);
    }

    void rulesAreKeptPerLibraryAndUsedAtTheNextScan() {
        araclar::MainWindow w(context());
        araclar::RulesPage* rules = w.rules;
        QCOMPARE(rules->loanDaysSpin->value(), 15);
        QCOMPARE(rules->pupilLimitSpin->value(), 3);
        QCOMPARE(rules->teacherLimitSpin->value(), 5);
        QCOMPARE(rules->kindsEdit->toPlainText(), u"Başvuru\nAnsiklopedi\nSözlük\nDergi"_s);
        QVERIFY(rules->lateBlocksCheck->isChecked());
        QCOMPARE(rules->loanDaysSpin->accessibleName(), u"Ödünç süresi"_s);
        rules->loanDaysSpin->setValue(7);
        rules->kindsEdit->setPlainText(u"Dergi\n\n  Atlas  \n"_s);
        rules->lateBlocksCheck->setChecked(false);
        QTest::mouseClick(rules->saveButton, Qt::LeftButton);
        QSettings s(settingsDir->filePath(u"araclar.ini"_s), QSettings::IniFormat);
        tools::desk::Rules expected;
        expected.loanDays = 7;
        expected.notLent = {u"Dergi"_s, u"Atlas"_s};
        expected.lateBlocks = false;
        QVERIFY(araclar::loadRules(s, context()) == expected);
        // Another library (another DATA.mdb) keeps the defaults.
        araclar::Context elsewhere = context();
        elsewhere.databasePath += u"-baska"_s;
        QVERIFY(araclar::loadRules(s, elsewhere) == tools::desk::Rules());

        w.pages->setCurrentWidget(w.desk);
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        play(w.desk, {u"77⏎"_s, u"⏎"_s, u"200000000004⏎"_s}); // late, a dictionary: both allowed
        QCOMPARE(db->rows(u"select GERIGETIRMETARIHI from hareket where IDNO = 3"_s),
                 (std::vector<QStringList>{{u"2026-05-28 10:00:00.000"_s}}));
        QTest::mouseClick(rules->defaultsButton, Qt::LeftButton);
        QCOMPARE(rules->loanDaysSpin->value(), 15);
    }

    void labelsPageGivesCodesAndWritesLabelsAndCards() {
        araclar::MainWindow w(context());
        w.startUp();
        araclar::LabelsPage* page = w.labels;
        QCOMPARE(page->libraryEdit->text(), u"GAZİ LİSESİ"_s);
        QCOMPARE(page->libraryEdit->accessibleName(), u"Etiketteki okul adı"_s);
        page->bookSearch->setText(u"nutuk"_s);
        QCOMPARE(page->bookList->count(), 1);
        page->bookList->item(0)->setCheckState(Qt::Checked);
        page->bookSearch->setText(u"beyaz"_s);
        page->bookList->item(0)->setCheckState(Qt::Checked);
        QTest::mouseClick(page->giveCodesButton, Qt::LeftButton);
        QCOMPARE(page->statusLabel->text(),
                 u"1 kitaba barkod verildi; 1 kitabın barkodu zaten vardı.\nNUTUK: 200000000005"_s);
        QCOMPARE(db->rows(u"select BARKODU from kitapkayit where IDNO = 5"_s),
                 (std::vector<QStringList>{{u"200000000005"_s}}));

        // A described sheet is remembered; the labels go into a PDF.
        page->sheetCombo->setCurrentIndex(2);
        page->columnsSpin->setValue(2);
        page->widthSpin->setValue(100);
        QSettings s(settingsDir->filePath(u"araclar.ini"_s), QSettings::IniFormat);
        QCOMPARE(araclar::loadCustomSheet(s, context()).columns, 2);
        QCOMPARE(araclar::loadCustomSheet(s, context()).labelWidth, 100.0);
        QCOMPARE(araclar::loadSheetChoice(s, context()), 2);
        QCOMPARE(page->startSpin->maximum(), 16);
        QTemporaryDir out;
        choosers->answers.push_back(out.filePath(u"etiket.pdf"_s));
        QTest::mouseClick(page->pdfLabelsButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(), QStringList{});
        QCOMPARE(page->statusLabel->text(), u"2 etiket."_s);
        QVERIFY(QFileInfo(out.filePath(u"etiket.pdf"_s)).size() > 1000);

        // A sheet that does not fit on A4 is refused before anything is asked.
        page->widthSpin->setValue(120);
        QTest::mouseClick(page->pdfLabelsButton, Qt::LeftButton);
        QCOMPARE(dialogs->texts(),
                 QStringList{u"Tanımlanan etiket kağıdı A4 sayfaya sığmıyor ya da etiketler çok "
                             u"küçük (en az 30 × 15 mm). Ölçüleri denetleyin."_s});
        dialogs->clear();

        // Cards of a school's class.
        page->schoolCombo->setCurrentIndex(page->schoolCombo->findText(u"GAZİ LİSESİ"_s));
        page->levelCombo->setCurrentIndex(page->levelCombo->findText(u"9/B"_s));
        const std::vector<tools::printdata::CardReader> readers = page->chosenReaders();
        QCOMPARE(readers.size(), size_t(1));
        QCOMPARE(readers[0].card.code, u"K3"_s);
        choosers->answers.push_back(out.filePath(u"kart.pdf"_s));
        QTest::mouseClick(page->pdfCardsButton, Qt::LeftButton);
        QCOMPARE(page->statusLabel->text(), u"1 kart."_s);
        QVERIFY(QFileInfo(out.filePath(u"kart.pdf"_s)).size() > 1000);

        // Slips of today's late loans: one reader.
        choosers->answers.push_back(out.filePath(u"bildirim.pdf"_s));
        QTest::mouseClick(page->pdfSlipsButton, Qt::LeftButton);
        QVERIFY(QFileInfo(out.filePath(u"bildirim.pdf"_s)).size() > 1000);
        QCOMPARE(choosers->captions.last(), u"Gecikme Bildirimlerini PDF Olarak Kaydet"_s);
        QCOMPARE(dialogs->texts(), QStringList{});
    }
};

QTEST_MAIN(DeskPageTest)
#include "tst_desk.moc"
