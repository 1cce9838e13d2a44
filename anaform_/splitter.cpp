#include "anaform_/splitter.h"

#include "platform/guard.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// The hatched line that follows the mouse while the splitter is dragged.
class DragLine : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
    }
};

} // namespace

TSplitter::TSplitter(QWidget* leftSide, QWidget* parent) : QWidget(parent), leftSide_(leftSide) {
    setFixedWidth(9);
    setCursor(Qt::SplitHCursor);
}

int TSplitter::widthForPosition(int x) const {
    const int total = parentWidget() ? parentWidget()->width() : 0;
    const int largest = total - width() - minSize_;
    int w = x;
    if (w > largest)
        w = largest;
    if (w <= minSize_)
        w = 0;
    return w;
}

void TSplitter::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(128, 255, 0));
}

void TSplitter::mousePressEvent(QMouseEvent* event) {
    platform::guard([&] {
        if (event->button() != Qt::LeftButton)
            return;
        grabOffset_ = event->position().toPoint().x();
        if (!dragLine_) {
            dragLine_ = new DragLine(parentWidget());
            dragLine_->setAttribute(Qt::WA_TransparentForMouseEvents);
        }
        dragLine_->setGeometry(x(), y(), width(), height());
        dragLine_->raise();
        dragLine_->show();
    });
}

void TSplitter::mouseMoveEvent(QMouseEvent* event) {
    platform::guard([&] {
        if (!dragLine_ || !dragLine_->isVisible())
            return;
        const int left = mapToParent(event->position().toPoint()).x() - grabOffset_;
        dragLine_->move(widthForPosition(left), y());
    });
}

void TSplitter::mouseReleaseEvent(QMouseEvent* event) {
    platform::guard([&] {
        if (event->button() != Qt::LeftButton || !dragLine_ || !dragLine_->isVisible())
            return;
        dragLine_->hide();
        const int left = mapToParent(event->position().toPoint()).x() - grabOffset_;
        leftSide_->setFixedWidth(widthForPosition(left));
    });
}
