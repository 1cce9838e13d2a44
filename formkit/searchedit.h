#pragma once

#include <QLineEdit>

// The edit box of a search bar: when the focus enters it by Tab, Shift+Tab or its window
// becoming active again, it selects its whole text, so the first typed character replaces it;
// a mouse click, or the focus coming back from a closing menu, leaves the text as it is. A
// left click inside it is reported by `clicked`. Its context menu is the program's Turkish one.
class TSearchEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TSearchEdit(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool pressedInside_ = false;
};
