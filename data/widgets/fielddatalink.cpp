#include "data/widgets/fielddatalink.h"

#include "data/adoquery.h"
#include "data/field.h"
#include "platform/beep.h"
#include "platform/guard.h"
#include "platform/textrules.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QTimer>
#include <QValidator>
#include <QWidget>
#include <algorithm>

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

LineValidator::LineValidator(QLineEdit* edit, bool upperCase)
    : QValidator(edit), edit_(edit), upper_(upperCase), lastLength_(int(edit->text().size())) {
    QObject::connect(edit, &QLineEdit::textChanged, this,
                     [this](const QString& text) { lastLength_ = int(text.size()); });
}

void LineValidator::show(const QString& text) {
    showing_ = true;
    edit_->setText(text);
    showing_ = false;
}

QValidator::State LineValidator::validate(QString& input, int& pos) const {
    const int allowed = std::max(limit_, lastLength_);
    const int excess = int(input.size()) - allowed;
    if (!showing_ && limit_ > 0 && excess > 0) {
        // Keep the first part of what was just entered (it ends at the cursor), without
        // splitting a character of two code units.
        int from = std::max(0, pos - excess);
        int count = pos - from;
        if (count < excess) // the cursor stood before the excess: cut at the end
            from = allowed, count = excess;
        if (from > 0 && from < input.size() && input.at(from - 1).isHighSurrogate() &&
            input.at(from).isLowSurrogate())
            --from, ++count;
        input.remove(from, count);
        pos = std::min(from, int(input.size()));
    }
    if (upper_)
        input = platform::turkishUpper(input);
    return Acceptable;
}

EditOperations lineEditOperations(QLineEdit* line) {
    EditOperations ops;
    ops.canUndo = [line] { return line->isUndoAvailable(); };
    ops.hasSelection = [line] { return line->hasSelectedText(); };
    ops.hasText = [line] { return !line->text().isEmpty(); };
    ops.undo = [line] { line->undo(); };
    ops.cut = [line] { line->cut(); };
    ops.copy = [line] { line->copy(); };
    ops.paste = [line] { line->paste(); };
    ops.deleteSelection = [line] { line->del(); };
    ops.selectAll = [line] { line->selectAll(); };
    return ops;
}

namespace {

// The menu itself; `beginChange` runs before a changing entry acts and may refuse it.
void runEditMenu(QWidget* control, const EditOperations& ops, const QPoint& globalPos,
                 bool changeable, const std::function<bool()>& beginChange) {
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
        QObject::connect(a, &QAction::triggered, control, [beginChange, op, changes, guardControl] {
            platform::guard([&] {
                if (!guardControl)
                    return;
                if (changes && beginChange && !beginChange())
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

} // namespace

void execEditMenu(QWidget* control, FieldDataLink& link, const EditOperations& ops,
                  const QPoint& globalPos) {
    runEditMenu(control, ops, globalPos, link.canStartEdit(), [&link] { return link.edit(); });
}

void execEditMenu(QWidget* control, const EditOperations& ops, const QPoint& globalPos,
                  bool changeable) {
    runEditMenu(control, ops, globalPos, changeable, {});
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

void BoundField::showEditMenu(QWidget* control, const boundinput::EditOperations& ops,
                              const QPoint& globalPos) {
    platform::guard([&] { boundinput::execEditMenu(control, link_, ops, globalPos); });
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
        boundinput::returnFocus(control, reason == Qt::MouseFocusReason);
    });
}

} // namespace data
