// The reader and book search bars of the main window, over a temporary database.

#include "data/widgets/dbgrid.h"
#include "emanetkitapkaydi_/emanetkitapkaydi.h"
#include "formkit/searchbar.h"
#include "formkit/searchcombo.h"
#include "formkit/searchedit.h"
#include "kitap_/kitapkayit.h"
#include "support/menus.h"
#include "support/programfixture.h"
#include "support/typing.h"

#include <QClipboard>
#include <QLineEdit>

using namespace testsupport;
using data::DataSetState;

namespace {

void seed(TempDatabase& db) {
    const QStringList reader{QStringLiteral("ADISOYADI"), QStringLiteral("ADRESI")};
    db.insert(QStringLiteral("okuyucu"), reader,
              {QStringLiteral("AYŞE ŞAHİN"), QStringLiteral("Deniz Mahallesi Yolu Sokak 3")});
    db.insert(QStringLiteral("okuyucu"), reader,
              {QStringLiteral("MEHMET ÖZTÜRK"), QStringLiteral("Ankara'da bir ev")});
    db.insert(QStringLiteral("okuyucu"), reader, {QStringLiteral("SAHIN KAYA"), QVariant()});
    db.insert(QStringLiteral("okuyucu"), reader, {QStringLiteral("ZEYNEP İNCE"), QString()});
    const QStringList book{QStringLiteral("KITABINADI"), QStringLiteral("YAZARI")};
    db.insert(QStringLiteral("kitapkayit"), book,
              {QStringLiteral("ÇALIKUŞU"), QStringLiteral("REŞAT NURİ GÜNTEKİN")});
    db.insert(QStringLiteral("kitapkayit"), book,
              {QStringLiteral("SEFİLLER"), QStringLiteral("VICTOR HUGO")});
    db.insert(QStringLiteral("kitapkayit"), book,
              {QStringLiteral("100% KİTAP_1"), QStringLiteral("YAZAR")});
}

QStringList names(data::TADOQuery* rs, const QString& column) {
    QStringList out;
    data::TField& f = rs->fieldByName(column);
    for (int row = 0; row < rs->recordCount(); ++row)
        out << rs->displayText(row, f.index());
    return out;
}

} // namespace

class SearchBarTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(program.start(seed)); }
    void cleanup() { program.stop(); }

    void statementsFollowTheWorkedExamples_data();
    void statementsFollowTheWorkedExamples();
    void typingNarrowsTheListOnEveryKeystroke();
    void turkishLettersFindEachOther();
    void emptyTextListsEveryRowWithAValueButNoNulls();
    void percentAndUnderscoreKeepTheirMeaning();
    void changingTheColumnRunsNothingUntilTheTextChanges();
    void aTextThatBeginsNoCaptionStopsSearching();
    void clickClearsANonEmptyBoxOnly();
    void focusByKeyboardSelectsTheWholeText();
    void searchDropsAPendingRowOfAnEntryWindow();
    void rejectedStatementLeavesTheSetClosedAndActivationRetriesIt();
    void everyBarSelectsOnKeyboardEntryOnlyAndSpeaksTurkish_data();
    void everyBarSelectsOnKeyboardEntryOnlyAndSpeaksTurkish();
    void hostileTextNeverChangesATable_data();
    void hostileTextNeverChangesATable();

private:
    ProgramFixture program;
};

void SearchBarTest::statementsFollowTheWorkedExamples_data() {
    QTest::addColumn<int>("bar"); // 0 reader, 1 book, 2 loan
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("statement");
    QTest::newRow("deniz yolu") << 0 << 6 << QStringLiteral("deniz yolu")
                                << QStringLiteral(
                                       "select * from okuyucu where  ADRESI like '%deniz%yolu%'");
    QTest::newRow("apostrophe") << 0 << 6 << QStringLiteral("Ankara'da")
                                << QStringLiteral(
                                       "select * from okuyucu where  ADRESI like '%Ankara''da%'");
    QTest::newRow("empty") << 0 << 0 << QString()
                           << QStringLiteral("select * from okuyucu where  ADISOYADI like '%%'");
    QTest::newRow("two blanks") << 1 << 2 << QStringLiteral(" a  b ")
                                << QStringLiteral(
                                       "select * from kitapkayit where  YAZARI like '%%a%%b%%'");
    QTest::newRow("book barcode") << 1 << 4 << QStringLiteral("869")
                                  << QStringLiteral(
                                         "select * from kitapkayit where  BARKODU like '%869%'");
    QTest::newRow("loan remark") << 2 << 2 << QStringLiteral("geç")
                                 << QStringLiteral(
                                        "select * from hareket where  ACIKLAMA like '%geç%'");
}

void SearchBarTest::statementsFollowTheWorkedExamples() {
    QFETCH(int, bar);
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(QString, statement);
    const std::span<const SearchColumn> tables[] = {readerSearchColumns(), bookSearchColumns(),
                                                    loanSearchColumns()};
    QCOMPARE(searchStatement(tables[bar][item], text), statement);
}

void SearchBarTest::typingNarrowsTheListOnEveryKeystroke() {
    anaform->okr->setCurrentIndex(6); // Adresi
    anaform->Edit1->setFocus();
    anaform->Edit1->selectAll();
    typeText(anaform->Edit1, QStringLiteral("deniz yolu"));
    QCOMPARE(
        anaform->okuyucu->sqlLines(),
        QStringList{QStringLiteral("select * from okuyucu where  ADRESI like '%deniz%yolu%'")});
    QCOMPARE(names(anaform->okuyucu, QStringLiteral("ADISOYADI")),
             QStringList{QStringLiteral("AYŞE ŞAHİN")});
    anaform->Edit1->setText(QStringLiteral("Ankara'da"));
    QCOMPARE(names(anaform->okuyucu, QStringLiteral("ADISOYADI")),
             QStringList{QStringLiteral("MEHMET ÖZTÜRK")});
    QCOMPARE(anaform->okuyucu->recNo(), 0);
    QCOMPARE(program.dialogs->texts(), QStringList());
}

void SearchBarTest::turkishLettersFindEachOther() {
    anaform->Edit1->setText(QStringLiteral("şahin"));
    QCOMPARE(names(anaform->okuyucu, QStringLiteral("ADISOYADI")),
             (QStringList{QStringLiteral("AYŞE ŞAHİN"), QStringLiteral("SAHIN KAYA")}));
    anaform->Edit1->setText(QStringLiteral("ince"));
    QCOMPARE(names(anaform->okuyucu, QStringLiteral("ADISOYADI")),
             QStringList{QStringLiteral("ZEYNEP İNCE")});
    anaform->Edit2->setText(QStringLiteral("calıkusu"));
    QCOMPARE(names(anaform->kitap, QStringLiteral("KITABINADI")),
             QStringList{QStringLiteral("ÇALIKUŞU")});
}

void SearchBarTest::emptyTextListsEveryRowWithAValueButNoNulls() {
    anaform->okr->setCurrentIndex(6);
    anaform->Edit1->setText(QString());
    QCOMPARE(names(anaform->okuyucu, QStringLiteral("ADISOYADI")),
             (QStringList{QStringLiteral("AYŞE ŞAHİN"), QStringLiteral("MEHMET ÖZTÜRK"),
                          QStringLiteral("ZEYNEP İNCE")}));
}

void SearchBarTest::percentAndUnderscoreKeepTheirMeaning() {
    anaform->Edit2->setText(QStringLiteral("S%LER"));
    QCOMPARE(names(anaform->kitap, QStringLiteral("KITABINADI")),
             QStringList{QStringLiteral("SEFİLLER")});
    anaform->Edit2->setText(QStringLiteral("P_P"));
    QCOMPARE(names(anaform->kitap, QStringLiteral("KITABINADI")), QStringList());
    anaform->Edit2->setText(QStringLiteral("P_1"));
    QCOMPARE(names(anaform->kitap, QStringLiteral("KITABINADI")),
             QStringList{QStringLiteral("100% KİTAP_1")});
}

void SearchBarTest::changingTheColumnRunsNothingUntilTheTextChanges() {
    anaform->Edit2->setText(QStringLiteral("HUGO"));
    QCOMPARE(anaform->kitap->recordCount(), 0); // searched in Kitap Adı
    anaform->kkr->setCurrentIndex(2);           // Yazarı
    QCOMPARE(anaform->kitap->recordCount(), 0);
    anaform->Edit2->setText(QStringLiteral("HUG"));
    QCOMPARE(names(anaform->kitap, QStringLiteral("KITABINADI")),
             QStringList{QStringLiteral("SEFİLLER")});
}

void SearchBarTest::aTextThatBeginsNoCaptionStopsSearching() {
    QLineEdit* comboText = anaform->kkr->lineEdit();
    anaform->kkr->setFocus();
    comboText->selectAll();
    typeText(comboText, QStringLiteral("ya"));
    QCOMPARE(anaform->kkr->currentIndex(), 2); // completes "Yazarı"
    QCOMPARE(comboText->text(), QStringLiteral("Yazarı"));
    comboText->selectAll();
    typeText(comboText, QStringLiteral("xyz"));
    QCOMPARE(anaform->kkr->currentIndex(), -1);
    QCOMPARE(comboText->text(), QStringLiteral("xyz"));
    const QStringList before = anaform->kitap->sqlLines();
    anaform->Edit2->setText(QStringLiteral("SEF"));
    QCOMPARE(anaform->kitap->sqlLines(), before);
    QCOMPARE(anaform->kitap->recordCount(), 3);
    QCOMPARE(anaform->kitap->state(), DataSetState::Browse);
}

void SearchBarTest::clickClearsANonEmptyBoxOnly() {
    QTest::mouseClick(anaform->Edit2, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(anaform->Edit2->text(), QString());
    QCOMPARE(anaform->kitap->sqlLines(),
             QStringList{QStringLiteral("select * from kitapkayit where  KITABINADI like '%%'")});
    anaform->kitap->next();
    QTest::mouseClick(anaform->Edit2, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(anaform->kitap->recNo(), 1); // empty already: nothing ran
    // A right click does not clear.
    anaform->Edit1->setText(QStringLiteral("AY"));
    QTest::mouseClick(anaform->Edit1, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(anaform->Edit1->text(), QStringLiteral("AY"));
}

void SearchBarTest::focusByKeyboardSelectsTheWholeText() {
    anaform->DBGrid1->setFocus();
    QTest::keyClick(anaform->DBGrid1, Qt::Key_Tab);            // DBGrid2
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // kkr
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // Edit2
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(anaform->Edit2));
    QCOMPARE(anaform->Edit2->selectedText(), QStringLiteral("Bu Alana Aranacak Bilgiyi Giriniz "));
    typeText(anaform->Edit2, QStringLiteral("ç"));
    QCOMPARE(anaform->Edit2->text(), QStringLiteral("ç"));
    QCOMPARE(names(anaform->kitap, QStringLiteral("KITABINADI")),
             QStringList{QStringLiteral("ÇALIKUŞU")});
}

void SearchBarTest::searchDropsAPendingRowOfAnEntryWindow() {
    anaform->YeniKitapKayd1Click();
    anaform->kitapKITABINADI->setText(QStringLiteral("KAYBOLACAK"));
    anaform->Edit2->setText(QString());
    QCOMPARE(anaform->kitap->state(), DataSetState::Browse);
    QVERIFY(kitapkayit->isVisible());
    QCOMPARE(program.db->count(QStringLiteral("kitapkayit")), 3);
}

void SearchBarTest::rejectedStatementLeavesTheSetClosedAndActivationRetriesIt() {
    // A NUL character ends the statement inside its literal: the engine refuses it.
    anaform->Edit1->setText(QStringLiteral("a") + QChar(u'\0') + QStringLiteral("b"));
    QCOMPARE(program.dialogs->shown().size(), 1);
    QVERIFY(!anaform->okuyucu->active());
    QCOMPARE(anaform->okuyucu->sqlLines().size(), 1);
    QVERIFY(activate(kitapkayit));
    QVERIFY(activate(anaform));
    QTRY_COMPARE(program.dialogs->shown().size(), 2);
    QCOMPARE(program.dialogs->texts()[1], program.dialogs->texts()[0]);
    // The next valid text fills the grid again.
    anaform->Edit1->setText(QStringLiteral("AYŞ"));
    QVERIFY(anaform->okuyucu->active());
    QCOMPARE(names(anaform->okuyucu, QStringLiteral("ADISOYADI")),
             QStringList{QStringLiteral("AYŞE ŞAHİN")});
}

void SearchBarTest::hostileTextNeverChangesATable_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("ends the literal and drops a table")
        << QStringLiteral("x'; DROP TABLE kitapkayit; --");
    QTest::newRow("ends the literal and deletes")
        << QStringLiteral("' OR 1=1; DELETE FROM okuyucu WHERE '1'='1");
    QTest::newRow("quotes") << QStringLiteral("''''\"\"");
    QTest::newRow("10,000 characters") << QString(10000, u'ş');
    QTest::newRow("right-to-left") << QStringLiteral("كتاب \u202Eabc");
    QTest::newRow("percent and underscore") << QStringLiteral("%_%_%");
}

void SearchBarTest::hostileTextNeverChangesATable() {
    QFETCH(QString, text);
    const auto before = program.db->rows(QStringLiteral(
        "SELECT (SELECT COUNT(*) FROM okuyucu), (SELECT COUNT(*) FROM kitapkayit), "
        "(SELECT COUNT(*) FROM hareket), (SELECT group_concat(name) FROM sqlite_master)"));
    anaform->Edit2->setText(text);
    anaform->Edit1->setText(text);
    const auto after = program.db->rows(QStringLiteral(
        "SELECT (SELECT COUNT(*) FROM okuyucu), (SELECT COUNT(*) FROM kitapkayit), "
        "(SELECT COUNT(*) FROM hareket), (SELECT group_concat(name) FROM sqlite_master)"));
    QCOMPARE(after, before);
    // Either rows were found or the provider's message was shown; the bar still works.
    QVERIFY(anaform->kitap->active() || !program.dialogs->texts().isEmpty());
    anaform->Edit2->setText(QStringLiteral("SEF"));
    QCOMPARE(names(anaform->kitap, QStringLiteral("KITABINADI")),
             QStringList{QStringLiteral("SEFİLLER")});
}

void SearchBarTest::everyBarSelectsOnKeyboardEntryOnlyAndSpeaksTurkish_data() {
    QTest::addColumn<int>("bar"); // 0 reader, 1 book, 2 loan
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("completed");
    QTest::addColumn<int>("item");
    QTest::newRow("reader bar") << 0 << QStringLiteral("ok") << QStringLiteral("Okulu") << 1;
    QTest::newRow("book bar") << 1 << QStringLiteral("ya") << QStringLiteral("Yazarı") << 2;
    QTest::newRow("loan bar") << 2 << QStringLiteral("ki") << QStringLiteral("Kitap Adı") << 1;
}

// The three bars share their edit box and column list: the edit box selects its text when the
// focus enters it from the keyboard or with its window, not on a click or on the way back from
// its (Turkish) context menu, so a Paste from the menu goes in at the caret; Backspace in the
// column list removes what the completion added, then a character, and completes nothing.
void SearchBarTest::everyBarSelectsOnKeyboardEntryOnlyAndSpeaksTurkish() {
    QFETCH(int, bar);
    QFETCH(QString, typed);
    QFETCH(QString, completed);
    QFETCH(int, item);
    QWidget* window = bar == 2 ? static_cast<QWidget*>(emanetkitapkaydi) : anaform;
    TSearchEdit* edit = bar == 0   ? anaform->Edit1
                        : bar == 1 ? anaform->Edit2
                                   : emanetkitapkaydi->Edit1;
    TSearchCombo* combo = bar == 0 ? anaform->okr : bar == 1 ? anaform->kkr : emanetkitapkaydi->okr;
    QVERIFY(activate(window));
    const QString starting = QStringLiteral("Bu Alana Aranacak Bilgiyi Giriniz ");

    const std::pair<Qt::FocusReason, bool> reasons[] = {{Qt::TabFocusReason, true},
                                                        {Qt::BacktabFocusReason, true},
                                                        {Qt::ActiveWindowFocusReason, true},
                                                        {Qt::MouseFocusReason, false},
                                                        {Qt::PopupFocusReason, false}};
    for (const auto& [reason, selects] : reasons) {
        combo->setFocus();
        edit->deselect();
        edit->setFocus(reason);
        QCOMPARE(edit->selectedText(), selects ? starting : QString());
    }

    edit->setCursorPosition(3);
    QGuiApplication::clipboard()->setText(QStringLiteral("x"));
    QStringList texts;
    QVERIFY(chooseFromContextMenu(edit, QStringLiteral("edit-paste"), &texts));
    QCOMPARE(texts, (QStringList{QStringLiteral("&Geri Al"), QStringLiteral("&Kes"),
                                 QStringLiteral("K&opyala"), QStringLiteral("&Yapıştır"),
                                 QStringLiteral("&Sil"), QStringLiteral("&Tümünü Seç")}));
    QCOMPARE(edit->selectedText(), QString());
    typeText(edit, QStringLiteral("y"));
    QCOMPARE(edit->text(), QStringLiteral("Bu xyAlana Aranacak Bilgiyi Giriniz "));

    QLineEdit* comboText = combo->lineEdit();
    combo->setFocus();
    comboText->selectAll();
    typeText(comboText, typed);
    QCOMPARE(comboText->text(), completed);
    QTest::keyClick(comboText, Qt::Key_Backspace);
    QCOMPARE(comboText->text(), completed.left(typed.size()));
    QTest::keyClick(comboText, Qt::Key_Backspace);
    QCOMPARE(comboText->text(), completed.left(1));
    QCOMPARE(combo->currentIndex(), item);
    texts.clear();
    QVERIFY(chooseFromContextMenu(comboText, QStringLiteral("select-all"), &texts));
    QCOMPARE(texts.value(3), QStringLiteral("&Yapıştır"));
}

QTEST_MAIN(SearchBarTest)
#include "tst_searchbars.moc"
