#include "formkit/searchedit.h"

#include "platform/editmenu.h"
#include "platform/guard.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QMouseEvent>

TSearchEdit::TSearchEdit(QWidget* parent) : QLineEdit(parent) {}

void TSearchEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ActiveWindowFocusReason:
        selectAll();
        break;
    default:
        break;
    }
}

void TSearchEdit::mousePressEvent(QMouseEvent* event) {
    pressedInside_ = event->button() == Qt::LeftButton;
    QLineEdit::mousePressEvent(event);
}

void TSearchEdit::mouseReleaseEvent(QMouseEvent* event) {
    QLineEdit::mouseReleaseEvent(event);
    const bool click = pressedInside_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressedInside_ = false;
    if (click)
        emit clicked();
}

void TSearchEdit::contextMenuEvent(QContextMenuEvent* event) {
    platform::guard([&] {
        platform::execEditMenu(this, platform::lineEditOperations(this), event->globalPos(),
                               !isReadOnly());
    });
    event->accept();
}
