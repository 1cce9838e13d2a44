#include "data/widgets/dbcombobox.h"

#include "data/field.h"
#include "platform/beep.h"
#include "platform/guard.h"
#include "platform/textrules.h"

#include <QAbstractItemModel>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QWheelEvent>

namespace data {

TDBComboBox::TDBComboBox(QWidget* parent)
    : QComboBox(parent), BoundField(static_cast<FieldDataLink::Control&>(*this)) {
    QComboBox::setEditable(true);
    // The field takes whatever is typed: Enter adds no item and nothing is completed.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    lineEdit()->setReadOnly(true);
    lineEdit()->installEventFilter(this);
    upperValidator_ = boundinput::newUpperCaseValidator(this);

    connect(lineEdit(), &QLineEdit::textEdited, this,
            [this] { platform::guard([this] { link_.setModified(); }); });
    connect(this, &QComboBox::activated, this,
            [this] { platform::guard([this] { link_.setModified(); }); });
    connect(model(), &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) {
                platform::guard([&] { upperCaseItems(first, last); });
            });
    connect(model(), &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
                platform::guard([&] { upperCaseItems(topLeft.row(), bottomRight.row()); });
            });
}

TDBComboBox::~TDBComboBox() = default;

void TDBComboBox::setUpperCase(bool upper) {
    if (upper == upper_)
        return;
    upper_ = upper;
    lineEdit()->setValidator(upper_ ? upperValidator_ : nullptr);
    if (!upper_)
        return;
    upperCaseItems(0, count() - 1);
    const QString shown = platform::turkishUpper(lineEdit()->text());
    if (lineEdit()->text() != shown)
        lineEdit()->setText(shown);
}

void TDBComboBox::upperCaseItems(int first, int last) {
    if (!upper_)
        return;
    for (int i = std::max(first, 0); i <= last && i < count(); ++i) {
        const QString upper = platform::turkishUpper(itemText(i));
        if (itemText(i) != upper)
            setItemText(i, upper);
    }
}

void TDBComboBox::showPopup() {
    bool open = false;
    platform::guard([&] { open = link_.edit(); });
    if (open)
        QComboBox::showPopup();
}

void TDBComboBox::keyPressEvent(QKeyEvent* event) {
    platform::guard([&] {
        if (event->key() == Qt::Key_Escape) {
            link_.reset();
            lineEdit()->selectAll();
            event->accept();
            return;
        }
        const bool typing = boundinput::typesText(event);
        if (typing && !boundinput::acceptsTyped(link_.field(), event->text())) {
            platform::beep();
            event->accept();
            return;
        }
        // Up, Down, Page Up and Page Down choose another item.
        const int key = event->key();
        const bool chooses = (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
                              key == Qt::Key_PageDown) &&
                             !(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier));
        if ((chooses || boundinput::changesText(event)) && !link_.edit()) {
            event->accept();
            return;
        }
        if (typing && upper_) {
            const auto upper = boundinput::upperCased(event);
            QComboBox::keyPressEvent(upper.get());
            event->setAccepted(upper->isAccepted());
            return;
        }
        QComboBox::keyPressEvent(event);
    });
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
    platform::guard([this] { link_.setFocused(true); });
}

void TDBComboBox::focusOutEvent(QFocusEvent* event) {
    QComboBox::focusOutEvent(event);
    focusLeft(this, event->reason(), [this] { lineEdit()->selectAll(); });
}

void TDBComboBox::contextMenuEvent(QContextMenuEvent* event) {
    showEditMenu(event->globalPos());
    event->accept();
}

bool TDBComboBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::ContextMenu) {
        showEditMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }
    return QComboBox::eventFilter(watched, event);
}

void TDBComboBox::showEditMenu(const QPoint& globalPos) {
    platform::guard([&] {
        QLineEdit* line = lineEdit();
        boundinput::EditOperations ops;
        ops.canUndo = [line] { return line->isUndoAvailable(); };
        ops.hasSelection = [line] { return line->hasSelectedText(); };
        ops.hasText = [line] { return !line->text().isEmpty(); };
        ops.undo = [line] { line->undo(); };
        ops.cut = [line] { line->cut(); };
        ops.copy = [line] { line->copy(); };
        ops.paste = [line] { line->paste(); };
        ops.deleteSelection = [line] { line->del(); };
        ops.selectAll = [line] { line->selectAll(); };
        boundinput::execEditMenu(this, link_, ops, globalPos);
    });
}

QString TDBComboBox::controlText() const {
    return lineEdit()->text();
}

void TDBComboBox::showText(const QString& value) {
    const QString shown = upper_ ? platform::turkishUpper(value) : value;
    // The item that holds exactly this text becomes current; otherwise none is.
    const int index =
        shown.isEmpty() ? -1 : findText(shown, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    if (currentIndex() != index)
        setCurrentIndex(index);
    if (lineEdit()->text() != shown)
        lineEdit()->setText(shown);
}

void TDBComboBox::setChangeable(bool changeable) {
    lineEdit()->setReadOnly(!changeable);
}

} // namespace data
