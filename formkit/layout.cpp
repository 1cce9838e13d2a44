#include "formkit/layout.h"

#include "platform/activewindow.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>
#include <QWidget>

namespace formkit {

void showWindow(QWidget* window) {
    platform::bringToFront(window);
}

QWidget* panel(const char16_t* name, QWidget* parent) {
    auto* p = new QWidget(parent);
    p->setObjectName(QString::fromUtf16(name));
    return p;
}

QGroupBox* groupBox(const char16_t* name, const QString& caption, QWidget* parent) {
    auto* g = new QGroupBox(caption, parent);
    g->setObjectName(QString::fromUtf16(name));
    QFont bold = g->font();
    bold.setBold(true);
    g->setFont(bold);
    return g;
}

QAction* addMenuItem(QMenu* menu, const char16_t* name, const char16_t* caption) {
    QAction* a = menu->addAction(QString::fromUtf16(caption));
    a->setObjectName(QString::fromUtf16(name));
    return a;
}

} // namespace formkit
