#include "anaform_/splitter.h"

#include "platform/guard.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

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

TSplitter::TSplitter(QWidget* leftSide, QWidget* rightSide, QWidget* parent)
    : QWidget(parent), leftSide_(leftSide), rightSide_(rightSide), leftWidth_(leftSide->width()) {
    setFixedWidth(9);
    setCursor(Qt::SplitHCursor);
    parent->installEventFilter(this);
    arrange();
}

void TSplitter::setLeftWidth(int width) {
    leftWidth_ = std::max(width, 0);
    arrange();
}

bool TSplitter::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        platform::guard([&] { arrange(); });
    return QWidget::eventFilter(watched, event);
}

void TSplitter::arrange() {
    const QWidget* parent = parentWidget();
    const int total = parent->width();
    const int height = parent->height();
    const int left = std::clamp(leftWidth_, 0, std::max(0, total - width() - minSize_));
    leftSide_->setGeometry(0, 0, left, height);
    setGeometry(left, 0, width(), height);
    rightSide_->setGeometry(left + width(), 0, std::max(0, total - left - width()), height);
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
        setLeftWidth(widthForPosition(left));
    });
}
