#pragma once
// The delegate of the list's in-place rename. The window's command keys are no editing keys in
// the rename box: as the menus' shortcuts win over the focused control, such a key ends the
// rename, keeping what was typed, and goes on to its command, which then acts on the row.

#include <QStyledItemDelegate>

class QKeyEvent;

namespace keystead {

class TRenameDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit TRenameDelegate(QObject* parent);

protected:
    bool eventFilter(QObject* editor, QEvent* event) override;

private:
    // A shortcut of one of the window's menu items or tool buttons.
    static bool isCommandKey(const QWidget& editor, const QKeyEvent& key);
};

}  // namespace keystead
