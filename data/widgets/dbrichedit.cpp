#include "data/widgets/dbrichedit.h"

#include "platform/beep.h"
#include "platform/guard.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QTextCursor>

namespace data {

TDBRichEdit::TDBRichEdit(QWidget* parent)
    : QPlainTextEdit(parent), BoundField(static_cast<FieldDataLink::Control&>(*this)) {
    setTabChangesFocus(true);
    setChangeable(false);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        platform::guard([this] {
            if (!showing_)
                link_.setModified();
        });
    });
}

TDBRichEdit::~TDBRichEdit() = default;

void TDBRichEdit::keyPressEvent(QKeyEvent* event) {
    platform::guard([&] {
        if (event->key() == Qt::Key_Escape) {
            link_.reset();
            event->accept();
            return;
        }
        const bool typing = boundinput::typesText(event);
        if (typing && !boundinput::acceptsTyped(link_.field(), event->text())) {
            platform::beep();
            event->accept();
            return;
        }
        const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        if ((newLine || boundinput::changesText(event)) && !link_.edit()) {
            event->accept();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
    });
}

void TDBRichEdit::focusInEvent(QFocusEvent* event) {
    QPlainTextEdit::focusInEvent(event);
    platform::guard([this] { link_.setFocused(true); });
}

void TDBRichEdit::focusOutEvent(QFocusEvent* event) {
    QPlainTextEdit::focusOutEvent(event);
    focusLeft(this, event->reason());
}

void TDBRichEdit::contextMenuEvent(QContextMenuEvent* event) {
    platform::guard([&] {
        boundinput::EditOperations ops;
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
        boundinput::execEditMenu(this, link_, ops, event->globalPos());
        event->accept();
    });
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
