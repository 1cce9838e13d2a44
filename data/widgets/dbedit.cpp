#include "data/widgets/dbedit.h"

#include "data/field.h"
#include "platform/connect.h"
#include "platform/textrules.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>

namespace data {

TDBEdit::TDBEdit(QWidget* parent)
    : QLineEdit(parent), BoundField(static_cast<FieldDataLink::Control&>(*this)),
      validator_(new boundinput::LineValidator(this, true)) {
    setReadOnly(true);
    setValidator(validator_);
    platform::connectGuarded(this, &QLineEdit::textEdited, this, [this] { link_.setModified(); });
}

TDBEdit::~TDBEdit() = default;

void TDBEdit::keyPressEvent(QKeyEvent* event) {
    KeyRules rules;
    rules.upperCase = true;
    rules.afterEscape = [this] { selectAll(); };
    boundKeyPress(event, rules, [this](QKeyEvent* e) { QLineEdit::keyPressEvent(e); });
}

void TDBEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    focusEntered();
}

void TDBEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    focusLeft(this, event->reason(), [this] { selectAll(); });
}

void TDBEdit::contextMenuEvent(QContextMenuEvent* event) {
    showEditMenu(this, platform::lineEditOperations(this), event->globalPos());
    event->accept();
}

int TDBEdit::typingLimit() const {
    return validator_->limit();
}

QString TDBEdit::controlText() const {
    return text();
}

void TDBEdit::showText(const QString& value) {
    const QString shown = platform::turkishUpper(value);
    if (text() != shown)
        validator_->show(shown);
}

void TDBEdit::setChangeable(bool changeable) {
    setReadOnly(!changeable);
}

void TDBEdit::fieldChanged(TField* field) {
    if (!field)
        return;
    // The column's size limits typing and pasting, but a stored text that is longer (written
    // by another tool) still shows whole.
    validator_->setLimit(field->kind() == Kind::WideString && field->size() > 0 ? field->size()
                                                                                : 0);
}

} // namespace data
