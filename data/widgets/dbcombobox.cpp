#include "data/widgets/dbcombobox.h"

#include "data/field.h"
#include "platform/connect.h"
#include "platform/guard.h"
#include "platform/textrules.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace data {

namespace {
// Shows the list's entries in capitals while the model keeps them as they were given.
class UpperCaseItems : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant& value, const QLocale& locale) const override {
        return platform::turkishUpper(QStyledItemDelegate::displayText(value, locale));
    }
};
} // namespace

TDBComboBox::TDBComboBox(QWidget* parent)
    : QComboBox(parent), BoundField(static_cast<FieldDataLink::Control&>(*this)) {
    QComboBox::setEditable(true);
    // The field takes whatever is typed: Enter adds no item and nothing is completed.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    lineEdit()->setReadOnly(true);
    lineEdit()->installEventFilter(this);
    validator_ = new boundinput::LineValidator(lineEdit(), false);
    lineEdit()->setValidator(validator_);
    plainItems_ = itemDelegate();
    upperItems_ = new UpperCaseItems(this);

    platform::connectGuarded(lineEdit(), &QLineEdit::textEdited, this,
                             [this] { link_.setModified(); });
    platform::connectGuarded(this, &QComboBox::activated, this, [this] { link_.setModified(); });
}

TDBComboBox::~TDBComboBox() = default;

void TDBComboBox::setUpperCase(bool upper) {
    if (upper == upper_)
        return;
    upper_ = upper;
    validator_->setUpperCase(upper_);
    setItemDelegate(upper_ ? upperItems_ : plainItems_);
    const QString shown = shownText(lineEdit()->text());
    if (lineEdit()->text() != shown)
        validator_->show(shown);
}

QString TDBComboBox::shownItemText(int index) const {
    return shownText(itemText(index));
}

QString TDBComboBox::shownText(const QString& text) const {
    return upper_ ? platform::turkishUpper(text) : text;
}

void TDBComboBox::showPopup() {
    bool open = false;
    platform::guard([&] { open = link_.edit(); });
    if (open)
        QComboBox::showPopup();
}

void TDBComboBox::keyPressEvent(QKeyEvent* event) {
    KeyRules rules;
    rules.upperCase = upper_;
    rules.afterEscape = [this] { lineEdit()->selectAll(); };
    // Up, Down, Page Up and Page Down choose another item.
    rules.alsoChanges = [](const QKeyEvent* e) {
        const int key = e->key();
        return (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                key == Qt::Key_PageDown) &&
               !(e->modifiers() & (Qt::AltModifier | Qt::ControlModifier));
    };
    boundKeyPress(event, rules, [this](QKeyEvent* e) { QComboBox::keyPressEvent(e); });
}

void TDBComboBox::wheelEvent(QWheelEvent* event) {
    // The wheel chooses items only in the focused box, and only when an edit can start.
    if (!hasFocus()) {
        event->ignore();
        return;
    }
    bool change = false;
    platform::guard([&] { change = link_.edit(); });
    if (!change) {
        event->accept();
        return;
    }
    QComboBox::wheelEvent(event);
}

void TDBComboBox::focusInEvent(QFocusEvent* event) {
    QComboBox::focusInEvent(event);
    focusEntered();
}

void TDBComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    focusLeft(this, event->reason(), [this] { lineEdit()->selectAll(); });
}

void TDBComboBox::contextMenuEvent(QContextMenuEvent* event) {
    showEditMenu(this, platform::lineEditOperations(lineEdit()), event->globalPos());
    event->accept();
}

bool TDBComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::ContextMenu) {
        showEditMenu(this, platform::lineEditOperations(lineEdit()),
                     static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

QString TDBComboBox::controlText() const {
    return lineEdit()->text();
}

void TDBComboBox::showText(const QString& value) {
    const QString shown = shownText(value);
    // The item that shows exactly this text becomes current; otherwise none is.
    int index = -1;
    for (int i = 0; !shown.isEmpty() && i < count() && index < 0; ++i)
        if (shownItemText(i) == shown)
            index = i;
    if (currentIndex() != index) {
        setCurrentIndex(index);
        lineEdit()->setCursorPosition(0); // the item's text shows from its first character
    }
    if (lineEdit()->text() != shown)
        validator_->show(shown);
}

void TDBComboBox::setChangeable(bool changeable) {
    lineEdit()->setReadOnly(!changeable);
}

} // namespace data
