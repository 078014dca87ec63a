#include "mainwindow/RenameDelegate.h"

#include <QAction>
#include <QKeyEvent>
#include <QWidget>

namespace keystead {

TRenameDelegate::TRenameDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

bool TRenameDelegate::eventFilter(QObject* editor, QEvent* event)
{
    auto* box = qobject_cast<QWidget*>(editor);
    const bool keyEvent = event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress;
    if (box == nullptr || !keyEvent || !isCommandKey(*box, *static_cast<QKeyEvent*>(event)))
        return QStyledItemDelegate::eventFilter(editor, event);
    // Left unclaimed by the box, the key reaches its command once the rename has ended. A key
    // whose command is disabled just now does nothing.
    if (event->type() == QEvent::ShortcutOverride) {
        emit commitData(box);
        emit closeEditor(box, QAbstractItemDelegate::NoHint);
    }
    return true;
}

bool TRenameDelegate::isCommandKey(const QWidget& editor, const QKeyEvent& key)
{
    const QKeySequence pressed(key.keyCombination());
    for (const QAction* action : editor.window()->findChildren<QAction*>()) {
        if (action->shortcutContext() == Qt::WidgetShortcut)
            continue;
        for (const QKeySequence& shortcut : action->shortcuts())
            if (shortcut.matches(pressed) == QKeySequence::ExactMatch)
                return true;
    }
    return false;
}

}  // namespace keystead
