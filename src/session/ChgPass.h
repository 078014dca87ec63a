#pragma once
// TfrmChangePassword, "New Logon Password": replaces the logged-on user's logon password and
// re-encrypts every entry under the new one.

#include <QDialog>

#include <functional>

class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace keystead {

class RegistryStore;
struct SessionState;

class TfrmChangePassword : public QDialog {
    Q_OBJECT

public:
    // loadPasswordList brings the main list up to date after a change of a list with entries.
    TfrmChangePassword(SessionState& session, RegistryStore& store, std::function<void()> loadPasswordList,
                       QWidget* parent);

    QLineEdit* txtOld;
    QLineEdit* txtNew;
    QLineEdit* txtVerify;
    QPushButton* cmdDone;
    QPushButton* cmdCancel;

    void cmdDoneClick();

private:
    void buildControls();
    void doneCheck();
    void changePassword(const std::string& newPassword);
    bool FormKeyUp(const QKeyEvent& key);

    SessionState& session_;
    RegistryStore& store_;
    std::function<void()> loadPasswordList_;
};

}  // namespace keystead
