#include "data/widgets/dbedit.h"

#include "data/field.h"
#include "platform/beep.h"
#include "platform/guard.h"
#include "platform/textrules.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>

namespace data {

namespace {
// QLineEdit's own default: in effect no maximum.
constexpr int noMaximum = 32767;
} // namespace

TDBEdit::TDBEdit(QWidget* parent)
    : QLineEdit(parent), BoundField(static_cast<FieldDataLink::Control&>(*this)) {
    setReadOnly(true);
    setValidator(boundinput::newUpperCaseValidator(this));
    connect(this, &QLineEdit::textEdited, this,
            [this] { platform::guard([this] { link_.setModified(); }); });
}

TDBEdit::~TDBEdit() = default;

void TDBEdit::keyPressEvent(QKeyEvent* event) {
    platform::guard([&] {
        if (event->key() == Qt::Key_Escape) {
            link_.reset();
            selectAll();
            event->accept();
            return;
        }
        const bool typing = boundinput::typesText(event);
        if (typing && !boundinput::acceptsTyped(link_.field(), event->text())) {
            platform::beep();
            event->accept();
            return;
        }
        if (boundinput::changesText(event) && !link_.edit()) {
            event->accept();
            return;
        }
        if (typing) {
            const auto upper = boundinput::upperCased(event);
            QLineEdit::keyPressEvent(upper.get());
            event->setAccepted(upper->isAccepted());
            return;
        }
        QLineEdit::keyPressEvent(event);
    });
}

void TDBEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    platform::guard([this] { link_.setFocused(true); });
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    focusLeft(this, event->reason(), [this] { selectAll(); });
}

void TDBEdit::contextMenuEvent(QContextMenuEvent* event) {
    platform::guard([&] {
        boundinput::EditOperations ops;
        ops.canUndo = [this] { return isUndoAvailable(); };
        ops.hasSelection = [this] { return hasSelectedText(); };
        ops.hasText = [this] { return !text().isEmpty(); };
        ops.undo = [this] { undo(); };
        ops.cut = [this] { cut(); };
        ops.copy = [this] { copy(); };
        ops.paste = [this] { paste(); };
        ops.deleteSelection = [this] { del(); };
        ops.selectAll = [this] { selectAll(); };
        boundinput::execEditMenu(this, link_, ops, event->globalPos());
        event->accept();
    });
}

QString TDBEdit::controlText() const {
    return text();
}

void TDBEdit::showText(const QString& value) {
    const QString shown = platform::turkishUpper(value);
    if (text() != shown)
        setText(shown);
}

void TDBEdit::setChangeable(bool changeable) {
    setReadOnly(!changeable);
}

void TDBEdit::fieldChanged(TField* field) {
    if (!field)
        return;
    setMaxLength(field->kind() == Kind::WideString && field->size() > 0 ? field->size()
                                                                        : noMaximum);
}

} // namespace data
