#include "data/widgets/fielddatalink.h"

#include "data/adoquery.h"
#include "data/field.h"
#include "data/widgets/boundinput.h"
#include "platform/beep.h"
#include "platform/guard.h"
#include "platform/returnfocus.h"

#include <QKeyEvent>
#include <QWidget>

namespace data {

FieldDataLink::FieldDataLink(Control& control) : control_(control) {}

FieldDataLink::~FieldDataLink() {
    if (source_)
        source_->removeLink(this);
}

void FieldDataLink::setDataSource(TDataSource* source) {
    if (source == source_)
        return;
    if (source_)
        source_->removeLink(this);
    source_ = source;
    if (source_)
        source_->addLink(this);
    activeChanged();
}

void FieldDataLink::setFieldName(const QString& name) {
    if (name == fieldName_)
        return;
    fieldName_ = name;
    activeChanged();
}

bool FieldDataLink::canStartEdit() const {
    if (!source_ || !field_ || field_->readOnly())
        return false;
    switch (source_->state()) {
    case DataSetState::Edit:
    case DataSetState::Insert:
        return true;
    case DataSetState::Browse:
        return source_->autoEdit && source_->enabled;
    case DataSetState::Inactive:
        return false;
    }
    return false;
}

bool FieldDataLink::edit() {
    if (!source_ || !field_ || field_->readOnly())
        return false;
    if (!editing_)
        source_->edit();
    refreshEditing();
    return editing_;
}

void FieldDataLink::reset() {
    showValue();
}

void FieldDataLink::setFocused(bool focused) {
    if (focused == focused_)
        return;
    focused_ = focused;
    // The edit text with the focus, the display text without (the same for the columns that
    // are bound here, but the rule is kept).
    if (!modified_)
        showValue();
}

bool FieldDataLink::leave() {
    if (!platform::guard([this] { updateData(); }))
        return false;
    setFocused(false);
    return true;
}

void FieldDataLink::lookUpField() {
    TADOQuery* dataSet = source_ ? source_->dataSet() : nullptr;
    TField* found = nullptr;
    if (dataSet && dataSet->active() && !fieldName_.isEmpty())
        found = dataSet->findField(fieldName_);
    if (found != field_) {
        field_ = found;
        control_.fieldChanged(field_);
    }
}

void FieldDataLink::refreshEditing() {
    const DataSetState state = source_ ? source_->state() : DataSetState::Inactive;
    const bool editing = field_ && !field_->readOnly() &&
                         (state == DataSetState::Edit || state == DataSetState::Insert);
    if (editing != editing_) {
        editing_ = editing;
        control_.setChangeable(editing_);
    }
}

void FieldDataLink::showValue() {
    QString text;
    if (field_)
        text = focused_ && !field_->readOnly() ? field_->text() : field_->displayText();
    control_.showText(text);
    modified_ = false;
}

void FieldDataLink::activeChanged() {
    lookUpField();
    refreshEditing();
    showValue();
}

void FieldDataLink::dataSetChanged() {
    refreshEditing();
    showValue();
}

void FieldDataLink::dataSetScrolled() {
    showValue();
}

void FieldDataLink::stateChanged() {
    refreshEditing();
    showValue();
}

void FieldDataLink::recordChanged(TField* field) {
    if (!field || field == field_)
        showValue();
}

void FieldDataLink::updateData() {
    if (!modified_ || !field_)
        return;
    field_->setText(control_.controlText());
    modified_ = false;
}

void FieldDataLink::dataSourceDestroyed(TDataSource* source) {
    if (source != source_)
        return;
    source_ = nullptr; // the data source drops its links itself
    activeChanged();
}

void BoundField::boundKeyPress(QKeyEvent* event, const KeyRules& rules,
                               const std::function<void(QKeyEvent*)>& base) {
    platform::guard([&] {
        if (event->key() == Qt::Key_Escape) {
            link_.reset();
            if (rules.afterEscape)
                rules.afterEscape();
            event->accept();
            return;
        }
        const bool typing = boundinput::typesText(event);
        if (typing && !boundinput::acceptsTyped(link_.field(), event->text())) {
            platform::beep();
            event->accept();
            return;
        }
        const bool changes =
            boundinput::changesText(event) || (rules.alsoChanges && rules.alsoChanges(event));
        if (changes && !link_.edit()) {
            event->accept();
            return;
        }
        if (typing && rules.upperCase) {
            const auto upper = boundinput::upperCased(event);
            base(upper.get());
            event->setAccepted(upper->isAccepted());
            return;
        }
        base(event);
    });
}

void BoundField::showEditMenu(QWidget* control, const platform::EditOperations& ops,
                              const QPoint& globalPos) {
    platform::guard([&] {
        platform::execEditMenu(control, ops, globalPos, link_.canStartEdit(),
                               [this] { return link_.edit(); });
    });
}

void BoundField::focusEntered() {
    platform::guard([this] { link_.setFocused(true); });
}

void BoundField::focusLeft(QWidget* control, Qt::FocusReason reason,
                           const std::function<void()>& selectText) {
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    platform::guard([&] {
        if (link_.leave())
            return;
        if (selectText)
            selectText();
        platform::returnFocus(control, reason == Qt::MouseFocusReason);
    });
}

} // namespace data
