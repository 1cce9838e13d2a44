#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace testsupport {

// Opens a control's context menu as the menu key does and triggers the entry with this object
// name; false when no menu opened or the entry was disabled. The menu's entry texts are
// written into `texts` when given.
bool chooseFromContextMenu(QWidget* target, const QString& objectName,
                           QStringList* texts = nullptr);

} // namespace testsupport
