#pragma once

#include <QWidget>

// The bar between the reader side and the book side. Dragging it shows a hatched line that
// follows the mouse; on release the side to its left takes the new width, held between
// `minSize` and the width that leaves `minSize` for the right side; a width of `minSize` or
// less snaps to zero (the side collapses and can be dragged out again).
class TSplitter : public QWidget {
    Q_OBJECT
public:
    TSplitter(QWidget* leftSide, QWidget* parent);

    int minSize() const { return minSize_; }
    // The left side's width that a release at `x` (in the parent's coordinates) gives.
    int widthForPosition(int x) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QWidget* leftSide_;
    QWidget* dragLine_ = nullptr;
    int grabOffset_ = 0;
    int minSize_ = 30;
};
