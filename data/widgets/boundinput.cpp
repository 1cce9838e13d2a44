#include "data/widgets/boundinput.h"

#include "data/field.h"
#include "platform/textrules.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <algorithm>

namespace data {

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

LineValidator::LineValidator(QLineEdit* edit, bool upperCase)
    : QValidator(edit), edit_(edit), upper_(upperCase), lastLength_(int(edit->text().size())) {
    QObject::connect(edit, &QLineEdit::textChanged, this,
                     [this](const QString& text) { lastLength_ = int(text.size()); });
}

void LineValidator::show(const QString& text) {
    showing_ = true;
    edit_->setText(text);
    showing_ = false;
    edit_->setCursorPosition(0); // a text the program puts in shows from its first character
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

} // namespace boundinput

} // namespace data
