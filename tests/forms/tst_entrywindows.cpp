// The book and reader entry windows, driven through the main window's actions over a temporary
// database: what they check, what they store, what they keep.

#include "data/widgets/datetimepicker.h"
#include "data/widgets/dbcombobox.h"
#include "data/widgets/dbedit.h"
#include "data/widgets/dbrichedit.h"
#include "emanetkitap_/emanetkitap.h"
#include "emanetkitapkaydi_/emanetkitapkaydi.h"
#include "kitap_/kitapkayit.h"
#include "okuyucu_kayit_/okuyucu_kayit.h"
#include "support/programfixture.h"
#include "support/typing.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace testsupport;
using namespace Qt::StringLiterals;
using data::DataSetState;

namespace {

const QString firstPickerValue = u"2009-05-21 16:15:25.890"_s;
const QString dayZeroAtPickerTime = u"1899-12-30 16:15:25.890"_s;

const QString bookColumns = u"SERINO, KITABINADI, YAZARI, TURU, YAYINEVI, BARKODU, EDINME, "
                            u"DEGERI, EDINMETARIHI, BASKITARIHI, BASIMYERI, BASIMYILI, BASKINO, "
                            u"ACIKLAMA"_s;
const QString readerColumns = u"ADISOYADI, OGRENIMDURUMU, OKULU, NUMARASI, UNVANI, DOGUMYERI, "
                              u"DOGUMTARIHI, TELEFONU, CEPTELEFONU, ADRESI"_s;

void seed(TempDatabase& db) {
    // A book with every required entry and no dates.
    db.insert(u"kitapkayit"_s,
              {u"SERINO"_s, u"KITABINADI"_s, u"YAZARI"_s, u"TURU"_s, u"YAYINEVI"_s, u"BASIMYERI"_s,
               u"BASIMYILI"_s, u"BASKINO"_s},
              {u"K-1"_s, u"SEFİLLER"_s, u"VİCTOR HUGO"_s, u"ROMAN"_s, u"CAN"_s, u"PARİS"_s,
               u"1862"_s, u"1"_s});
}

QAction* action(const char* name) {
    auto* a = anaform->findChild<QAction*>(QLatin1String(name));
    if (!a)
        qFatal("no action %s", name);
    return a;
}

QWidget* window(const QString& name) {
    if (name == u"emanet")
        return emanetkitap;
    return name == u"kitap" ? static_cast<QWidget*>(kitapkayit) : okuyucu_kayit;
}

QWidget* control(QWidget* window, const QString& name) {
    auto* w = window->findChild<QWidget*>(name);
    if (!w)
        qFatal("no control %s", qPrintable(name));
    return w;
}

// Types into a control as a user does: the focus, then the keys; lines apart by Enter.
void enterLines(QWidget* w, const QStringList& lines) {
    w->setFocus(Qt::TabFocusReason);
    for (int i = 0; i < lines.size(); ++i) {
        if (i > 0)
            QTest::keyClick(w, Qt::Key_Return);
        typeText(w, lines[i]);
    }
}

void clickSave(QWidget* window) {
    QTest::mouseClick(window->findChild<QPushButton*>(u"Button1"_s), Qt::LeftButton);
}

} // namespace

class EntryWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
        QVERIFY(program.start(seed));
    }
    void cleanup() { program.stop(); }

    void everyLabelShowsWholeBesideItsControlAndStoredTextsFromTheirStart_data();
    void everyLabelShowsWholeBesideItsControlAndStoredTextsFromTheirStart();
    void controlsAreNamedByTheirLabelsInTabOrder_data();
    void controlsAreNamedByTheirLabelsInTabOrder();
    void saveChecksInOrderAndStopsAtTheFirstEmptyEntry_data();
    void saveChecksInOrderAndStopsAtTheFirstEmptyEntry();
    void newBookIsStoredAsTypedWithCapitalsCutsAndThePickerTime();
    void newReaderIsStoredAsTyped();
    void valueBoxStoresWholeNumbersAndRefusesTheRest_data();
    void valueBoxStoresWholeNumbersAndRefusesTheRest();
    void editOfAnUndatedRowThenNewKeepsThePickers();
    void aStoredDateThePickerCannotShowIsKeptUnlessADateIsPicked_data();
    void aStoredDateThePickerCannotShowIsKeptUnlessADateIsPicked();
    void closingDiscardsAndASecondNewPostsTheFirstWithoutChecks();

private:
    ProgramFixture program;
};

void EntryWindowsTest::everyLabelShowsWholeBesideItsControlAndStoredTextsFromTheirStart_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("fromStart"); // entries showing a long stored text
    QTest::newRow("main window") << u"anaform"_s << QStringList{};
    QTest::newRow("book") << u"kitap"_s
                          << QStringList{u"DBEdit1"_s, u"DBEdit2"_s, u"DBComboBox1"_s};
    QTest::newRow("reader") << u"okuyucu"_s << QStringList{u"DBEdit1"_s, u"DBEdit2"_s};
    QTest::newRow("loans") << u"emanetkitapkaydi"_s << QStringList{};
    QTest::newRow("loan") << u"emanet"_s << QStringList{u"DBComboBox1"_s};
}

// Every window as the user sees it, with a row of long texts open for an edit: no label is
// narrower than its caption or reaches under a control beside it, and whatever the program
// put into an entry shows from its first character.
void EntryWindowsTest::everyLabelShowsWholeBesideItsControlAndStoredTextsFromTheirStart() {
    QFETCH(QString, form);
    QFETCH(QStringList, fromStart);
    program.db->exec(u"UPDATE kitapkayit SET SERINO = '1234567890ABCDEF1234567890ABCD', "
                     u"KITABINADI = 'İNCE MEMED ' || 'DÖRDÜNCÜ CİLT VE DAHA UZUN BİR AD', "
                     u"TURU = 'ARAŞTIRMA YAYINLARI VE DAHA UZUN BİR TÜR ADI'"_s);
    program.db->insert(u"okuyucu"_s, {u"ADISOYADI"_s, u"OGRENIMDURUMU"_s},
                       {u"AYŞE NUR YILMAZ KARAKOYUNLU ÇAKIROĞLU"_s,
                        u"ÜNİVERSİTE ÖĞRENCİSİ MÜHENDİSLİK FAKÜLTE"_s});
    program.db->insert(u"hareket"_s, {u"O_ADI_SOYADI"_s, u"DURUM"_s},
                       {u"AYŞE"_s, u"Geri Alindi ve yeniden verildi"_s});
    for (data::TADOQuery* set : {anaform->kitap, anaform->okuyucu, emanetkitapkaydi->emanet}) {
        set->close();
        set->open();
    }
    QWidget* shown = anaform;
    if (form == u"kitap") {
        action("KitapKaydDzelt1")->trigger();
        shown = kitapkayit;
    } else if (form == u"okuyucu") {
        action("MenuItem2")->trigger();
        shown = okuyucu_kayit;
    } else if (form == u"emanet") {
        emanetkitapkaydi->findChild<QAction*>(u"MenuItem2"_s)->trigger();
        shown = emanetkitap;
    } else if (form == u"emanetkitapkaydi") {
        shown = emanetkitapkaydi;
    }
    QVERIFY(activate(shown));

    // Every label whole; nothing side by side on one parent overlaps.
    QStringList faults;
    QList<QWidget*> parents = shown->findChildren<QWidget*>();
    parents << shown;
    for (QWidget* parent : parents) {
        if (!parent->isVisible() || parent->inherits("QAbstractScrollArea") ||
            parent->inherits("QComboBox") || parent->inherits("QAbstractSpinBox"))
            continue; // a control's own parts
        const auto children = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (const QWidget* child : children) {
            if (!child->isVisible() || child->isWindow())
                continue;
            if (const auto* label = qobject_cast<const QLabel*>(child);
                label && label->width() < label->sizeHint().width())
                faults << label->text() + u" is cut"_s;
            for (const QWidget* other : children) {
                if (other == child || !other->isVisible() || other->isWindow() ||
                    child->objectName() > other->objectName())
                    continue;
                // Two controls may share their border pixel, as they were drawn; a label
                // shares nothing.
                const QRect common = other->geometry() & child->geometry();
                const bool label =
                    qobject_cast<const QLabel*>(child) || qobject_cast<const QLabel*>(other);
                if (!common.isEmpty() && (label || std::min(common.width(), common.height()) > 1))
                    faults << child->objectName() + u" overlaps "_s + other->objectName();
            }
        }
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u"; "_s)));
    QStringList shownFrom;
    for (const QString& name : fromStart) {
        const auto* line = control(shown, name)->findChild<QLineEdit*>();
        if (!line)
            line = static_cast<const QLineEdit*>(control(shown, name));
        QVERIFY2(line->fontMetrics().horizontalAdvance(line->text()) > line->width(),
                 qPrintable(name + u" holds no text longer than itself"_s));
        shownFrom << name + u'@' + QString::number(line->cursorPosition());
    }
    QStringList atStart;
    for (const QString& name : fromStart)
        atStart << name + u"@0"_s;
    QCOMPARE(shownFrom, atStart);
}

void EntryWindowsTest::controlsAreNamedByTheirLabelsInTabOrder_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("order"); // object name=label caption, in tab order
    QTest::newRow("book") << u"kitap"_s << u"Kitap Kayıt Formu"_s
                          << QStringList{u"DBEdit1=Kitap No"_s,
                                         u"DBEdit2=Kitap Adı"_s,
                                         u"DBEdit3=Yazarı"_s,
                                         u"DBComboBox1=Kitab Türü"_s,
                                         u"DBEdit4=Yayın Evi"_s,
                                         u"DBEdit9=Barkodu"_s,
                                         u"DBComboBox2=Edinme"_s,
                                         u"DBEdit5=Değeri"_s,
                                         u"DateTimePicker1=Edinme Tarihi"_s,
                                         u"DateTimePicker2=Baskı Tarihi"_s,
                                         u"DBEdit6=Basım  Yeri"_s,
                                         u"DBEdit7=Basım  Yılı"_s,
                                         u"DBEdit8=Baskı No"_s,
                                         u"DBRichEdit1=İçerik (Konusu)"_s,
                                         u"Button1=Kaydet"_s};
    QTest::newRow("reader") << u"okuyucu"_s << u"Okuyucu Kayıt Formu"_s
                            << QStringList{u"DBEdit1=Adı Soyadı"_s,
                                           u"DBEdit2=Öğrenim Durumu"_s,
                                           u"DBEdit3=Okulu"_s,
                                           u"DBEdit4=Numarası"_s,
                                           u"DBEdit6=Ünvanı"_s,
                                           u"DBEdit5=Doğum Yeri"_s,
                                           u"DateTimePicker1=Doğum Tarihi"_s,
                                           u"DBEdit8=Telefonu"_s,
                                           u"DBEdit9=Cep Telefonu"_s,
                                           u"DBRichEdit1=Adresi"_s,
                                           u"Button1=Kaydet"_s};
    QTest::newRow("loan") << u"emanet"_s << u"Emanet Verilen Kitap Kaydı"_s
                          << QStringList{u"DBLookupComboBox1=Okuyucu Adı Soyadı"_s,
                                         u"DBLookupComboBox2=Aldığı Kitap"_s,
                                         u"DateTimePicker2=Teslim Tarihi"_s,
                                         u"DateTimePicker1=Geri Getireceği Tarihi"_s,
                                         u"DBComboBox1=Durumu"_s,
                                         u"DBRichEdit1=Açıkalama"_s,
                                         u"Button1=Kaydet"_s};
}

// The first activation puts the focus on the first entry; Tab then runs through the table's
// order and back; each entry's accessible name is its label's caption.
void EntryWindowsTest::controlsAreNamedByTheirLabelsInTabOrder() {
    QFETCH(QString, form);
    QFETCH(QString, caption);
    QFETCH(QStringList, order);
    QWidget* w = window(form);
    QCOMPARE(w->windowTitle(), caption);
    if (form != u"emanet") // the title label; the loan window has none
        QCOMPARE(w->findChild<QLabel*>(u"Label1"_s)->text(), caption);
    QVERIFY(activate(w));
    QStringList seen;
    for (int i = 0; i <= order.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        while (focus && focus->objectName().isEmpty())
            focus = focus->parentWidget(); // the field inside a combo box or picker
        // Named by the label that stands beside it (the button by its caption).
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(focus);
        const auto labels = accessible->relations(QAccessible::Label);
        const bool button = qobject_cast<QPushButton*>(focus);
        seen << focus->objectName() + u'=' +
                    (button || labels.isEmpty() ? accessible : labels.front().first)
                        ->text(QAccessible::Name);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(seen, order + QStringList{order.front()});
}

void EntryWindowsTest::saveChecksInOrderAndStopsAtTheFirstEmptyEntry_data() {
    QTest::addColumn<QString>("form");
    QTest::addColumn<QStringList>("filled"); // entries given a text (a blank, a line break)
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const QStringList book{u"DBEdit1"_s, u"DBEdit2"_s, u"DBEdit3"_s, u"DBComboBox1"_s,
                           u"DBEdit4"_s, u"DBEdit6"_s, u"DBEdit7"_s, u"DBEdit8"_s};
    const QStringList bookMessages{
        u"Kitap No Alanı Boş"_s,           u"Kitap Adı Alanı Boş"_s,
        u"Yazarın Adı Giriniz "_s,         u"Kitabın Türünü Girmediniz "_s,
        u"Yayın Evi Adınız Girmediniz "_s, u"Basımı Yerini Girmediniz "_s,
        u"Basımı Yılını Girmediniz "_s,    u"Baskı No Girmediniz "_s};
    for (int i = 0; i < book.size(); ++i) {
        QStringList others = book;
        others.removeAt(i);
        QTest::addRow("book without %s", qPrintable(book[i]))
            << u"kitap"_s << others << bookMessages[i] << book[i];
    }
    QTest::newRow("book with nothing") << u"kitap"_s << QStringList{} << bookMessages[0] << book[0];
    // Entries that are not checked do not stand in for required ones.
    QTest::newRow("book with only the free entries")
        << u"kitap"_s << QStringList{u"DBEdit9"_s, u"DBComboBox2"_s, u"DBEdit5"_s}
        << bookMessages[0] << book[0];

    const QStringList reader{u"DBEdit1"_s, u"DBEdit2"_s, u"DBEdit8"_s, u"DBEdit9"_s,
                             u"DBRichEdit1"_s};
    const QStringList readerMessages{u"Adı Soyadı Girmediniz "_s, u"Öğrenim Durumu Girmediniz "_s,
                                     u"Telefon Numarasını Girmediniz "_s,
                                     u"Cep Telefon Numarasını Girmediniz "_s,
                                     u"Adres Girmediniz "_s};
    for (int i = 0; i < reader.size(); ++i) {
        QStringList others = reader;
        others.removeAt(i);
        others << u"DBEdit3"_s << u"DBEdit4"_s << u"DBEdit6"_s << u"DBEdit5"_s;
        QTest::addRow("reader without %s", qPrintable(reader[i]))
            << u"okuyucu"_s << others << readerMessages[i] << reader[i];
    }
}

// The check reads what the control shows; a blank or a lone line break is content. A failed
// check shows its message in the plain box, moves the focus and writes nothing.
void EntryWindowsTest::saveChecksInOrderAndStopsAtTheFirstEmptyEntry() {
    QFETCH(QString, form);
    QFETCH(QStringList, filled);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    const bool book = form == u"kitap";
    action(book ? "YeniKitapKayd1" : "YeniOkuyucuKayd1")->trigger();
    QWidget* w = window(form);
    QVERIFY(QTest::qWaitForWindowActive(w));
    for (const QString& name : filled)
        enterLines(control(w, name),
                   name == u"DBRichEdit1" ? QStringList{u""_s, u""_s} : QStringList{u" "_s});
    program.dialogs->clear();
    clickSave(w);

    QCOMPARE(program.dialogs->shown().size(), 1);
    const auto& box = program.dialogs->shown().front();
    QCOMPARE(box.caption, u"Ternavolk Kütüphane Takip"_s);
    QCOMPARE(box.text, message);
    QCOMPARE(box.icon, platform::Icon::None);
    QCOMPARE(box.buttons, platform::Buttons::Ok);
    QCOMPARE(box.placement, platform::Placement::ScreenCentre);
    QWidget* focused = QApplication::focusWidget();
    QVERIFY(focused == control(w, focus) || focused->parentWidget() == control(w, focus));
    QVERIFY(w->isVisible());
    data::TADOQuery* dataSet = book ? anaform->kitap : anaform->okuyucu;
    QCOMPARE(dataSet->state(), DataSetState::Insert);
    QVERIFY(dataSet->value(dataSet->recNo(), book ? 9 : 7).isNull()); // no date written
    QCOMPARE(program.db->count(book ? u"kitapkayit"_s : u"okuyucu"_s), book ? 1 : 0);
}

// Every entry of the book window typed by keys, then "Kaydet": the stored row has the capitals
// where the window shows them, the cuts at the columns' sizes, the value as a number and both
// dates with the pickers' time of day. The window closes and the grid stands on the new row.
void EntryWindowsTest::newBookIsStoredAsTypedWithCapitalsCutsAndThePickerTime() {
    action("YeniKitapKayd2")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(kitapkayit));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(kitapkayit->DBEdit1));
    const QString sixty = QString(30, u'ş') + QString(30, u'i');
    const QString threeHundred = QString(300, u'ğ');
    enterLines(kitapkayit->DBEdit1, {u"seri no ı-i 'tırnak' 1234567890123"_s});
    enterLines(kitapkayit->DBEdit2, {u"çalıkuşu"_s});
    enterLines(kitapkayit->DBEdit3, {u"reşat nuri güntekin"_s});
    enterLines(kitapkayit->DBComboBox1, {sixty});
    enterLines(kitapkayit->DBEdit4, {u"inkılâp"_s});
    enterLines(kitapkayit->DBComboBox2, {u"Bağış yoluyla"_s});
    enterLines(kitapkayit->DBEdit5, {u"-12"_s});
    enterLines(kitapkayit->DBEdit6, {u"istanbul"_s});
    enterLines(kitapkayit->DBEdit7, {u"19221922x99"_s});
    enterLines(kitapkayit->DBEdit8, {u"3"_s});
    enterLines(kitapkayit->DBRichEdit1, {u"İlk satır"_s, threeHundred});
    // What the entries show before the save: capitals, typing limits.
    QCOMPARE(kitapkayit->DBEdit1->text(), u"SERİ NO I-İ 'TIRNAK' 1234567890123"_s.left(30));
    // Leaving the kind box wrote the first fifty of its sixty capitals.
    QCOMPARE(kitapkayit->DBComboBox1->currentText(), QString(30, u'Ş') + QString(20, u'İ'));
    QCOMPARE(kitapkayit->DBEdit7->text(), u"19221922X9"_s);
    clickSave(kitapkayit);

    QCOMPARE(program.dialogs->texts(), QStringList{});
    QVERIFY(!kitapkayit->isVisible());
    QCOMPARE(anaform->kitap->state(), DataSetState::Browse);
    QCOMPARE(anaform->kitapSERINO->text(), u"SERİ NO I-İ 'TIRNAK' 1234567890123"_s.left(30));
    const QString aciklama = (u"İlk satır\r\n"_s + threeHundred).left(255);
    QCOMPARE(program.db->rows(u"SELECT "_s + bookColumns + u" FROM kitapkayit WHERE IDNO = 2"_s),
             (std::vector<QStringList>{
                 {u"SERİ NO I-İ 'TIRNAK' 1234567890123"_s.left(30), u"ÇALIKUŞU"_s,
                  u"REŞAT NURİ GÜNTEKİN"_s, (QString(30, u'Ş') + QString(30, u'İ')).left(50),
                  u"İNKILÂP"_s, u"<null>"_s, u"Bağış yoluyla"_s, u"-12"_s, firstPickerValue,
                  firstPickerValue, u"İSTANBUL"_s, u"19221922X9"_s, u"3"_s, aciklama}}));
}

void EntryWindowsTest::newReaderIsStoredAsTyped() {
    action("MenuItem1")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(okuyucu_kayit));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(okuyucu_kayit->DBEdit1));
    const QString values[] = {
        u"ayşe yılmaz"_s, u"ilkokul"_s,       u""_s, u"12"_s, u""_s, u"iğdır"_s,
        u"0212"_s,        u"0555 123 45 67"_s};
    data::TDBEdit* const edits[] = {okuyucu_kayit->DBEdit1, okuyucu_kayit->DBEdit2,
                                    okuyucu_kayit->DBEdit3, okuyucu_kayit->DBEdit4,
                                    okuyucu_kayit->DBEdit6, okuyucu_kayit->DBEdit5,
                                    okuyucu_kayit->DBEdit8, okuyucu_kayit->DBEdit9};
    for (int i = 0; i < 8; ++i)
        if (!values[i].isEmpty())
            enterLines(edits[i], {values[i]});
    enterLines(okuyucu_kayit->DBRichEdit1, {u"Çiçek sk. No:3"_s, u"Kadıköy"_s});
    clickSave(okuyucu_kayit);

    QCOMPARE(program.dialogs->texts(), QStringList{});
    QVERIFY(!okuyucu_kayit->isVisible());
    QCOMPARE(program.db->rows(u"SELECT "_s + readerColumns + u" FROM okuyucu"_s),
             (std::vector<QStringList>{{u"AYŞE YILMAZ"_s, u"İLKOKUL"_s, u"<null>"_s, u"12"_s,
                                        u"<null>"_s, u"İĞDIR"_s, firstPickerValue, u"0212"_s,
                                        u"0555 123 45 67"_s, u"Çiçek sk. No:3\r\nKadıköy"_s}}));
}

void EntryWindowsTest::valueBoxStoresWholeNumbersAndRefusesTheRest_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // empty: refused
    QTest::newRow("empty") << u""_s << u"<null>"_s;
    QTest::newRow("signed") << u"+12"_s << u"12"_s;
    QTest::newRow("largest") << u"2147483647"_s << u"2147483647"_s;
    QTest::newRow("smallest") << u"-2147483648"_s << u"-2147483648"_s;
    QTest::newRow("lone sign") << u"+"_s << QString();
    QTest::newRow("sign inside") << u"1+2"_s << QString();
    QTest::newRow("beyond 32 bits") << u"2147483648"_s << QString();
    QTest::newRow("letters dropped") << u"1a2"_s << u"12"_s;
}

// A refused value ends the save with the integer message; the row, its state and the window
// stay, the focus is back in the box, and nothing is stored.
void EntryWindowsTest::valueBoxStoresWholeNumbersAndRefusesTheRest() {
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    action("YeniKitapKayd1")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(kitapkayit));
    for (QWidget* w : std::initializer_list<QWidget*>{
             kitapkayit->DBEdit1, kitapkayit->DBEdit2, kitapkayit->DBEdit3, kitapkayit->DBComboBox1,
             kitapkayit->DBEdit4, kitapkayit->DBEdit6, kitapkayit->DBEdit7, kitapkayit->DBEdit8})
        enterLines(w, {u"x"_s});
    if (!typed.isEmpty())
        enterLines(kitapkayit->DBEdit5, {typed});
    clickSave(kitapkayit);

    if (stored.isEmpty()) {
        QCOMPARE(
            program.dialogs->texts(),
            QStringList{u"'"_s + typed + u"' is not a valid integer value for field 'DEGERI'"_s});
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(kitapkayit->DBEdit5));
        QVERIFY(kitapkayit->isVisible());
        QCOMPARE(anaform->kitap->state(), DataSetState::Insert);
        QCOMPARE(program.db->count(u"kitapkayit"_s), 1);
        return;
    }
    QCOMPARE(program.dialogs->texts(), QStringList{});
    QCOMPARE(program.db->rows(u"SELECT DEGERI FROM kitapkayit WHERE IDNO = 2"_s),
             (std::vector<QStringList>{{stored}}));
}

// Editing a row without dates puts day zero into the pickers, and a save writes day zero with
// the pickers' time of day; a new book then takes the same dates, since opening for a new book
// leaves the pickers alone. The same holds for the reader window's one picker.
void EntryWindowsTest::editOfAnUndatedRowThenNewKeepsThePickers() {
    action("KitapKaydDzelt1")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(kitapkayit));
    QCOMPARE(anaform->kitap->state(), DataSetState::Edit);
    QCOMPARE(kitapkayit->DBEdit2->text(), u"SEFİLLER"_s);
    QCOMPARE(kitapkayit->DateTimePicker1->date().toIso(), dayZeroAtPickerTime);
    clickSave(kitapkayit);
    QCOMPARE(program.dialogs->texts(), QStringList{});

    action("YeniKitapKayd1")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(kitapkayit));
    for (QWidget* w : std::initializer_list<QWidget*>{
             kitapkayit->DBEdit1, kitapkayit->DBEdit2, kitapkayit->DBEdit3, kitapkayit->DBComboBox1,
             kitapkayit->DBEdit4, kitapkayit->DBEdit6, kitapkayit->DBEdit7, kitapkayit->DBEdit8})
        enterLines(w, {u"y"_s});
    clickSave(kitapkayit);
    QCOMPARE(
        program.db->rows(u"SELECT IDNO, KITABINADI, EDINMETARIHI, BASKITARIHI "
                         u"FROM kitapkayit ORDER BY IDNO"_s),
        (std::vector<QStringList>{{u"1"_s, u"SEFİLLER"_s, dayZeroAtPickerTime, dayZeroAtPickerTime},
                                  {u"2"_s, u"Y"_s, dayZeroAtPickerTime, dayZeroAtPickerTime}}));

    // The edit action on a new reader row keeps the row and puts day zero into the picker.
    action("YeniOkuyucuKayd1")->trigger();
    action("MenuItem2")->trigger();
    QCOMPARE(anaform->okuyucu->state(), DataSetState::Insert);
    QCOMPARE(okuyucu_kayit->DateTimePicker1->date().toIso(), dayZeroAtPickerTime);
}

// Closing by any road drops a new row; a second "new" posts a row that was written into, with
// none of the window's checks, and starts another.
void EntryWindowsTest::closingDiscardsAndASecondNewPostsTheFirstWithoutChecks() {
    action("YeniOkuyucuKayd1")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(okuyucu_kayit));
    enterLines(okuyucu_kayit->DBEdit1, {u"kaybolacak"_s});
    okuyucu_kayit->close();
    QVERIFY(!okuyucu_kayit->isVisible());
    QCOMPARE(anaform->okuyucu->state(), DataSetState::Browse);
    QCOMPARE(anaform->okuyucu->recordCount(), 0);

    action("YeniOkuyucuKayd1")->trigger();
    QVERIFY(QTest::qWaitForWindowActive(okuyucu_kayit));
    enterLines(okuyucu_kayit->DBEdit1, {u"yarım"_s});
    okuyucu_kayit->DBEdit2->setFocus(); // written into the row on leaving
    action("YeniOkuyucuKayd1")->trigger();
    QCOMPARE(anaform->okuyucu->state(), DataSetState::Insert);
    QCOMPARE(okuyucu_kayit->DBEdit1->text(), QString());
    QCOMPARE(program.db->rows(u"SELECT ADISOYADI, TELEFONU, DOGUMTARIHI FROM okuyucu"_s),
             (std::vector<QStringList>{{u"YARIM"_s, u"<null>"_s, u"<null>"_s}}));
    QCOMPARE(program.dialogs->texts(), QStringList{});
}

void EntryWindowsTest::aStoredDateThePickerCannotShowIsKeptUnlessADateIsPicked_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    // A date written by another tool that the program cannot read shows as day zero.
    QTest::newRow("unreadable") << u"geçen yaz"_s << dayZeroAtPickerTime;
    // A date before the picker's first day (an old book brought across) shows as that day.
    QTest::newRow("before 14 September 1752")
        << u"1700-05-01 00:00:00.000"_s << u"1752-09-14 16:15:25.890"_s;
}

// Such a date shows in the picker as it can; saving the row after an edit of another column
// keeps it as stored, until the user picks a date for it.
void EntryWindowsTest::aStoredDateThePickerCannotShowIsKeptUnlessADateIsPicked() {
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    program.db->exec(u"UPDATE kitapkayit SET EDINMETARIHI = '%1'"_s.arg(stored));
    anaform->kitap->close();
    anaform->kitap->open();
    const QString select = u"SELECT EDINMETARIHI, BASKITARIHI, YAZARI FROM kitapkayit"_s;
    action("KitapKaydDzelt1")->trigger();
    QCOMPARE(kitapkayit->DateTimePicker1->date().toIso(), shown);
    kitapkayit->DBEdit3->setFocus(Qt::OtherFocusReason);
    QTest::keyClick(kitapkayit->DBEdit3, Qt::Key_End);
    typeText(kitapkayit->DBEdit3, u"X"_s); // the author gets one more letter
    clickSave(kitapkayit);
    QCOMPARE(program.db->rows(select),
             (std::vector<QStringList>{{stored, dayZeroAtPickerTime, u"VİCTOR HUGOX"_s}}));

    action("KitapKaydDzelt1")->trigger();
    static_cast<QDateEdit*>(kitapkayit->DateTimePicker1)->setDate(QDate(2020, 1, 2)); // typed
    clickSave(kitapkayit);
    QCOMPARE(program.db->rows(select),
             (std::vector<QStringList>{
                 {u"2020-01-02 16:15:25.890"_s, dayZeroAtPickerTime, u"VİCTOR HUGOX"_s}}));
    QCOMPARE(program.dialogs->texts(), QStringList{});
}

QTEST_MAIN(EntryWindowsTest)
#include "tst_entrywindows.moc"
