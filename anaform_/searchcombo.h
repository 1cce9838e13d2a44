#pragma once

#include <QComboBox>

// The column list of a search bar: a drop-down list with a text field. Typing the beginning of
// an item's caption selects that item and completes its text; a text that begins no caption
// leaves no item selected (index -1). It runs nothing by itself.
class TSearchCombo : public QComboBox {
    Q_OBJECT
public:
    explicit TSearchCombo(QWidget* parent = nullptr);

private:
    void complete(const QString& typed);
};
