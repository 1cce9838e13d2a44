#pragma once

#include <QWidget>

// The bar between the reader side and the book side; it places both sides in its parent. The
// left side keeps the width the splitter gave it and the right side takes the rest, but the
// right side always keeps `minSize` (the left side gives way when the parent narrows, and takes
// its width back when the parent widens again); the parent itself asks for no width. Dragging
// shows a hatched line that follows the mouse; on release the left side takes the new width,
// held between `minSize` and the width that leaves `minSize` for the right side; a width of
// `minSize` or less snaps to zero (the side collapses and can be dragged out again).
class TSplitter : public QWidget {
    Q_OBJECT
public:
    TSplitter(QWidget* leftSide, QWidget* rightSide, QWidget* parent);

    // The width the left side is given (it shows less while the parent is too narrow).
    int leftWidth() const { return leftWidth_; }
    void setLeftWidth(int width);

    int minSize() const { return minSize_; }
    // The left side's width that a release at `x` (in the parent's coordinates) gives.
    int widthForPosition(int x) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void arrange();

    QWidget* leftSide_;
    QWidget* rightSide_;
    int leftWidth_ = 0;
    QWidget* dragLine_ = nullptr;
    int grabOffset_ = 0;
    int minSize_ = 30;
};
