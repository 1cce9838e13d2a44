#pragma once

#include <QPoint>
#include <functional>

class QLineEdit;
class QWidget;

namespace platform {

// The edit context menu's operations on one control.
struct EditOperations {
    std::function<bool()> canUndo;
    std::function<bool()> hasSelection;
    std::function<bool()> hasText;
    std::function<void()> undo;
    std::function<void()> cut;
    std::function<void()> copy;
    std::function<void()> paste;
    std::function<void()> deleteSelection;
    std::function<void()> selectAll;
};

// The edit operations of a line edit.
EditOperations lineEditOperations(QLineEdit* line);

// Shows the Turkish edit context menu ("Geri Al", "Kes", "Kopyala", "Yapıştır", "Sil", "Tümünü
// Seç") at a global position. `changeable` says whether the text can change: only then are the
// changing entries offered, and `beginChange`, when given, runs before one of them acts and may
// refuse it. Object names: edit-undo, edit-cut, edit-copy, edit-paste, edit-delete, select-all.
void execEditMenu(QWidget* control, const EditOperations& ops, const QPoint& globalPos,
                  bool changeable, const std::function<bool()>& beginChange = {});

} // namespace platform
