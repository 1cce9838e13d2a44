// The main window: its layout, menus and actions over a temporary database.

#include "anaform_/splitter.h"
#include "data/widgets/datetimepicker.h"
#include "data/widgets/dbgrid.h"
#include "emanetkitapkaydi_/emanetkitapkaydi.h"
#include "formkit/searchcombo.h"
#include "formkit/searchedit.h"
#include "kitap_/kitapkayit.h"
#include "okuyucu_kayit_/okuyucu_kayit.h"
#include "support/programfixture.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

using namespace testsupport;
using data::DataSetState;

namespace {

const QString bookQuestion = QStringLiteral("Kitap Kaydını Silmek İstiyormusunuz  ? ");
const QString readerQuestion = QStringLiteral("Okuyucu Kaydını Silmek İstiyormusunuz  ? ");

void seed(TempDatabase& db) {
    const QStringList reader{QStringLiteral("ADISOYADI"), QStringLiteral("DOGUMTARIHI")};
    db.insert(QStringLiteral("okuyucu"), reader,
              {QStringLiteral("AYŞE ŞAHİN"), QStringLiteral("2010-03-04 16:15:25.890")});
    db.insert(QStringLiteral("okuyucu"), reader,
              {QStringLiteral("MEHMET ÖZTÜRK"), QStringLiteral("2011-07-08 00:00:00.000")});
    const QStringList book{QStringLiteral("KITABINADI"), QStringLiteral("EDINMETARIHI"),
                           QStringLiteral("BASKITARIHI")};
    db.insert(QStringLiteral("kitapkayit"), book,
              {QStringLiteral("ÇALIKUŞU"), QStringLiteral("2001-02-03 16:15:25.890"),
               QStringLiteral("1999-01-01 16:15:25.890")});
    db.insert(QStringLiteral("kitapkayit"), book,
              {QStringLiteral("SEFİLLER"), QStringLiteral("2005-06-07 16:15:25.890"), QVariant()});
    db.insert(QStringLiteral("kitapkayit"), book,
              {QStringLiteral("KÜÇÜK PRENS"), QVariant(), QVariant()});
}

QAction* action(const char* name) {
    auto* a = anaform->findChild<QAction*>(QLatin1String(name));
    if (!a)
        qFatal("no action %s", name);
    return a;
}

QPoint rowCentre(data::TDBGrid* grid, int row) {
    return grid->visualRect(grid->model()->index(row, 1)).center();
}

} // namespace

class AnaformTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        QVERIFY(program.start(seed));
    }
    void cleanup() { program.stop(); }

    void layoutHasTheNamedControlsWithTheirCaptionsAndColours();
    void gridsShowTheColumnsWithTheirTitlesAndWidths();
    void tabRunsThroughGridsThenBookBarThenReaderBar();
    void menusOfferEveryItemWithoutShortcuts();
    void newBookShowsTheEntryWindowThenAppends();
    void newWhilePendingSettlesTheFirstRow();
    void editCopiesTheDatesIntoThePickersKeepingTheirTime();
    void editOnAnEmptyListStartsANewRowAndZeroDates();
    void actionsOnAClosedRecordSetShowTheClosedSetError();
    void deleteQuestionYesDeletesNoAbortsSilently();
    void deleteFromAnEmptyListAsksThenReportsTheEmptySet();
    void deleteWithAPendingNewRowOnlyDropsIt();
    void ctrlDeleteIsASecondRoadWithoutTheTurkishQuestion();
    void rightClickMakesTheRowCurrentBeforeTheMenu();
    void loansItemShowsTheLoansWindowAndNothingElse();
    void splitterHoldsAndSnapsTheReaderSide();

private:
    ProgramFixture program;
};

void AnaformTest::layoutHasTheNamedControlsWithTheirCaptionsAndColours() {
    QCOMPARE(anaform->windowTitle(), QStringLiteral("Ternavolk  Kütüphane Takip "));
    QVERIFY(anaform->isMaximized());
    QCOMPARE(anaform->windowIcon().availableSizes().value(0), QSize(128, 128));
    const auto group = [](const char* name) {
        return anaform->findChild<QGroupBox*>(QLatin1String(name));
    };
    QCOMPARE(group("GroupBox3")->title(), QStringLiteral("Okuyucu İşlemleri"));
    QCOMPARE(group("GroupBox4")->title(), QStringLiteral("Kitap İşlemleri"));
    QCOMPARE(group("GroupBox2")->title(), QStringLiteral("Okuyucu Arama Seçeği"));
    QCOMPARE(group("GroupBox1")->title(), QStringLiteral("Kitap Arama Seçeneği"));
    QVERIFY(group("GroupBox2")->font().bold());
    QVERIFY(anaform->okr->font().bold()); // the controls take the group's bold font
    QCOMPARE(group("GroupBox2")->palette().color(QPalette::Window), QColor(255, 255, 0));
    QCOMPARE(group("GroupBox1")->palette().color(QPalette::Window), QColor(0, 255, 0));
    QCOMPARE(anaform->Panel1->palette().color(QPalette::Window), QColor(248, 248, 248));
    QCOMPARE(anaform->Panel1->height(), 25);
    QCOMPARE(anaform->Panel4->height(), 51);
    QCOMPARE(anaform->statusBar()->height(), 23);
    QCOMPARE(anaform->DBGrid1->palette().color(QPalette::Base), QColor(255, 219, 183));
    QCOMPARE(anaform->DBGrid2->palette().color(QPalette::Base), QColor(128, 255, 255));
    QCOMPARE(anaform->Splitter1->width(), 9);

    const QString banner = static_cast<QLabel*>(anaform->Panel1)->text();
    QVERIFY(banner.contains(QString(7, u' ') + QStringLiteral("mail:")));
    QVERIFY(banner.contains(QString(7, u' ') + QStringLiteral("Tel: ")));
    QVERIFY(banner.contains(QStringLiteral(".example")));

    const QString starting = QStringLiteral("Bu Alana Aranacak Bilgiyi Giriniz ");
    QCOMPARE(anaform->Edit1->text(), starting);
    QCOMPARE(anaform->Edit2->text(), starting);
    QCOMPARE(anaform->okr->currentText(), QStringLiteral("Adı Soyadı"));
    QCOMPARE(anaform->kkr->currentText(), QStringLiteral("Kitap Adı"));
    QCOMPARE(anaform->okr->count(), 7);
    QCOMPARE(anaform->kkr->count(), 7);
    QCOMPARE(anaform->Edit2->width(), 425); // fixed, cut off by its group

    QList<int> panelWidths;
    for (QLabel* part : anaform->statusBar()->findChildren<QLabel*>()) {
        panelWidths << part->width();
        QVERIFY(part->text().isEmpty());
    }
    QCOMPARE(panelWidths, (QList<int>{200, 150, 150, 100}));

    // The hint on both grids and nowhere else.
    const QString hint = QStringLiteral("İşlem Yapmak İçin Mousenin Sağ Tuşuna Basınız");
    int hinted = 0;
    for (QWidget* w : anaform->findChildren<QWidget*>())
        if (!w->toolTip().isEmpty()) {
            QCOMPARE(w->toolTip(), hint);
            ++hinted;
        }
    QCOMPARE(hinted, 2);
    QVERIFY(anaform->DBGrid1->toolTip() == hint && anaform->DBGrid2->toolTip() == hint);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(anaform->DBGrid1));
}

void AnaformTest::gridsShowTheColumnsWithTheirTitlesAndWidths() {
    QAbstractItemModel* readers = anaform->DBGrid1->model();
    QStringList titles;
    for (int c = 0; c < readers->columnCount(); ++c)
        titles << readers->headerData(c, Qt::Horizontal).toString();
    titles.removeAll(QString()); // the indicator column, where the model has one
    QCOMPARE(titles, (QStringList{QStringLiteral("Kayıt Kodu"), QStringLiteral("Adı Soyadı"),
                                  QStringLiteral("Öğrenim Durumu"), QStringLiteral("Okulu"),
                                  QStringLiteral("Numarsı"), QStringLiteral("Ünvanı"),
                                  QStringLiteral("Doğrum  Yeri"), QStringLiteral("Doğum Tarihi"),
                                  QStringLiteral("Telefonu "), QStringLiteral("Cep Telefonu"),
                                  QStringLiteral("Adresi")}));
    QCOMPARE(anaform->DBGrid1->columnWidthOf(1), 205);
    QCOMPARE(anaform->DBGrid1->columnWidthOf(2), 102);
    QCOMPARE(anaform->DBGrid2->columnWidthOf(1), 122);
    QCOMPARE(anaform->DBGrid2->columnWidthOf(2), 207);
    QCOMPARE(anaform->DBGrid2->columnWidthOf(3), 145);
    QCOMPARE(anaform->DBGrid2->columnWidthOf(4), 152);
    QCOMPARE(anaform->DBGrid2->columnWidthOf(5), 200);
    // Default width: display width × width of "0" + 4 (ADRESI holds 255 characters).
    const QFontMetrics metrics(anaform->DBGrid1->font());
    QCOMPARE(anaform->DBGrid1->columnWidthOf(10), 255 * metrics.horizontalAdvance(u'0') + 4);
    QVERIFY(anaform->DBGrid1->font().bold());
}

void AnaformTest::tabRunsThroughGridsThenBookBarThenReaderBar() {
    QList<QWidget*> expected{anaform->DBGrid2, anaform->kkr,   anaform->Edit2,
                             anaform->okr,     anaform->Edit1, anaform->DBGrid1};
    anaform->DBGrid1->setFocus();
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        if (focus && qobject_cast<QComboBox*>(focus->parentWidget()))
            focus = focus->parentWidget();
        QCOMPARE(focus, next);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(anaform->Edit1));
}

void AnaformTest::menusOfferEveryItemWithoutShortcuts() {
    QStringList top;
    for (QAction* a : anaform->menuBar()->actions())
        top << a->text();
    QCOMPARE(top, (QStringList{QStringLiteral("Kayıt"), QStringLiteral("Emanet Kitap İşlemleri")}));
    const auto captions = [](QMenu* m) {
        QStringList out;
        for (QAction* a : m->actions()) {
            out << a->objectName() + QLatin1Char('=') + a->text();
            if (!a->shortcut().isEmpty() || !a->isEnabled())
                out << QStringLiteral("shortcut or disabled!");
        }
        return out;
    };
    QCOMPARE(captions(anaform->PopupMenu1),
             (QStringList{QStringLiteral("YeniKitapKayd2=Yeni Kitap Ekle"),
                          QStringLiteral("KitapKaydDzelt1=Kitap Kaydı Düzelt"),
                          QStringLiteral("KitapKaydSil1=Kitap Kaydı Sil")}));
    QCOMPARE(captions(anaform->PopupMenu2),
             (QStringList{QStringLiteral("MenuItem1=Yeni Okuyucu Ekle"),
                          QStringLiteral("MenuItem2=Okuyucu Kaydı Düzelt"),
                          QStringLiteral("MenuItem3=Okuyucu Kaydı Sil")}));
    QCOMPARE(captions(anaform->findChild<QMenu*>(QStringLiteral("Kayt1"))),
             (QStringList{QStringLiteral("YeniKitapKayd1=Yeni Kitap Kaydı"),
                          QStringLiteral("YeniOkuyucuKayd1=Yeni Okuyucu Kaydı")}));
    QCOMPARE(captions(anaform->findChild<QMenu*>(QStringLiteral("EmanetKitapKayd1"))),
             (QStringList{QStringLiteral("EmanetVerilenKitapKayd1=Emanet Verilen Kitap Kaydı")}));
}

void AnaformTest::newBookShowsTheEntryWindowThenAppends() {
    for (const char* item : {"YeniKitapKayd1", "YeniKitapKayd2"}) {
        kitapkayit->hide();
        anaform->kitap->cancel();
        action(item)->trigger();
        QVERIFY(kitapkayit->isVisible());
        QCOMPARE(anaform->kitap->state(), DataSetState::Insert);
        QCOMPARE(anaform->kitap->recordCount(), 4);
        QCOMPARE(anaform->kitap->recNo(), 3);
    }
    for (const char* item : {"YeniOkuyucuKayd1", "MenuItem1"}) {
        okuyucu_kayit->hide();
        anaform->okuyucu->cancel();
        action(item)->trigger();
        QVERIFY(okuyucu_kayit->isVisible());
        QCOMPARE(anaform->okuyucu->state(), DataSetState::Insert);
        QCOMPARE(anaform->okuyucu->recordCount(), 3);
    }
    QCOMPARE(program.dialogs->texts(), QStringList());
}

void AnaformTest::newWhilePendingSettlesTheFirstRow() {
    action("YeniKitapKayd1")->trigger();
    anaform->kitapKITABINADI->setText(QStringLiteral("NUTUK"));
    action("YeniKitapKayd2")->trigger();
    QCOMPARE(anaform->kitap->state(), DataSetState::Insert);
    QCOMPARE(program.db->rows(QStringLiteral("SELECT KITABINADI FROM kitapkayit WHERE IDNO = 4")),
             (std::vector<QStringList>{{QStringLiteral("NUTUK")}}));
    // Nothing written into the second row: a third new row drops it.
    action("YeniKitapKayd1")->trigger();
    QCOMPARE(program.db->count(QStringLiteral("kitapkayit")), 4);
}

void AnaformTest::editCopiesTheDatesIntoThePickersKeepingTheirTime() {
    const platform::DateTime pickerTime(39954.67738298611);
    kitapkayit->DateTimePicker1->setDateTime(pickerTime);
    kitapkayit->DateTimePicker2->setDateTime(pickerTime);
    action("KitapKaydDzelt1")->trigger();
    QVERIFY(kitapkayit->isVisible());
    QCOMPARE(anaform->kitap->state(), DataSetState::Edit);
    QCOMPARE(kitapkayit->DateTimePicker1->date().toIso(),
             QStringLiteral("2001-02-03 16:15:25.890"));
    QCOMPARE(kitapkayit->DateTimePicker2->date().toIso(),
             QStringLiteral("1999-01-01 16:15:25.890"));

    // The second reader was born at midnight: the picker keeps its own time of day.
    anaform->okuyucu->next();
    action("MenuItem2")->trigger();
    QCOMPARE(anaform->okuyucu->state(), DataSetState::Edit);
    QCOMPARE(okuyucu_kayit->DateTimePicker1->date().toIso(),
             QStringLiteral("2011-07-08 16:15:25.890"));

    // An edit while the row is already pending leaves it pending and overwrites the pickers.
    anaform->kitapKITABINADI->setText(QStringLiteral("ÇALIKUŞU 2"));
    anaform->kitap->next(); // posts
    action("KitapKaydDzelt1")->trigger();
    QCOMPARE(kitapkayit->DateTimePicker1->date().toIso(),
             QStringLiteral("2005-06-07 16:15:25.890"));
    QCOMPARE(kitapkayit->DateTimePicker2->date().toIso(),
             QStringLiteral("1899-12-30 16:15:25.890"));
}

void AnaformTest::editOnAnEmptyListStartsANewRowAndZeroDates() {
    anaform->kkr->setCurrentIndex(0);
    anaform->Edit2->setText(QStringLiteral("yok böyle bir kitap"));
    QCOMPARE(anaform->kitap->recordCount(), 0);
    action("KitapKaydDzelt1")->trigger();
    QCOMPARE(anaform->kitap->state(), DataSetState::Insert);
    QCOMPARE(kitapkayit->DateTimePicker1->date().date(), QDate(1899, 12, 30));
    QCOMPARE(program.dialogs->texts(), QStringList());
}

void AnaformTest::actionsOnAClosedRecordSetShowTheClosedSetError() {
    anaform->kitap->close();
    action("YeniKitapKayd1")->trigger();
    QVERIFY(kitapkayit->isVisible()); // the window comes first and stays
    program.dialogs->answerNext(platform::Answer::Yes);
    action("KitapKaydSil1")->trigger();
    action("KitapKaydDzelt1")->trigger();
    const QString closed =
        QStringLiteral("kitap: Cannot perform this operation on a closed dataset.");
    QCOMPARE(program.dialogs->texts(), (QStringList{closed, bookQuestion, closed, closed}));
}

void AnaformTest::deleteQuestionYesDeletesNoAbortsSilently() {
    program.dialogs->answerNext(platform::Answer::No);
    action("KitapKaydSil1")->trigger();
    QCOMPARE(program.db->count(QStringLiteral("kitapkayit")), 3);
    QCOMPARE(program.dialogs->shown().size(), 1); // the question, and nothing after No
    const auto& question = program.dialogs->shown().front();
    QCOMPARE(question.caption, QStringLiteral("Dikkat"));
    QCOMPARE(question.text, bookQuestion);
    QCOMPARE(question.icon, platform::Icon::Question);
    QCOMPARE(question.buttons, platform::Buttons::YesNo);
    QCOMPARE(question.defaultAnswer, platform::Answer::Yes);

    program.dialogs->answerNext(platform::Answer::Yes);
    action("KitapKaydSil1")->trigger();
    QCOMPARE(
        program.db->rows(QStringLiteral("SELECT KITABINADI FROM kitapkayit ORDER BY IDNO")),
        (std::vector<QStringList>{{QStringLiteral("SEFİLLER")}, {QStringLiteral("KÜÇÜK PRENS")}}));
    QCOMPARE(anaform->kitapKITABINADI->text(), QStringLiteral("SEFİLLER"));

    program.dialogs->answerNext(platform::Answer::Yes);
    action("MenuItem3")->trigger();
    QCOMPARE(program.dialogs->texts().last(), readerQuestion);
    QCOMPARE(program.db->count(QStringLiteral("okuyucu")), 1);
}

void AnaformTest::deleteFromAnEmptyListAsksThenReportsTheEmptySet() {
    anaform->Edit1->setText(QStringLiteral("kimse"));
    QCOMPARE(anaform->okuyucu->recordCount(), 0);
    program.dialogs->answerNext(platform::Answer::Yes);
    action("MenuItem3")->trigger();
    QCOMPARE(program.dialogs->texts(),
             (QStringList{
                 readerQuestion,
                 QStringLiteral("okuyucu: Cannot perform this operation on an empty dataset.")}));
}

void AnaformTest::deleteWithAPendingNewRowOnlyDropsIt() {
    action("YeniKitapKayd1")->trigger();
    anaform->kitapKITABINADI->setText(QStringLiteral("YARIM"));
    program.dialogs->answerNext(platform::Answer::Yes);
    action("KitapKaydSil1")->trigger();
    QCOMPARE(anaform->kitap->state(), DataSetState::Browse);
    QCOMPARE(program.db->count(QStringLiteral("kitapkayit")), 3);
    QCOMPARE(anaform->kitap->recNo(), 2);
}

void AnaformTest::ctrlDeleteIsASecondRoadWithoutTheTurkishQuestion() {
    anaform->DBGrid2->setFocus();
    program.dialogs->answerNext(platform::Answer::Ok);
    QTest::keyClick(anaform->DBGrid2, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(program.dialogs->shown().size(), 1);
    QCOMPARE(program.dialogs->shown().front().caption, QStringLiteral("Confirm"));
    QCOMPARE(program.dialogs->shown().front().text, QStringLiteral("Delete record?"));
    QCOMPARE(program.db->count(QStringLiteral("kitapkayit")), 2);
}

void AnaformTest::rightClickMakesTheRowCurrentBeforeTheMenu() {
    data::TDBGrid* grid = anaform->DBGrid2;
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, rowCentre(grid, 2));
    QCOMPARE(anaform->kitap->recNo(), 2);
    QTRY_VERIFY(anaform->PopupMenu1->isVisible());
    anaform->PopupMenu1->hide();
    action("KitapKaydDzelt1")->trigger();
    QCOMPARE(anaform->kitap->state(), DataSetState::Edit);
    QCOMPARE(anaform->kitapKITABINADI->text(), QStringLiteral("KÜÇÜK PRENS"));
    anaform->kitap->cancel();

    // Below the last row the current row stays.
    const QPoint below(10, grid->viewport()->height() - 3);
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, below);
    QCOMPARE(anaform->kitap->recNo(), 2);
    anaform->PopupMenu1->hide();

    QTest::mouseClick(anaform->DBGrid1->viewport(), Qt::RightButton, {},
                      rowCentre(anaform->DBGrid1, 1));
    QCOMPARE(anaform->okuyucuADISOYADI->text(), QStringLiteral("MEHMET ÖZTÜRK"));
    QTRY_VERIFY(anaform->PopupMenu2->isVisible());
    anaform->PopupMenu2->hide();
}

void AnaformTest::loansItemShowsTheLoansWindowAndNothingElse() {
    action("EmanetVerilenKitapKayd1")->trigger();
    QVERIFY(emanetkitapkaydi->isVisible());
    QVERIFY(emanetkitapkaydi->isMaximized());
    QCOMPARE(anaform->kitap->state(), DataSetState::Browse);
    QCOMPARE(anaform->okuyucu->state(), DataSetState::Browse);
    action("EmanetVerilenKitapKayd1")->trigger();
    QCOMPARE(program.dialogs->texts(), QStringList());
}

void AnaformTest::splitterHoldsAndSnapsTheReaderSide() {
    TSplitter* splitter = anaform->Splitter1;
    const int total = splitter->parentWidget()->width();
    QCOMPARE(splitter->widthForPosition(200), 200);
    QCOMPARE(splitter->widthForPosition(31), 31);
    QCOMPARE(splitter->widthForPosition(30), 0);
    QCOMPARE(splitter->widthForPosition(-50), 0);
    QCOMPARE(splitter->widthForPosition(total), total - 9 - 30);

    // A drag: the reader side takes the new width only on release.
    const QPoint grab(4, 20);
    QTest::mousePress(splitter, Qt::LeftButton, {}, grab);
    QTest::mouseMove(splitter, grab + QPoint(-200, 0));
    QCOMPARE(anaform->Panel2->width(), 369);
    QTest::mouseRelease(splitter, Qt::LeftButton, {}, grab + QPoint(-200, 0));
    QTRY_COMPARE(anaform->Panel2->width(), 169);
    QTest::mousePress(splitter, Qt::LeftButton, {}, grab);
    QTest::mouseRelease(splitter, Qt::LeftButton, {}, grab + QPoint(-150, 0));
    QTRY_COMPARE(anaform->Panel2->width(), 0);

    // A narrow window: the reader side gives way so that the book side keeps 30 pixels and the
    // window does not grow; widened again, the reader side has its width back.
    const int widest = splitter->widthForPosition(total);
    splitter->setLeftWidth(widest);
    QCOMPARE(anaform->Panel3->width(), 30);
    anaform->showNormal();
    const int narrowest = anaform->minimumSizeHint().width();
    QVERIFY(narrowest < total);
    anaform->resize(narrowest, 400);
    QTRY_COMPARE(anaform->width(), narrowest);
    QCOMPARE(anaform->Panel3->width(), 30);
    QCOMPARE(anaform->Panel2->width(), splitter->parentWidget()->width() - 9 - 30);
    QCOMPARE(splitter->leftWidth(), widest);
    splitter->setLeftWidth(369);
    QCOMPARE(anaform->Panel3->width(), splitter->parentWidget()->width() - 369 - 9);
}

QTEST_MAIN(AnaformTest)
#include "tst_anaform.moc"
