#include "anaform_/searchedit.h"

#include <QFocusEvent>
#include <QMouseEvent>
#include <QTimer>

TSearchEdit::TSearchEdit(QWidget* parent) : QLineEdit(parent) {}

void TSearchEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (event->reason() != Qt::MouseFocusReason)
        selectAll();
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
