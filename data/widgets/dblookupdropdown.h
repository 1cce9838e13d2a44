#pragma once

#include <QFrame>

class QScrollBar;

namespace data {

class TDBLookupComboBox;

// The drop-down list of a lookup combo box: a pop-up window that shows the list column of the
// list record set's rows, a few at a time, with the current row highlighted. It keeps no rows
// of its own; every key, click and scroll goes back to its combo box, which moves the list
// record set or chooses.
class LookupDropDown : public QFrame {
    Q_OBJECT

public:
    explicit LookupDropDown(TDBLookupComboBox* owner);

    // Rows shown at a time.
    int rowCount() const { return rows_; }
    void setRowCount(int rows);
    int rowHeight() const;
    // The first row shown.
    int topRow() const { return top_; }
    // Where a row of the record set stands in this window; empty when it is not shown.
    QRect rowRect(int row) const;
    int rowAt(QPoint pos) const;
    QScrollBar* scrollBar() const { return scrollBar_; }

    // Follows the list record set: keeps its current row in view, with `toTop` as the first
    // row shown where the rows allow.
    void sync(bool toTop = false);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QRect rowsArea() const;
    void placeScrollBar();
    void scrolled(int value);

    TDBLookupComboBox* owner_;
    QScrollBar* scrollBar_;
    int rows_ = 7;
    int top_ = 0;
    bool syncing_ = false;
};

} // namespace data
