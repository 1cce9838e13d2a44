#include "anaform_/searchcombo.h"

#include "platform/connect.h"

#include <QLineEdit>
#include <QSignalBlocker>

TSearchCombo::TSearchCombo(QWidget* parent) : QComboBox(parent) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr); // completion is ours, below
    platform::connectGuarded(lineEdit(), &QLineEdit::textEdited, this,
                             [this](const QString& typed) { complete(typed); });
}

void TSearchCombo::complete(const QString& typed) {
    int match = -1;
    if (!typed.isEmpty())
        for (int i = 0; i < count() && match < 0; ++i)
            if (itemText(i).startsWith(typed, Qt::CaseInsensitive))
                match = i;
    QLineEdit* edit = lineEdit();
    if (match >= 0) {
        setCurrentIndex(match);
        edit->setText(itemText(match));
        edit->setSelection(static_cast<int>(typed.size()),
                           static_cast<int>(itemText(match).size() - typed.size()));
    } else {
        setCurrentIndex(-1);
        edit->setText(typed);
        edit->setCursorPosition(static_cast<int>(typed.size()));
    }
}
