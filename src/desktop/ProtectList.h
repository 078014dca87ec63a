#pragma once
// TfrmProtectList: asks the logged-on user for the logon password again before protected
// information is shown or changed. It only answers whether the right password was typed.

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace keystead {

struct SessionState;

class TfrmProtectList : public QDialog {
    Q_OBJECT

public:
    // onCancel runs when the prompt is cancelled (the main window raises its Show Passwords button).
    TfrmProtectList(SessionState& session, std::function<void()> onCancel, QWidget* parent);

    QLineEdit* txtPassword;
    QPushButton* cmdDone;
    QPushButton* cmdCancel;

    void cmdDoneClick();
    void cmdCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    SessionState& session_;
    std::function<void()> onCancel_;
};

// Shows the prompt modally; true when the right password was typed. ProtectPromptPassed is reset
// before this returns, as every user of the prompt does.
bool ProtectPromptPasses(SessionState& session, std::function<void()> onCancel, QWidget* parent);

}  // namespace keystead
