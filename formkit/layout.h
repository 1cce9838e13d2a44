#pragma once

#include "platform/connect.h"

#include <QAction>
#include <QString>
#include <span>

class QGroupBox;
class QMenu;
class QWidget;

namespace formkit {

// Makes a window visible and brings it to the front; a visible window is only brought to the
// front (a minimised one stays minimised).
void showWindow(QWidget* window);

// A plain panel with its object name.
QWidget* panel(const char16_t* name, QWidget* parent);

// A group box with its object name, caption and the bold variant of its parent's font.
QGroupBox* groupBox(const char16_t* name, const QString& caption, QWidget* parent);

// One item of a menu: the menu, the item's object name and caption, its click handler.
template <typename W> struct MenuItemRow {
    QMenu* menu;
    const char16_t* name;
    const char16_t* caption;
    void (W::*handler)();
};

QAction* addMenuItem(QMenu* menu, const char16_t* name, const char16_t* caption);

// Adds the items in order, each clicking through the guard into its handler on `window`.
template <typename W> void addMenuItems(W* window, std::span<const MenuItemRow<W>> items) {
    for (const MenuItemRow<W>& item : items)
        platform::connectGuarded(addMenuItem(item.menu, item.name, item.caption),
                                 &QAction::triggered, window, item.handler);
}

} // namespace formkit
