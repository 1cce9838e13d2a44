#include "platform/editmenu.h"

#include "platform/guard.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>

namespace platform {

EditOperations lineEditOperations(QLineEdit* line) {
    EditOperations ops;
    ops.canUndo = [line] { return line->isUndoAvailable(); };
    ops.hasSelection = [line] { return line->hasSelectedText(); };
    ops.hasText = [line] { return !line->text().isEmpty(); };
    ops.undo = [line] { line->undo(); };
    ops.cut = [line] { line->cut(); };
    ops.copy = [line] { line->copy(); };
    ops.paste = [line] { line->paste(); };
    ops.deleteSelection = [line] { line->del(); };
    ops.selectAll = [line] { line->selectAll(); };
    return ops;
}

void execEditMenu(QWidget* control, const EditOperations& ops, const QPoint& globalPos,
                  bool changeable, const std::function<bool()>& beginChange) {
    const bool selection = ops.hasSelection();
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    const bool clipText = clip && clip->hasText() && !clip->text().isEmpty();

    QMenu menu(control);
    const QPointer<QWidget> guardControl(control);
    auto add = [&](const QString& objectName, const QString& text, bool enabled,
                   const std::function<void()>& op, bool changes) {
        QAction* a = menu.addAction(text);
        a->setObjectName(objectName);
        a->setEnabled(enabled);
        QObject::connect(a, &QAction::triggered, control, [beginChange, op, changes, guardControl] {
            guard([&] {
                if (!guardControl)
                    return;
                if (changes && beginChange && !beginChange())
                    return;
                op();
            });
        });
    };
    add(QStringLiteral("edit-undo"), QStringLiteral("&Geri Al"), changeable && ops.canUndo(),
        ops.undo, true);
    menu.addSeparator();
    add(QStringLiteral("edit-cut"), QStringLiteral("&Kes"), changeable && selection, ops.cut, true);
    add(QStringLiteral("edit-copy"), QStringLiteral("K&opyala"), selection, ops.copy, false);
    add(QStringLiteral("edit-paste"), QStringLiteral("&Yapıştır"), changeable && clipText,
        ops.paste, true);
    add(QStringLiteral("edit-delete"), QStringLiteral("&Sil"), changeable && selection,
        ops.deleteSelection, true);
    menu.addSeparator();
    add(QStringLiteral("select-all"), QStringLiteral("&Tümünü Seç"), ops.hasText(), ops.selectAll,
        false);
    menu.exec(globalPos);
}

} // namespace platform
