// The bound edit, combo box and rich-text edit over the book record set of a real temporary
// database: what they show, when they start an edit, when and how they write, how they fail.

#include "data/adoquery.h"
#include "data/datasource.h"
#include "data/field.h"
#include "data/tables.h"
#include "data/widgets/dbcombobox.h"
#include "data/widgets/dbedit.h"
#include "data/widgets/dbrichedit.h"
#include "platform/beep.h"
#include "platform/guard.h"
#include "support/menus.h"
#include "support/scripteddialogs.h"
#include "support/tempdatabase.h"
#include "support/typing.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <map>
#include <memory>

using namespace Qt::Literals::StringLiterals;
using data::DataSetState;
using testsupport::chooseFromContextMenu;
using testsupport::typeText;

Q_DECLARE_METATYPE(data::DataSetState)

namespace {

// Opens a control's context menu, triggers the entry of that object name when it is enabled and
// closes the menu. Returns whether the entry was there and enabled.
QString controlText(QWidget* control) {
    if (auto* edit = qobject_cast<data::TDBEdit*>(control))
        return edit->text();
    if (auto* combo = qobject_cast<data::TDBComboBox*>(control))
        return combo->currentText();
    if (auto* rich = qobject_cast<data::TDBRichEdit*>(control))
        return rich->toPlainText();
    return u"<no control>"_s;
}

} // namespace

class BoundControlsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<testsupport::ScriptedDialogs> dialogs_;
    std::unique_ptr<testsupport::TempDatabase> db_;
    std::unique_ptr<data::TADOQuery> kitap_;
    std::unique_ptr<data::TDataSource> kitapD_;
    std::unique_ptr<QWidget> window_;
    QVBoxLayout* layout_ = nullptr;
    QLineEdit* other_ = nullptr;  // an unbound box to move the focus to
    QPushButton* save_ = nullptr; // "Kaydet": posts the book record set, as the windows do
    int saves_ = 0;

    template <typename Control> Control* bind(const QString& column) {
        auto* control = new Control(window_.get());
        control->setDataSource(kitapD_.get());
        control->setDataField(column);
        layout_->insertWidget(layout_->count() - 2, control);
        return control;
    }
    // One control of the kind named "edit", "combo" (items "Roman", "Deneme") or "rich".
    QWidget* bindKind(const QString& kind, const QString& column) {
        if (kind == u"edit")
            return bind<data::TDBEdit>(column);
        if (kind == u"rich")
            return bind<data::TDBRichEdit>(column);
        auto* combo = bind<data::TDBComboBox>(column);
        combo->addItems({u"Roman"_s, u"Deneme"_s});
        return combo;
    }
    static QWidget* menuTarget(QWidget* control) {
        auto* combo = qobject_cast<data::TDBComboBox*>(control);
        return combo ? combo->lineEdit() : control;
    }
    bool showWindow(QWidget* focus) {
        window_->show();
        window_->activateWindow();
        if (!QTest::qWaitForWindowActive(window_.get()))
            return false;
        focus->setFocus(Qt::OtherFocusReason);
        return focus->hasFocus();
    }
    QStringList row(int id, const QString& columns) {
        const auto r =
            db_->rows(u"SELECT %1 FROM kitapkayit WHERE IDNO = %2"_s.arg(columns).arg(id));
        return r.empty() ? QStringList() : r.front();
    }
    QString pending(const QString& column) { return kitap_->fieldByName(column).text(); }

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // Every kind of control
    void changingKeyStartsEditFromBrowse_data();
    void changingKeyStartsEditFromBrowse();
    void eachKind_data();
    void closedRecordSetShowsNothingAndRefusesChanges_data() { eachKind_data(); }
    void closedRecordSetShowsNothingAndRefusesChanges();
    void escapeDropsTheUnwrittenChange_data() { eachKind_data(); }
    void escapeDropsTheUnwrittenChange();
    void controlsFollowRowsStatesAndWrites();
    void controlOutlivingItsDataSourceGoesEmpty();

    // Bound edit
    void editWritesOnLeavingBeforePostAndOnMove();
    void editRefusesTwentyFirstCharacterTypedOrPasted();
    void editOnIntegerColumnTakesSignsAndDigitsOnly();
    void editInvalidIntegerOnLeavingKeepsFocusAndState();
    void editInvalidIntegerStopsThePost();
    void editTurkishCapitals();

    // Bound combo box
    void comboChoosingOrTypingStartsEditAndWrites();
    void comboUpperCaseTurkish();

    // Bound rich-text edit
    void richEditCutsAt255AndStoresLineBreaks();
};

void BoundControlsTest::initTestCase() {
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}

void BoundControlsTest::init() {
    dialogs_ = std::make_unique<testsupport::ScriptedDialogs>();
    db_ = std::make_unique<testsupport::TempDatabase>();
    const QStringList columns{u"KITABINADI"_s, u"BARKODU"_s, u"TURU"_s,  u"DEGERI"_s,
                              u"ACIKLAMA"_s,   u"YAZARI"_s,  u"EDINME"_s};
    db_->insert(u"kitapkayit"_s, columns,
                {u"Çalıkuşu"_s, u"A12"_s, u"Roman"_s, 15, u"a12"_s, u"Reşat Nuri"_s, u"Bağış"_s});
    db_->insert(u"kitapkayit"_s, columns,
                {u"Sinekli Bakkal"_s, u"ışık2"_s, u"Deneme"_s, QVariant(), QVariant(),
                 u"Halide Edib"_s, QVariant()});
    kitap_ = std::make_unique<data::TADOQuery>(u"kitap"_s, data::kitapkayitTable(),
                                               u"select * from  kitapkayit"_s);
    kitap_->setConnectionString(db_->connectionString());
    kitap_->open();
    kitapD_ = std::make_unique<data::TDataSource>(u"kitapD"_s, kitap_.get());

    window_ = std::make_unique<QWidget>();
    window_->resize(400, 400);
    layout_ = new QVBoxLayout(window_.get());
    other_ = new QLineEdit(window_.get());
    save_ = new QPushButton(u"Kaydet"_s, window_.get());
    layout_->addWidget(other_);
    layout_->addWidget(save_);
    saves_ = 0;
    connect(save_, &QPushButton::clicked, this, [this] {
        ++saves_;
        platform::guard([this] { kitap_->post(); });
    });
    QGuiApplication::clipboard()->setText(u"xy"_s);
}

void BoundControlsTest::cleanup() {
    window_.reset();
    kitapD_.reset();
    kitap_.reset();
    db_.reset();
    dialogs_.reset();
}

// ---------------------------------------------------------------------------------------------
// Every kind of control

void BoundControlsTest::changingKeyStartsEditFromBrowse_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("edits");

    // ACIKLAMA holds "a12"; the edit shows capitals, the others keep the case. The clipboard
    // holds "xy"; the caret stands at the end.
    QTest::newRow("edit: typed character") << u"edit"_s << u"type ş"_s << u"A12Ş"_s << true;
    QTest::newRow("edit: Backspace") << u"edit"_s << u"Backspace"_s << u"A1"_s << true;
    QTest::newRow("edit: Delete") << u"edit"_s << u"Home Delete"_s << u"12"_s << true;
    QTest::newRow("edit: Ctrl+V") << u"edit"_s << u"Ctrl+V"_s << u"A12XY"_s << true;
    QTest::newRow("edit: Shift+Insert") << u"edit"_s << u"Shift+Insert"_s << u"A12XY"_s << true;
    QTest::newRow("edit: Ctrl+X") << u"edit"_s << u"all Ctrl+X"_s << u""_s << true;
    QTest::newRow("edit: Ctrl+Z") << u"edit"_s << u"Ctrl+Z"_s << u"A12"_s << true;
    QTest::newRow("edit: menu paste") << u"edit"_s << u"menu edit-paste"_s << u"A12XY"_s << true;
    QTest::newRow("edit: menu cut") << u"edit"_s << u"all menu edit-cut"_s << u""_s << true;
    QTest::newRow("edit: Left") << u"edit"_s << u"Left"_s << u"A12"_s << false;
    QTest::newRow("edit: Ctrl+C") << u"edit"_s << u"all Ctrl+C"_s << u"A12"_s << false;
    QTest::newRow("combo: typed character") << u"combo"_s << u"type ş"_s << u"a12ş"_s << true;
    QTest::newRow("combo: Ctrl+X") << u"combo"_s << u"all Ctrl+X"_s << u""_s << true;
    QTest::newRow("combo: menu paste") << u"combo"_s << u"menu edit-paste"_s << u"a12xy"_s << true;
    QTest::newRow("combo: Down chooses") << u"combo"_s << u"Down"_s << u"Roman"_s << true;
    QTest::newRow("combo: opening the list") << u"combo"_s << u"open"_s << u"a12"_s << true;
    QTest::newRow("rich: Enter") << u"rich"_s << u"Enter"_s << u"a12\n"_s << true;
    QTest::newRow("rich: Ctrl+Enter") << u"rich"_s << u"Ctrl+Enter"_s << u"a12\n"_s << true;
    QTest::newRow("rich: Ctrl+V") << u"rich"_s << u"Ctrl+V"_s << u"a12xy"_s << true;
    QTest::newRow("rich: menu paste") << u"rich"_s << u"menu edit-paste"_s << u"a12xy"_s << true;
    QTest::newRow("rich: Left") << u"rich"_s << u"Left"_s << u"a12"_s << false;
}

void BoundControlsTest::changingKeyStartsEditFromBrowse() {
    QFETCH(QString, kind);
    QFETCH(QString, action);
    QFETCH(QString, expected);
    QFETCH(bool, edits);

    QWidget* control = bindKind(kind, u"ACIKLAMA"_s);
    QVERIFY(showWindow(control));
    QTest::keyClick(control, Qt::Key_End);
    QCOMPARE(kitap_->state(), DataSetState::Browse);
    if (action.startsWith(u"all "_s)) {
        QTest::keyClick(control, Qt::Key_A, Qt::ControlModifier); // selecting changes nothing
        action = action.mid(4);
    }
    const std::map<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> keys{
        {u"Backspace"_s, {Qt::Key_Backspace, Qt::NoModifier}},
        {u"Ctrl+V"_s, {Qt::Key_V, Qt::ControlModifier}},
        {u"Shift+Insert"_s, {Qt::Key_Insert, Qt::ShiftModifier}},
        {u"Ctrl+X"_s, {Qt::Key_X, Qt::ControlModifier}},
        {u"Ctrl+C"_s, {Qt::Key_C, Qt::ControlModifier}},
        {u"Ctrl+Z"_s, {Qt::Key_Z, Qt::ControlModifier}},
        {u"Left"_s, {Qt::Key_Left, Qt::NoModifier}},
        {u"Down"_s, {Qt::Key_Down, Qt::NoModifier}},
        {u"Enter"_s, {Qt::Key_Return, Qt::NoModifier}},
        {u"Ctrl+Enter"_s, {Qt::Key_Return, Qt::ControlModifier}}};
    if (action.startsWith(u"type "_s))
        typeText(control, action.mid(5));
    else if (action.startsWith(u"menu "_s))
        QVERIFY(chooseFromContextMenu(menuTarget(control), action.mid(5)));
    else if (action == u"Home Delete") {
        QTest::keyClick(control, Qt::Key_Home);
        QTest::keyClick(control, Qt::Key_Delete);
    } else if (action == u"open") {
        auto* combo = static_cast<data::TDBComboBox*>(control);
        combo->showPopup();
        QVERIFY(combo->view()->isVisible());
        combo->hidePopup();
    } else
        QTest::keyClick(control, keys.at(action).first, keys.at(action).second);

    QCOMPARE(controlText(control), expected);
    QCOMPARE(kitap_->state(), edits ? DataSetState::Edit : DataSetState::Browse);
    QCOMPARE(kitap_->recNo(), 0);
    // Nothing is written before the control is left.
    QCOMPARE(pending(u"ACIKLAMA"_s), u"a12"_s);
    QCOMPARE(kitap_->modified(), false);
    if (action == u"Ctrl+X" || action == u"Ctrl+C" || action.startsWith(u"menu edit-c"_s))
        QCOMPARE(QGuiApplication::clipboard()->text(), kind == u"edit" ? u"A12"_s : u"a12"_s);
}

void BoundControlsTest::eachKind_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("edit") << u"edit"_s;
    QTest::newRow("combo") << u"combo"_s;
    QTest::newRow("rich") << u"rich"_s;
}

void BoundControlsTest::closedRecordSetShowsNothingAndRefusesChanges() {
    QFETCH(QString, kind);
    QWidget* control = bindKind(kind, u"BARKODU"_s);
    QVERIFY(showWindow(control));
    kitap_->close();
    QCOMPARE(controlText(control), u""_s);
    const int beeps = platform::beepCount();
    typeText(control, u"a5"_s);
    QTest::keyClick(control, Qt::Key_Backspace);
    QTest::keyClick(control, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(control, Qt::Key_Insert, Qt::ShiftModifier);
    QTest::keyClick(control, Qt::Key_Return);
    QTest::keyClick(control, Qt::Key_Down);
    QTest::keyClick(control, Qt::Key_F4);
    QVERIFY(!chooseFromContextMenu(menuTarget(control), u"edit-paste"_s));
    if (auto* combo = qobject_cast<data::TDBComboBox*>(control)) {
        combo->showPopup();
        QVERIFY(!combo->view()->isVisible());
        QCOMPARE(combo->currentIndex(), -1);
    }
    QCOMPARE(controlText(control), u""_s);
    QCOMPARE(kitap_->state(), DataSetState::Inactive);
    QCOMPARE(platform::beepCount(), beeps);

    // Leaving shows nothing; opening shows the first row again.
    other_->setFocus();
    QCOMPARE(dialogs_->shown().size(), 0);
    kitap_->open();
    QCOMPARE(controlText(control), u"A12"_s);
}

void BoundControlsTest::escapeDropsTheUnwrittenChange() {
    QFETCH(QString, kind);
    QWidget* control = bindKind(kind, u"KITABINADI"_s);
    const QString shown = kind == u"edit" ? u"ÇALIKUŞU"_s : u"Çalıkuşu"_s;
    QVERIFY(showWindow(control));
    QTest::keyClick(control, Qt::Key_End);
    typeText(control, u"77"_s);
    QCOMPARE(controlText(control), shown + u"77"_s);

    QTest::keyClick(control, Qt::Key_Escape);
    QCOMPARE(controlText(control), shown);
    if (auto* edit = qobject_cast<QLineEdit*>(menuTarget(control)))
        QCOMPARE(edit->selectedText(), shown);
    // The edit that the change started stays; leaving writes nothing.
    QCOMPARE(kitap_->state(), DataSetState::Edit);
    other_->setFocus();
    QCOMPARE(kitap_->modified(), false);
    QCOMPARE(pending(u"KITABINADI"_s), u"Çalıkuşu"_s);
}

void BoundControlsTest::controlsFollowRowsStatesAndWrites() {
    auto* first = bind<data::TDBEdit>(u"BARKODU"_s);
    auto* second = bind<data::TDBEdit>(u"BARKODU"_s);
    auto* combo = bind<data::TDBComboBox>(u"BARKODU"_s);
    auto* value = bind<data::TDBEdit>(u"DEGERI"_s);
    QCOMPARE(first->dataField(), u"BARKODU"_s);
    QCOMPARE(first->dataSource(), kitapD_.get());
    QCOMPARE(first->field(), &kitap_->fieldByName(u"BARKODU"));
    QCOMPARE(value->text(), u"15"_s);
    QCOMPARE(first->typingLimit(), 20);
    QCOMPARE(value->typingLimit(), 0);
    QVERIFY(first->isReadOnly());

    // A change shows in the other controls on the column once it is written.
    QVERIFY(showWindow(first));
    QTest::keyClick(first, Qt::Key_End); // the shown text starts at its first character
    typeText(first, u"5"_s);
    QVERIFY(!second->isReadOnly());
    QCOMPARE(second->text(), u"A12"_s);
    other_->setFocus();
    QCOMPARE(second->text(), u"A125"_s);
    QCOMPARE(combo->currentText(), u"A125"_s);
    kitap_->cancel();
    QCOMPARE(first->text(), u"A12"_s);
    QVERIFY(first->isReadOnly());

    // Another row: a stored small-letter text shows in capitals, a null integer empty.
    kitap_->next();
    QCOMPARE(first->text(), u"IŞIK2"_s);
    QCOMPARE(second->text(), u"IŞIK2"_s);
    QCOMPARE(combo->currentText(), u"ışık2"_s);
    QCOMPARE(value->text(), u""_s);
    kitap_->append();
    QCOMPARE(first->text(), u""_s);
    kitap_->fieldByName(u"BARKODU").setText(u"Yeni"_s);
    QCOMPARE(first->text(), u"YENİ"_s);
    QCOMPARE(combo->currentText(), u"Yeni"_s);
    kitap_->cancel();
    QCOMPARE(first->text(), u"IŞIK2"_s);

    kitap_->close();
    QCOMPARE(first->text(), u""_s);
    QCOMPARE(first->field(), nullptr);
    QVERIFY(first->isReadOnly());
    kitap_->open();
    QCOMPARE(first->text(), u"A12"_s);
}

void BoundControlsTest::controlOutlivingItsDataSourceGoesEmpty() {
    auto* edit = bind<data::TDBEdit>(u"BARKODU"_s);
    kitapD_.reset();
    QCOMPARE(edit->dataSource(), nullptr);
    QCOMPARE(edit->field(), nullptr);
    QCOMPARE(edit->text(), u""_s);
    QVERIFY(edit->isReadOnly());
    data::TDataSource again(u"kitapD"_s, kitap_.get());
    edit->setDataSource(&again);
    QCOMPARE(edit->text(), u"A12"_s);
}

// ---------------------------------------------------------------------------------------------
// Bound edit

void BoundControlsTest::editWritesOnLeavingBeforePostAndOnMove() {
    auto* barcode = bind<data::TDBEdit>(u"BARKODU"_s);
    QVERIFY(showWindow(barcode));
    QTest::keyClick(barcode, Qt::Key_End); // the shown text starts at its first character
    typeText(barcode, u"9"_s);
    QCOMPARE(barcode->text(), u"A129"_s);
    QCOMPARE(pending(u"BARKODU"_s), u"A12"_s);

    // Leaving writes into the row; only the post stores it.
    other_->setFocus();
    QCOMPARE(pending(u"BARKODU"_s), u"A129"_s);
    QCOMPARE(kitap_->modified(), true);
    QCOMPARE(row(1, u"BARKODU"_s), QStringList{u"A12"_s});
    kitap_->post();
    QCOMPARE(row(1, u"BARKODU"_s), QStringList{u"A129"_s});
    QCOMPARE(barcode->text(), u"A129"_s);
    QVERIFY(barcode->isReadOnly());

    // A post while the focus is still in the edit asks it for its text first.
    barcode->setFocus();
    typeText(barcode, u"8"_s);
    QCOMPARE(kitap_->state(), DataSetState::Edit);
    kitap_->post();
    QCOMPARE(row(1, u"BARKODU"_s), QStringList{u"A1298"_s});
    QCOMPARE(kitap_->state(), DataSetState::Browse);

    // Moving to another row settles: the typed text is posted on the way.
    typeText(barcode, u"7"_s);
    kitap_->next();
    QCOMPARE(row(1, u"BARKODU"_s), QStringList{u"A12987"_s});
    QCOMPARE(barcode->text(), u"IŞIK2"_s);
    QCOMPARE(dialogs_->shown().size(), 0);
}

void BoundControlsTest::editRefusesTwentyFirstCharacterTypedOrPasted() {
    auto* barcode = bind<data::TDBEdit>(u"BARKODU"_s);
    QVERIFY(showWindow(barcode));
    barcode->selectAll();
    typeText(barcode, u"abcdefghijklmnopqrstuvwxy"_s);
    QCOMPARE(barcode->text(), u"ABCDEFGHİJKLMNOPQRST"_s);

    barcode->selectAll();
    QGuiApplication::clipboard()->setText(u"123456789012345678901234567890"_s);
    QTest::keyClick(barcode, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(barcode->text(), u"12345678901234567890"_s);

    // Pasted behind text already there: only what still fits.
    barcode->setCursorPosition(20);
    QTest::keyClick(barcode, Qt::Key_Backspace);
    QTest::keyClick(barcode, Qt::Key_Backspace);
    QGuiApplication::clipboard()->setText(u"xyz"_s);
    QTest::keyClick(barcode, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(barcode->text(), u"123456789012345678XY"_s);
    // A character of two code units that does not fit whole is left out whole.
    QTest::keyClick(barcode, Qt::Key_Backspace);
    QTest::keyClick(barcode, Qt::Key_Backspace);
    QGuiApplication::clipboard()->setText(u"x🙂z"_s);
    QTest::keyClick(barcode, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(barcode->text(), u"123456789012345678X"_s);

    other_->setFocus();
    kitap_->post();
    QCOMPARE(row(1, u"BARKODU"_s), QStringList{u"123456789012345678X"_s});

    // A stored text longer than the column (written by another tool) shows whole; typing
    // cannot make it longer, and shortening it writes only what the user left.
    const QString stored = u"1234567890123456789012345"_s;
    db_->exec(u"update kitapkayit set BARKODU = '"_s + stored + u"' where IDNO = 1"_s);
    kitap_->close();
    kitap_->open();
    QCOMPARE(barcode->text(), stored);
    barcode->setFocus();
    barcode->end(false);
    typeText(barcode, u"6"_s);
    QCOMPARE(barcode->text(), stored);
    QTest::keyClick(barcode, Qt::Key_Backspace);
    typeText(barcode, u"6"_s);
    QCOMPARE(barcode->text(), stored.left(24));
    other_->setFocus();
    kitap_->post();
    QCOMPARE(row(1, u"BARKODU"_s), QStringList{stored.left(20)});
}

void BoundControlsTest::editOnIntegerColumnTakesSignsAndDigitsOnly() {
    auto* value = bind<data::TDBEdit>(u"DEGERI"_s);
    QVERIFY(showWindow(value));
    const int beeps = platform::beepCount();
    value->selectAll();
    typeText(value, u"-4a2 ş."_s);
    QCOMPARE(value->text(), u"-42"_s);
    QCOMPARE(platform::beepCount(), beeps + 4);
    other_->setFocus();
    kitap_->post();
    QCOMPARE(row(1, u"DEGERI"_s), QStringList{u"-42"_s});

    // The empty text stores no value, not 0.
    value->setFocus();
    value->selectAll();
    QTest::keyClick(value, Qt::Key_Delete);
    QCOMPARE(value->text(), u""_s);
    kitap_->post();
    QCOMPARE(row(1, u"DEGERI"_s), QStringList{u"<null>"_s});
    QCOMPARE(dialogs_->shown().size(), 0);

    // A refused character in browse starts no edit.
    typeText(value, u"x"_s);
    QCOMPARE(kitap_->state(), DataSetState::Browse);
    QCOMPARE(platform::beepCount(), beeps + 5);
}

void BoundControlsTest::editInvalidIntegerOnLeavingKeepsFocusAndState() {
    auto* value = bind<data::TDBEdit>(u"DEGERI"_s);
    QVERIFY(showWindow(value));
    QTest::keyClick(value, Qt::Key_End); // the shown text starts at its first character
    typeText(value, u"1-2"_s);
    QCOMPARE(value->text(), u"151-2"_s);

    other_->setFocus();
    QCOMPARE(dialogs_->texts(),
             QStringList{u"'151-2' is not a valid integer value for field 'DEGERI'"_s});
    QCOMPARE(dialogs_->shown().front().caption, u"Ternavolk Kütüphane Takip"_s);
    QCOMPARE(dialogs_->shown().front().icon, platform::Icon::Stop);
    QCOMPARE(QApplication::focusWidget(), value);
    QCOMPARE(value->selectedText(), u"151-2"_s);
    QCOMPARE(kitap_->state(), DataSetState::Edit);
    QCOMPARE(pending(u"DEGERI"_s), u"15"_s);

    // Clicking "Kaydet" leaves the box first: the write fails once more, the focus comes back,
    // and the click does not happen, so there is no second box from the post.
    QTest::mouseClick(save_, Qt::LeftButton);
    QCOMPARE(dialogs_->shown().size(), 2);
    QCOMPARE(dialogs_->texts().last(),
             u"'151-2' is not a valid integer value for field 'DEGERI'"_s);
    QCOMPARE(saves_, 0);
    QCOMPARE(QApplication::focusWidget(), value);
    QCOMPARE(kitap_->state(), DataSetState::Edit);
    QCOMPARE(row(1, u"DEGERI"_s), QStringList{u"15"_s});

    // Corrected, the next click leaves, writes and posts.
    value->selectAll();
    typeText(value, u"+20"_s);
    QTest::mouseClick(save_, Qt::LeftButton);
    QCOMPARE(saves_, 1);
    QCOMPARE(dialogs_->shown().size(), 2);
    QCOMPARE(row(1, u"DEGERI"_s), QStringList{u"20"_s});
    QCOMPARE(kitap_->state(), DataSetState::Browse);
    QCOMPARE(value->text(), u"20"_s);
}

void BoundControlsTest::editInvalidIntegerStopsThePost() {
    auto* value = bind<data::TDBEdit>(u"DEGERI"_s);
    QVERIFY(showWindow(value));
    // Pasted text is not filtered, but it shows in capitals like everything in the edit.
    QGuiApplication::clipboard()->setText(u"12a"_s);
    value->selectAll();
    QTest::keyClick(value, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(value->text(), u"12A"_s);

    // The post asks for the text while the focus is still in the box: the failure travels back
    // through the post, which does not take place.
    save_->click();
    QCOMPARE(saves_, 1);
    QCOMPARE(dialogs_->texts(),
             QStringList{u"'12A' is not a valid integer value for field 'DEGERI'"_s});
    QCOMPARE(kitap_->state(), DataSetState::Edit);
    QCOMPARE(value->text(), u"12A"_s);
    QCOMPARE(row(1, u"DEGERI"_s), QStringList{u"15"_s});
}

void BoundControlsTest::editTurkishCapitals() {
    auto* author = bind<data::TDBEdit>(u"YAZARI"_s);
    QVERIFY(showWindow(author));
    QCOMPARE(author->text(), u"REŞAT NURİ"_s);
    author->selectAll();
    typeText(author, u"iıçşğüö zi"_s);
    QCOMPARE(author->text(), u"İIÇŞĞÜÖ Zİ"_s);
    QGuiApplication::clipboard()->setText(u" ılgaz"_s);
    QTest::keyClick(author, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(author->text(), u"İIÇŞĞÜÖ Zİ ILGAZ"_s);
    other_->setFocus();
    kitap_->post();
    QCOMPARE(row(1, u"YAZARI"_s), QStringList{u"İIÇŞĞÜÖ Zİ ILGAZ"_s});
}

// ---------------------------------------------------------------------------------------------
// Bound combo box

void BoundControlsTest::comboChoosingOrTypingStartsEditAndWrites() {
    auto* kind = bind<data::TDBComboBox>(u"TURU"_s);
    kind->addItems({u"Roman"_s, u"Deneme"_s, u"Hikaye"_s});
    QVERIFY(showWindow(kind));
    QCOMPARE(kind->currentText(), u"Roman"_s);

    // Choosing from the open list: Down, then Enter in the list.
    QTest::keyClick(kind, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(kitap_->state(), DataSetState::Edit);
    QTRY_VERIFY(kind->view()->isVisible());
    QTest::keyClick(kind->view(), Qt::Key_Down);
    QTest::keyClick(kind->view(), Qt::Key_Down);
    QTest::keyClick(kind->view(), Qt::Key_Return);
    QTRY_VERIFY(!kind->view()->isVisible());
    QCOMPARE(kind->currentText(), u"Hikaye"_s);
    QCOMPARE(pending(u"TURU"_s), u"Roman"_s);
    kitap_->post();
    QCOMPARE(row(1, u"TURU"_s), QStringList{u"Hikaye"_s});

    // Up chooses the item above, starting an edit from browse.
    kind->setFocus();
    QTest::keyClick(kind, Qt::Key_Up);
    QCOMPARE(kitap_->state(), DataSetState::Edit);
    QCOMPARE(kind->currentText(), u"Deneme"_s);

    // Typing has no limit; the write cuts the text to the column's 50 characters.
    kind->lineEdit()->selectAll();
    const QString sixty = u"abcdefghij"_s.repeated(6);
    typeText(kind, sixty);
    QCOMPARE(kind->currentText(), sixty);
    other_->setFocus();
    QCOMPARE(pending(u"TURU"_s), sixty.left(50));
    QCOMPARE(kind->currentText(), sixty.left(50));
    kitap_->post();
    QCOMPARE(row(1, u"TURU"_s), QStringList{sixty.left(50)});
    QCOMPARE(dialogs_->shown().size(), 0);
}

void BoundControlsTest::comboUpperCaseTurkish() {
    auto* kind = bind<data::TDBComboBox>(u"TURU"_s);
    kind->addItems({u"Roman"_s, u"ARAŞTıRMA"_s});
    kind->setUpperCase(true);
    kind->addItem(u"dergi"_s);
    QVERIFY(kind->upperCase());
    // The items stay as given; the list shows them in capitals.
    QCOMPARE(kind->itemText(1), u"ARAŞTıRMA"_s);
    QCOMPARE(kind->itemText(2), u"dergi"_s);
    QCOMPARE(kind->shownItemText(0), u"ROMAN"_s);
    QCOMPARE(kind->shownItemText(1), u"ARAŞTIRMA"_s);
    QCOMPARE(kind->shownItemText(2), u"DERGİ"_s);
    auto* acquired = bind<data::TDBComboBox>(u"EDINME"_s);
    acquired->addItems({u"Bağış"_s, u"Satınalma"_s});
    QVERIFY(!acquired->upperCase());
    QCOMPARE(acquired->currentText(), u"Bağış"_s);
    QCOMPARE(acquired->currentIndex(), 0);
    QCOMPARE(kind->currentText(), u"ROMAN"_s);
    QCOMPARE(kind->currentIndex(), 0);

    // A value that is no item shows as it is (in capitals here), with no item current.
    kitap_->next();
    QCOMPARE(kind->currentText(), u"DENEME"_s);
    QCOMPARE(kind->currentIndex(), -1);
    QVERIFY(showWindow(kind));
    kind->lineEdit()->selectAll();
    typeText(kind, u"ıi şiir"_s);
    QCOMPARE(kind->currentText(), u"Iİ ŞİİR"_s);
    acquired->setFocus();
    typeText(acquired, u"bağış"_s);
    QCOMPARE(acquired->currentText(), u"bağış"_s);
    other_->setFocus();
    kitap_->post();
    QCOMPARE(row(2, u"TURU, EDINME"_s), (QStringList{u"Iİ ŞİİR"_s, u"bağış"_s}));

    // A chosen item writes its capitals.
    kind->setFocus();
    QTest::keyClick(kind, Qt::Key_Down);
    QCOMPARE(kind->currentText(), u"ROMAN"_s);
    kitap_->post();
    QCOMPARE(row(2, u"TURU"_s), QStringList{u"ROMAN"_s});
}

// ---------------------------------------------------------------------------------------------
// Bound rich-text edit

void BoundControlsTest::richEditCutsAt255AndStoresLineBreaks() {
    auto* remark = bind<data::TDBRichEdit>(u"ACIKLAMA"_s);
    QVERIFY(showWindow(remark));
    remark->selectAll();
    const QString text = u"Kırk harflik bir satır yazıyoruz burada "_s.repeated(8).left(300);
    QCOMPARE(text.size(), 300);
    typeText(remark, text);
    QCOMPARE(remark->toPlainText(), text); // no typing limit
    other_->setFocus();
    QCOMPARE(pending(u"ACIKLAMA"_s), text.left(255));
    QCOMPARE(remark->toPlainText(), text.left(255));
    kitap_->post();
    QCOMPARE(row(1, u"ACIKLAMA"_s), QStringList{text.left(255)});

    // Enter starts a new line; the stored line break is CR LF and shows as one line break.
    remark->setFocus();
    remark->selectAll();
    typeText(remark, u"ilk"_s);
    QTest::keyClick(remark, Qt::Key_Return);
    typeText(remark, u"ikinci"_s);
    QCOMPARE(remark->toPlainText(), u"ilk\nikinci"_s);
    kitap_->post();
    QCOMPARE(row(1, u"ACIKLAMA"_s), QStringList{u"ilk\r\nikinci"_s});
    QCOMPARE(remark->toPlainText(), u"ilk\nikinci"_s);

    // A stored null shows as the empty text.
    kitap_->next();
    QCOMPARE(remark->toPlainText(), u""_s);
    QCOMPARE(dialogs_->shown().size(), 0);
}

QTEST_MAIN(BoundControlsTest)
#include "tst_boundcontrols.moc"
