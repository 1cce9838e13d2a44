#include "formkit/searchcombo.h"

#include "platform/connect.h"
#include "platform/editmenu.h"
#include "platform/guard.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

bool deletes(const QKeyEvent* event) {
    return event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete ||
           event->matches(QKeySequence::Cut) || event->matches(QKeySequence::DeleteStartOfWord) ||
           event->matches(QKeySequence::DeleteEndOfWord) ||
           event->matches(QKeySequence::DeleteEndOfLine) ||
           event->matches(QKeySequence::DeleteCompleteLine);
}

} // namespace

TSearchCombo::TSearchCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // completion is ours, below
    lineEdit()->installEventFilter(this);
    platform::connectGuarded(lineEdit(), &QLineEdit::textEdited, this,
                             [this](const QString& text) { edited(text); });
}

bool TSearchCombo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit()) {
        if (event->type() == QEvent::KeyPress) {
            // Each key says anew whether the edit it makes is a deletion.
            deleting_ = deletes(static_cast<QKeyEvent*>(event));
        } else if (event->type() == QEvent::ContextMenu) {
            deleting_ = true; // what the menu changes is never completed
            platform::guard([&] {
                platform::execEditMenu(lineEdit(), platform::lineEditOperations(lineEdit()),
                                       static_cast<QContextMenuEvent*>(event)->globalPos(), true);
            });
            deleting_ = false;
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TSearchCombo::edited(const QString& text) {
    int match = -1;
    if (!text.isEmpty())
        for (int i = 0; i < count() && match < 0; ++i)
            if (itemText(i).startsWith(text, Qt::CaseInsensitive))
                match = i;
    QLineEdit* edit = lineEdit();
    const int cursor = edit->cursorPosition();
    setCurrentIndex(match); // puts the item's caption into the field
    if (match >= 0 && !deleting_) {
        edit->setText(itemText(match));
        edit->setSelection(static_cast<int>(text.size()),
                           static_cast<int>(itemText(match).size() - text.size()));
    } else {
        edit->setText(text);
        edit->setCursorPosition(deleting_ ? cursor : static_cast<int>(text.size()));
    }
}
