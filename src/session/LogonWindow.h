#pragma once
// What the two logon windows share: filling the user list, the logon check, opening the new-user
// dialog, leaving through Exit or Cancel, and remembering the last user name when closing.

#include "crypto/Diamond.h"

#include <QDialog>

#include <filesystem>
#include <string>

class QComboBox;
class QLineEdit;

namespace keystead {

struct SessionState;

class LogonWindow : public QDialog {
    Q_OBJECT

public:
    QComboBox* cboUsername;
    QLineEdit* txtPassword;

protected:
    LogonWindow(SessionState& session, std::filesystem::path storeFile, QWidget* parent);

    // Reads the users and the remembered name from the store; the forms call it once their
    // controls are in place.
    void fillFromStore();

    void runLogonCheck();
    void openNewUser();
    // Exit or Cancel: no logon, and the marker (Tag 1 on the Exit or Cancel control) that keeps
    // the last user name as it was.
    void giveUp();
    virtual QObject& exitControl() = 0;

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void done(int result) override;

private:
    void logonCheck();
    void writeLastUsername() const;

    SessionState& session_;
    std::filesystem::path storeFile_;
    TDiamond Diamond1;
};

}  // namespace keystead
