#include "data/widgets/dbrichedit.h"

#include "platform/connect.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTextCursor>

namespace data {

namespace {
bool isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}
} // namespace

TDBRichEdit::TDBRichEdit(QWidget* parent)
    : QPlainTextEdit(parent), BoundField(static_cast<FieldDataLink::Control&>(*this)) {
    setTabChangesFocus(true);
    setChangeable(false);
    platform::connectGuarded(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!showing_)
            link_.setModified();
    });
}

TDBRichEdit::~TDBRichEdit() = default;

void TDBRichEdit::keyPressEvent(QKeyEvent* event) {
    KeyRules rules;
    rules.alsoChanges = isEnter;
    boundKeyPress(event, rules, [this](QKeyEvent* e) {
        // Ctrl+Enter starts a new line as Enter does.
        if (isEnter(e) && (e->modifiers() & Qt::ControlModifier)) {
            QKeyEvent plain(e->type(), e->key(), e->modifiers() & ~Qt::ControlModifier,
                            QStringLiteral("\r"));
            QPlainTextEdit::keyPressEvent(&plain);
            e->setAccepted(plain.isAccepted());
            return;
        }
        QPlainTextEdit::keyPressEvent(e);
    });
}

void TDBRichEdit::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    focusEntered();
}

void TDBRichEdit::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    focusLeft(this, event->reason());
}

void TDBRichEdit::contextMenuEvent(QContextMenuEvent* event) {
    platform::EditOperations ops;
    ops.canUndo = [this] { return document()->isUndoAvailable(); };
    ops.hasSelection = [this] { return textCursor().hasSelection(); };
    ops.hasText = [this] { return !document()->isEmpty(); };
    ops.undo = [this] { undo(); };
    ops.cut = [this] { cut(); };
    ops.copy = [this] { copy(); };
    ops.paste = [this] { paste(); };
    ops.deleteSelection = [this] {
        QTextCursor cursor = textCursor();
        cursor.removeSelectedText();
        setTextCursor(cursor);
    };
    ops.selectAll = [this] { selectAll(); };
    showEditMenu(this, ops, event->globalPos());
    event->accept();
}

QString TDBRichEdit::controlText() const {
    // Plain text with the line breaks of the stored text (CR LF).
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}

void TDBRichEdit::showText(const QString& value) {
    QString shown = value;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (toPlainText() == shown)
        return;
    showing_ = true;
    setPlainText(shown);
    showing_ = false;
}

void TDBRichEdit::setChangeable(bool changeable) {
    setReadOnly(!changeable);
    if (!changeable) // the caret still moves and selects while the text cannot change
        setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

} // namespace data
