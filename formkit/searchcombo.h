#pragma once

#include <QComboBox>

// The column list of a search bar: a drop-down list with a text field. Typing the beginning of
// an item's caption selects that item and completes its text; a text that begins no caption
// leaves no item selected (index -1). Deleting (Backspace, Delete, Cut) removes characters and
// completes nothing: the item whose caption the remaining text begins stays selected. It runs
// nothing by itself. Its field's context menu is the program's Turkish one.
class TSearchCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TSearchCombo(QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void edited(const QString& text);

    bool deleting_ = false;
};
