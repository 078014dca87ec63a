#pragma once
// TfrmQuickView, "Password QuickView": a small tool window over the main window that shows the
// selected entry's description, user name, password and comments in plain text, even while the
// list masks them.

#include "crypto/Diamond.h"

#include <QWidget>

class QLabel;
class QPlainTextEdit;

namespace keystead {

class EntryEditTarget;
class RegistryStore;
struct SessionState;

class TfrmQuickView : public QWidget {
    Q_OBJECT

public:
    // FormCreate: shows the entry selected in list. It has no parent, so that disabling the main
    // window leaves it enabled, and is released when it closes.
    TfrmQuickView(SessionState& session, RegistryStore& store, EntryEditTarget& list, QWidget& mainWindow);
    ~TfrmQuickView() override;

    QLabel* lblDescription;
    QLabel* lblUsername;
    QLabel* lblPassword;
    QPlainTextEdit* memComments;

protected:
    // FormActivate enables the main window; FormClose stores the position.
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void placeOver(const QWidget& mainWindow);
    void showEntry(EntryEditTarget& list);

    SessionState& session_;
    RegistryStore& store_;
    QWidget& mainWindow_;
    TDiamond Diamond1;
};

}  // namespace keystead
