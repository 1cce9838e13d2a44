#include "data/widgets/fielddatalink.h"

#include "data/adoquery.h"
#include "data/field.h"
#include "platform/guard.h"
#include "platform/textrules.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QValidator>
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

namespace boundinput {

bool typesText(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    // Ctrl and Ctrl+Shift are shortcuts; AltGr (Ctrl+Alt on some systems) types.
    if (mods == Qt::ControlModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier) ||
        (mods & Qt::MetaModifier))
        return false;
    const QChar c = text.front();
    return c.isPrint() || c.category() == QChar::Other_PrivateUse ||
           (c.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate());
}

bool changesText(const QKeyEvent* event) {
    if (typesText(event))
        return true;
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
        return true;
    case Qt::Key_Insert:
        return mods == Qt::ShiftModifier;
    case Qt::Key_V:
    case Qt::Key_X:
    case Qt::Key_Z:
    case Qt::Key_Y:
        if (mods == Qt::ControlModifier)
            return true;
        break;
    default:
        break;
    }
    static const QKeySequence::StandardKey changing[] = {
        QKeySequence::Paste,
        QKeySequence::Cut,
        QKeySequence::Undo,
        QKeySequence::Redo,
        QKeySequence::Delete,
        QKeySequence::Backspace,
        QKeySequence::DeleteStartOfWord,
        QKeySequence::DeleteEndOfWord,
        QKeySequence::DeleteEndOfLine,
        QKeySequence::DeleteCompleteLine,
    };
    for (const QKeySequence::StandardKey key : changing)
        if (event->matches(key))
            return true;
    return false;
}

bool acceptsTyped(const TField* field, const QString& text) {
    if (!field)
        return true;
    for (const QChar c : text)
        if (!field->isValidChar(c))
            return false;
    return true;
}

std::unique_ptr<QKeyEvent> upperCased(const QKeyEvent* event) {
    return std::make_unique<QKeyEvent>(
        event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
        event->nativeVirtualKey(), event->nativeModifiers(), platform::turkishUpper(event->text()),
        event->isAutoRepeat(), static_cast<quint16>(event->count()));
}

namespace {

class UpperCaseValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& /*pos*/) const override {
        input = platform::turkishUpper(input);
        return Acceptable;
    }
};

// Drops the mouse press that is being delivered right now (the one that moved the focus out
// of a control whose write failed), so that the pressed button is not clicked. Removes itself
// after that press or when the event loop turns.
class PressCanceller : public QObject {
public:
    explicit PressCanceller(QObject* parent) : QObject(parent) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWidgetType())
            return false;
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonDblClick) {
            finish();
            return true;
        }
        return false;
    }
    void finish() {
        qApp->removeEventFilter(this);
        deleteLater();
    }
};

} // namespace

QValidator* newUpperCaseValidator(QObject* parent) {
    return new UpperCaseValidator(parent);
}

void execEditMenu(QWidget* control, FieldDataLink& link, const EditOperations& ops,
                  const QPoint& globalPos) {
    const bool changeable = link.canStartEdit();
    const bool selection = ops.hasSelection();
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    const bool clipText = clip && clip->hasText() && !clip->text().isEmpty();

    QMenu menu(control);
    const QPointer<QWidget> guardControl(control);
    auto add = [&](const QString& objectName, const QString& text, bool enabled,
                   const std::function<void()>& op, bool changes) {
        QAction* a = menu.addAction(text);
        a->setObjectName(objectName);
        a->setEnabled(enabled);
        QObject::connect(a, &QAction::triggered, control, [&link, op, changes, guardControl] {
            platform::guard([&] {
                if (!guardControl)
                    return;
                if (changes && !link.edit())
                    return;
                op();
            });
        });
    };
    add(QStringLiteral("edit-undo"), QStringLiteral("&Geri Al"), changeable && ops.canUndo(),
        ops.undo, true);
    menu.addSeparator();
    add(QStringLiteral("edit-cut"), QStringLiteral("&Kes"), changeable && selection, ops.cut, true);
    add(QStringLiteral("edit-copy"), QStringLiteral("K&opyala"), selection, ops.copy, false);
    add(QStringLiteral("edit-paste"), QStringLiteral("&Yapıştır"), changeable && clipText,
        ops.paste, true);
    add(QStringLiteral("edit-delete"), QStringLiteral("&Sil"), changeable && selection,
        ops.deleteSelection, true);
    menu.addSeparator();
    add(QStringLiteral("select-all"), QStringLiteral("&Tümünü Seç"), ops.hasText(), ops.selectAll,
        false);
    menu.exec(globalPos);
}

void returnFocus(QWidget* control, bool byMousePress) {
    if (byMousePress) {
        auto* canceller = new PressCanceller(control);
        qApp->installEventFilter(canceller);
        QTimer::singleShot(0, canceller, [canceller] { canceller->finish(); });
    }
    control->setFocus(Qt::OtherFocusReason);
}

} // namespace boundinput

void BoundField::focusLeft(QWidget* control, Qt::FocusReason reason,
                           const std::function<void()>& selectText) {
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
        return;
    platform::guard([&] {
        if (link_.leave())
            return;
        if (selectText)
            selectText();
        boundinput::returnFocus(control, reason == Qt::MouseFocusReason);
    });
}

} // namespace data
