#include "data/widgets/dblookupdropdown.h"

#include "data/adoquery.h"
#include "data/widgets/dblookupaccessible.h"
#include "data/widgets/dblookupcombobox.h"
#include "platform/guard.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>

namespace data {

LookupDropDown::LookupDropDown(TDBLookupComboBox* owner)
    : QFrame(owner, Qt::Popup), owner_(owner), scrollBar_(new QScrollBar(Qt::Vertical, this)) {
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_WindowPropagation);
    scrollBar_->setFocusPolicy(Qt::NoFocus);
    scrollBar_->hide();
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) { scrolled(value); });
}

void LookupDropDown::setRowCount(int rows) {
    rows_ = std::max(1, rows);
    update();
}

int LookupDropDown::rowHeight() const {
    return fontMetrics().height() + 2;
}

QRect LookupDropDown::rowsArea() const {
    QRect area = contentsRect();
    if (scrollBar_->isVisibleTo(this))
        area.setRight(area.right() - scrollBar_->width());
    return area;
}

QRect LookupDropDown::rowRect(int row) const {
    if (row < top_ || row >= top_ + rows_)
        return QRect();
    const QRect area = rowsArea();
    return QRect(area.left(), area.top() + (row - top_) * rowHeight(), area.width(), rowHeight());
}

int LookupDropDown::rowAt(QPoint pos) const {
    const QRect area = rowsArea();
    if (!area.contains(pos))
        return -1;
    const int row = top_ + (pos.y() - area.top()) / rowHeight();
    const TADOQuery* list = owner_->listDataSet();
    return list && row < list->recordCount() ? row : -1;
}

void LookupDropDown::sync(bool toTop) {
    const TADOQuery* list = owner_->listDataSet();
    const int count = list && list->active() ? list->recordCount() : 0;
    const int current = list ? list->recNo() : -1;
    if (toTop && current >= 0)
        top_ = current;
    else if (current >= 0 && current < top_)
        top_ = current;
    else if (current >= top_ + rows_)
        top_ = current - rows_ + 1;
    top_ = std::clamp(top_, 0, std::max(0, count - rows_));

    syncing_ = true;
    const bool scrolls = count > rows_;
    scrollBar_->setRange(0, std::max(0, count - 1));
    scrollBar_->setPageStep(rows_);
    scrollBar_->setSingleStep(1);
    scrollBar_->setValue(std::max(0, current));
    scrollBar_->setVisible(scrolls);
    syncing_ = false;
    placeScrollBar();
    update();
}

void LookupDropDown::scrolled(int value) {
    if (syncing_)
        return;
    // Moving the scroll bar moves the list record set; a move that fails leaves it in place.
    platform::guard([&] {
        TADOQuery* list = owner_->listDataSet();
        if (list && list->active() && value != list->recNo())
            list->moveTo(value);
    });
    platform::guard([&] { sync(); });
}

void LookupDropDown::resizeEvent(QResizeEvent* event) {
    platform::guard([&] { placeScrollBar(); });
    QFrame::resizeEvent(event);
}

void LookupDropDown::placeScrollBar() {
    const QRect area = contentsRect();
    const int width = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrollBar_);
    scrollBar_->setGeometry(area.right() - width + 1, area.top(), width, area.height());
}

void LookupDropDown::paintEvent(QPaintEvent* event) {
    platform::guard([&] {
        QFrame::paintEvent(event);
        QPainter painter(this);
        const QRect area = rowsArea();
        painter.fillRect(area, palette().base());
        const TADOQuery* list = owner_->listDataSet();
        const int column = owner_->listColumn();
        if (!list || !list->active() || column < 0)
            return;
        const int last = std::min(list->recordCount(), top_ + rows_);
        for (int row = top_; row < last; ++row) {
            const QRect r = rowRect(row);
            const bool current = row == list->recNo();
            if (current)
                painter.fillRect(r, palette().highlight());
            painter.setPen(current ? palette().highlightedText().color()
                                   : palette().text().color());
            painter.drawText(r.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                             list->displayText(row, column));
        }
    });
}

void LookupDropDown::mousePressEvent(QMouseEvent* event) {
    platform::guard([&] {
        const QPoint pos = event->position().toPoint();
        if (!rect().contains(pos)) {
            // A click outside closes the list without a choice; one on the combo box itself
            // must not open it again at once.
            const QRect combo(owner_->mapToGlobal(QPoint(0, 0)), owner_->size());
            if (combo.contains(event->globalPosition().toPoint()))
                setAttribute(Qt::WA_NoMouseReplay);
            owner_->closeUp(false);
            return;
        }
        if (event->button() != Qt::LeftButton)
            return;
        const int row = rowAt(pos);
        if (row < 0)
            return;
        owner_->listDataSet()->moveTo(row);
        owner_->closeUp(true);
    });
    event->accept();
}

void LookupDropDown::keyPressEvent(QKeyEvent* event) {
    // The keys reach the pop-up while it is open; the combo box handles them all.
    owner_->keyPressEvent(event);
}

void LookupDropDown::wheelEvent(QWheelEvent* event) {
    platform::guard([&] {
        const int steps = event->angleDelta().y() / 120;
        TADOQuery* list = owner_->listDataSet();
        if (steps != 0 && list && list->active())
            list->moveBy(-steps);
    });
    event->accept();
}

void LookupDropDown::hideEvent(QHideEvent* event) {
    platform::guard([&] {
        owner_->update();
        lookupaccessible::listClosed(owner_);
    });
    QFrame::hideEvent(event);
}

} // namespace data
