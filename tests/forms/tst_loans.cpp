// The loans window and the loan entry window, driven through the real start-up over a
// temporary database: what they store, and how the main window's grids follow the loans.

#include "data/widgets/dbcombobox.h"
#include "data/widgets/dbgrid.h"
#include "data/widgets/dblookupcombobox.h"
#include "emanetkitap_/emanetkitap.h"
#include "emanetkitapkaydi_/emanetkitapkaydi.h"
#include "formkit/searchcombo.h"
#include "formkit/searchedit.h"
#include "okuyucu_kayit_/okuyucu_kayit.h"
#include "support/programfixture.h"
#include "support/typing.h"

#include <QHeaderView>
#include <QMenu>
#include <QPushButton>

using namespace testsupport;
using namespace Qt::StringLiterals;
using data::DataSetState;

namespace {

const QString firstPickerValue = u"2009-05-21 16:15:25.890"_s;
const QString closedSet = u"emanet: Cannot perform this operation on a closed dataset."_s;

void seed(TempDatabase& db) {
    for (const QString& name : {u"AYŞE ŞAHİN"_s, u"MEHMET ÖZTÜRK"_s, u"ZEYNEP İNCE"_s})
        db.insert(u"okuyucu"_s, {u"ADISOYADI"_s}, {name});
    for (const QString& title : {u"ÇALIKUŞU"_s, u"SEFİLLER"_s, u"KÜÇÜK PRENS"_s})
        db.insert(u"kitapkayit"_s, {u"KITABINADI"_s}, {title});
    const QStringList loan{u"O_ADI_SOYADI"_s, u"ADIGIKITAP"_s, u"DURUM"_s, u"TESLIMTARIHI"_s,
                           u"GERIGETIRMETARIHI"_s};
    db.insert(u"hareket"_s, loan,
              {u"MEHMET ÖZTÜRK"_s, u"SEFİLLER"_s, u"Verildi"_s, u"2024-03-01 16:15:25.890"_s,
               u"2024-03-15 16:15:25.890"_s});
    db.insert(u"hareket"_s, loan,
              {u"AYŞE ŞAHİN"_s, u"ÇALIKUŞU"_s, u"Verildi"_s, QVariant(), QVariant()});
    // A reader renamed or deleted since.
    db.insert(u"hareket"_s, loan,
              {u"SİLİNMİŞ OKUYUCU"_s, u"KÜÇÜK PRENS"_s, u"Geri Alindi"_s,
               u"2023-01-02 10:00:00.000"_s, QVariant()});
}

QString currentName() {
    return anaform->okuyucuADISOYADI->text();
}
QString currentTitle() {
    return anaform->kitapKITABINADI->text();
}

QAction* loanAction(const char* name) {
    auto* a = emanetkitapkaydi->findChild<QAction*>(QLatin1String(name));
    if (!a)
        qFatal("no action %s", name);
    return a;
}

void clickSave() {
    QTest::mouseClick(emanetkitap->Button1, Qt::LeftButton);
}

} // namespace

class LoansTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        QVERIFY(program.start(seed));
    }
    void cleanup() { program.stop(); }

    void loansWindowShowsTheLoansWithItsMenuAndBar();
    void mainGridsFollowTheLoansWhileTheEntryWindowIsHidden();
    void readerBarNarrowsTheListAndAMoveSettlesAPendingReader();
    void newLoanSavedUntouchedAndChangedLoanKeepsAnUnknownReader();
    void pendingLoansSettleOnNewKeepOnLeavingAndDropOnEscOrSearch();
    void failedLoanSearchLeavesEveryActionInTheErrorBox();

private:
    ProgramFixture program;
};

void LoansTest::loansWindowShowsTheLoansWithItsMenuAndBar() {
    anaform->findChild<QAction*>(u"EmanetVerilenKitapKayd1"_s)->trigger();
    QVERIFY(QTest::qWaitForWindowActive(emanetkitapkaydi));
    QVERIFY(emanetkitapkaydi->isMaximized());
    QCOMPARE(emanetkitapkaydi->windowTitle(), u"Emanet Verilen Kitap Kaydı"_s);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(emanetkitapkaydi->DBGrid1));
    QStringList titles;
    for (const auto& c : emanetkitapkaydi->DBGrid1->columns())
        titles << c.title + u'/' + QString::number(c.width);
    QCOMPARE(titles, (QStringList{u"Kayıt No/-1"_s, u"Adı Soyadı/200"_s, u"Aldığı  Kitap/200"_s,
                                  u"Durumu/100"_s, u"Teslim Tarihi/100"_s, u"Geri G.Tarihi/100"_s,
                                  u"Açıklama/300"_s}));
    QStringList items;
    for (QAction* a : emanetkitapkaydi->PopupMenu2->actions())
        items << a->objectName() + u'=' + a->text();
    QCOMPARE(items, (QStringList{u"MenuItem1=Emanet Kitap Kaydı Ekle"_s,
                                 u"MenuItem2=Emanet Kitap Kaydı Düzelt"_s,
                                 u"MenuItem3=Emanet Kitap Kaydı Sil"_s}));
    QCOMPARE(emanetkitapkaydi->okr->currentText(), u"Adı Soyadı"_s);
    QCOMPARE(emanetkitapkaydi->Edit1->text(), u"Bu Alana Aranacak Bilgiyi Giriniz "_s);
    // The edit box keeps its right margin as the window widens.
    const QWidget* group = emanetkitapkaydi->Edit1->parentWidget();
    QCOMPARE(group->width() - emanetkitapkaydi->Edit1->geometry().right() - 1, 15);

    // Closing hides the window and keeps the filter and the current row.
    emanetkitapkaydi->Edit1->setText(u"ayşe"_s);
    QCOMPARE(emanetkitapkaydi->emanet->recordCount(), 1);
    emanetkitapkaydi->close();
    anaform->findChild<QAction*>(u"EmanetVerilenKitapKayd1"_s)->trigger();
    QCOMPARE(emanetkitapkaydi->Edit1->text(), u"ayşe"_s);
    QCOMPARE(emanetkitapkaydi->emanet->recordCount(), 1);
    QCOMPARE(emanetkitapkaydi->emanetO_ADI_SOYADI->text(), u"AYŞE ŞAHİN"_s);

    // Delete: No changes nothing, Yes deletes the current loan.
    program.dialogs->answerNext(platform::Answer::No);
    loanAction("MenuItem3")->trigger();
    program.dialogs->answerNext(platform::Answer::Yes);
    loanAction("MenuItem3")->trigger();
    QCOMPARE(program.dialogs->texts(),
             (QStringList{u"Emanet Kaydını Silmek İstiyormusunuz  ? "_s,
                          u"Emanet Kaydını Silmek İstiyormusunuz  ? "_s}));
    QCOMPARE(program.db->rows(u"SELECT IDNO FROM hareket ORDER BY IDNO"_s),
             (std::vector<QStringList>{{u"1"_s}, {u"3"_s}}));
}

// From start-up on the reader and book grids stand on the current loan's reader and book;
// a loan whose reader is unknown leaves the reader grid where it was.
void LoansTest::mainGridsFollowTheLoansWhileTheEntryWindowIsHidden() {
    QVERIFY(!emanetkitap->isVisible());
    QCOMPARE(currentName(), u"MEHMET ÖZTÜRK"_s);
    QCOMPARE(currentTitle(), u"SEFİLLER"_s);
    QCOMPARE(emanetkitap->DBLookupComboBox1->text(), u"MEHMET ÖZTÜRK"_s);
    emanetkitapkaydi->emanet->next();
    QCOMPARE(currentName(), u"AYŞE ŞAHİN"_s);
    QCOMPARE(currentTitle(), u"ÇALIKUŞU"_s);
    emanetkitapkaydi->emanet->next();
    QCOMPARE(emanetkitap->DBLookupComboBox1->text(), QString());
    QCOMPARE(currentName(), u"AYŞE ŞAHİN"_s);
    QCOMPARE(currentTitle(), u"KÜÇÜK PRENS"_s);

    // The same through the loans grid's keys.
    QVERIFY(activate(emanetkitapkaydi));
    emanetkitapkaydi->DBGrid1->setFocus();
    QTest::keyClick(emanetkitapkaydi->DBGrid1, Qt::Key_Home);
    QCOMPARE(currentName(), u"MEHMET ÖZTÜRK"_s);
    QCOMPARE(currentTitle(), u"SEFİLLER"_s);
}

void LoansTest::readerBarNarrowsTheListAndAMoveSettlesAPendingReader() {
    // The reader bar narrows what the reader list offers; the loan's reader is then not found.
    anaform->Edit1->setText(u"ay"_s);
    QCOMPARE(anaform->okuyucu->recordCount(), 1);
    QCOMPARE(emanetkitap->DBLookupComboBox1->text(), QString());
    emanetkitapkaydi->emanet->next();
    QCOMPARE(emanetkitap->DBLookupComboBox1->text(), u"AYŞE ŞAHİN"_s);
    anaform->Edit1->setText(QString());

    // A new reader that was written into is posted by the locate of the next loan's reader,
    // without the reader window's checks; one that was not is dropped.
    anaform->YeniOkuyucuKayd1Click();
    QVERIFY(QTest::qWaitForWindowActive(okuyucu_kayit));
    okuyucu_kayit->DBEdit1->setFocus();
    typeText(okuyucu_kayit->DBEdit1, u"yeni okuyucu"_s);
    okuyucu_kayit->DBEdit2->setFocus();
    emanetkitapkaydi->emanet->first();
    QCOMPARE(anaform->okuyucu->state(), DataSetState::Browse);
    QCOMPARE(currentName(), u"MEHMET ÖZTÜRK"_s);
    anaform->YeniOkuyucuKayd1Click();
    emanetkitapkaydi->emanet->next();
    QCOMPARE(anaform->okuyucu->state(), DataSetState::Browse);
    QCOMPARE(program.db->rows(u"SELECT ADISOYADI FROM okuyucu WHERE IDNO > 3"_s),
             (std::vector<QStringList>{{u"YENİ OKUYUCU"_s}}));
    QCOMPARE(program.dialogs->texts(), QStringList{});
}

// "Kaydet" checks nothing: an untouched new loan is stored with its status and the pickers'
// first dates. A changed loan whose reader no longer exists keeps the stored name, and the
// status chosen from the list is stored as written.
void LoansTest::newLoanSavedUntouchedAndChangedLoanKeepsAnUnknownReader() {
    loanAction("MenuItem1")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(emanetkitap));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(emanetkitap->DBLookupComboBox1));
    QCOMPARE(emanetkitap->DBComboBox1->currentText(), u"Verildi"_s);
    clickSave();
    QVERIFY(!emanetkitap->isVisible());
    QCOMPARE(emanetkitapkaydi->emanet->state(), DataSetState::Browse);

    emanetkitapkaydi->emanet->moveTo(2); // the loan of the unknown reader
    loanAction("MenuItem2")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(emanetkitap));
    QCOMPARE(emanetkitap->DateTimePicker2->date().toIso(), u"2023-01-02 16:15:25.890"_s);
    QCOMPARE(emanetkitap->DateTimePicker1->date().toIso(), u"1899-12-30 16:15:25.890"_s);
    emanetkitap->DBComboBox1->setFocus();
    QCOMPARE(emanetkitap->DBComboBox1->currentIndex(), 1); // "Geri Alindi"
    QTest::keyClick(emanetkitap->DBComboBox1, Qt::Key_Up);
    QCOMPARE(emanetkitap->DBComboBox1->currentText(), u"Veridi"_s);
    clickSave();

    QCOMPARE(program.dialogs->texts(), QStringList{});
    QCOMPARE(program.db->rows(u"SELECT IDNO, O_ADI_SOYADI, ADIGIKITAP, DURUM, TESLIMTARIHI, "
                              u"GERIGETIRMETARIHI, ACIKLAMA FROM hareket WHERE IDNO >= 3"_s),
             (std::vector<QStringList>{{u"3"_s, u"SİLİNMİŞ OKUYUCU"_s, u"KÜÇÜK PRENS"_s,
                                        u"Veridi"_s, u"2023-01-02 16:15:25.890"_s,
                                        u"1899-12-30 16:15:25.890"_s, u"<null>"_s},
                                       {u"4"_s, u"<null>"_s, u"<null>"_s, u"Verildi"_s,
                                        firstPickerValue, firstPickerValue, u"<null>"_s}}));
}

void LoansTest::pendingLoansSettleOnNewKeepOnLeavingAndDropOnEscOrSearch() {
    QVERIFY(activate(emanetkitapkaydi));
    data::TADOQuery* emanet = emanetkitapkaydi->emanet;
    // A second new loan posts the first, whose status was written.
    loanAction("MenuItem1")->trigger();
    loanAction("MenuItem1")->trigger();
    QCOMPARE(program.db->rows(u"SELECT IDNO, DURUM, TESLIMTARIHI FROM hareket WHERE IDNO > 3"_s),
             (std::vector<QStringList>{{u"4"_s, u"Verildi"_s, u"<null>"_s}}));
    QCOMPARE(emanet->state(), DataSetState::Insert);

    // Leaving the grid for the loan bar keeps it; Esc in the grid drops it.
    QVERIFY(activate(emanetkitapkaydi));
    emanetkitapkaydi->DBGrid1->setFocus();
    QTest::keyClick(emanetkitapkaydi->DBGrid1, Qt::Key_Tab);
    QCOMPARE(emanet->state(), DataSetState::Insert);
    emanetkitapkaydi->DBGrid1->setFocus();
    QTest::keyClick(emanetkitapkaydi->DBGrid1, Qt::Key_Escape);
    QCOMPARE(emanet->state(), DataSetState::Browse);
    QCOMPARE(emanet->recordCount(), 4);

    // A loan search drops a pending loan.
    loanAction("MenuItem1")->trigger();
    emanetkitapkaydi->Edit1->setText(QString());
    QCOMPARE(emanet->state(), DataSetState::Browse);
    QCOMPARE(program.db->count(u"hareket"_s), 4);
    QVERIFY(emanetkitap->isVisible());
    QCOMPARE(program.dialogs->texts(), QStringList{});
}

void LoansTest::failedLoanSearchLeavesEveryActionInTheErrorBox() {
    emanetkitapkaydi->Edit1->setText(u"a"_s + QChar(u'\0'));
    QCOMPARE(program.dialogs->shown().size(), 1);
    QVERIFY(!emanetkitapkaydi->emanet->active());
    program.dialogs->clear();
    QVERIFY(activate(emanetkitapkaydi));
    loanAction("MenuItem1")->trigger();
    QVERIFY(emanetkitap->isVisible()); // shown before the append failed
    // The box stands over the window the action brought to the front, not behind it.
    QCOMPARE(program.dialogs->shown().back().owner, u"emanetkitap"_s);
    loanAction("MenuItem2")->trigger();
    QCOMPARE(program.dialogs->shown().back().owner, u"emanetkitap"_s);
    loanAction("MenuItem3")->trigger();
    emanetkitap->Button1->click();
    QCOMPARE(program.dialogs->texts(),
             (QStringList{closedSet, closedSet, u"Emanet Kaydını Silmek İstiyormusunuz  ? "_s,
                          closedSet, closedSet}));
    emanetkitapkaydi->Edit1->setText(u"ayşe"_s);
    QVERIFY(emanetkitapkaydi->emanet->active());
    QCOMPARE(emanetkitapkaydi->emanet->recordCount(), 1);
}

QTEST_MAIN(LoansTest)
#include "tst_loans.moc"
