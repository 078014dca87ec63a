#pragma once
// TfrmPlainLogon, "Please Logon": the logon window as an ordinary dialog with buttons.

#include "session/LogonWindow.h"

class QLabel;
class QPushButton;

namespace keystead {

class TfrmPlainLogon : public LogonWindow {
    Q_OBJECT

public:
    TfrmPlainLogon(SessionState& session, std::filesystem::path storeFile, QWidget* parent = nullptr);

    QLabel* imgTitle;
    QPushButton* cmdNewUser;
    QPushButton* cmdDone;
    QPushButton* cmdCancel;

protected:
    QObject& exitControl() override;
    void showEvent(QShowEvent* event) override;

private:
    void buildControls();
};

}  // namespace keystead
