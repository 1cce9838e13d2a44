#pragma once

#include <QLineEdit>

// The edit box of a search bar: when the focus arrives other than by a mouse click (Tab,
// Shift+Tab, the window becoming active again) it selects its whole text, so the first typed
// character replaces it. A left click inside it is reported by `clicked`.
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

private:
    bool pressedInside_ = false;
};
