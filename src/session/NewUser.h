#pragma once
// TfrmNewUser, "Create New User": creates a user's section holding only the user's MainPassword,
// then puts the new name into the logon window, where the user logs on.

#include "crypto/Diamond.h"

#include <QDialog>

#include <filesystem>
#include <string>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace keystead {

class TfrmNewUser : public QDialog {
    Q_OBJECT

public:
    // logonUsername: the cboUsername of the logon window that opened the dialog.
    TfrmNewUser(QComboBox& logonUsername, std::filesystem::path storeFile, QWidget* parent);

    QLineEdit* txtUsername;
    QLineEdit* txtPassword;
    QLineEdit* txtVerify;
    QPushButton* cmdDone;
    QPushButton* cmdCancel;

private:
    void buildControls();
    void cmdDoneClick();
    void doneCheck();
    bool createUser(const std::string& name, const std::string& password);
    bool FormKeyUp(const QKeyEvent& key);

    QComboBox& logonUsername_;
    std::filesystem::path storeFile_;
    TDiamond Diamond1;
};

}  // namespace keystead
