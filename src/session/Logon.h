#pragma once
// TfrmLogon, "Logon to Keystead": the borderless logon window drawn with pictures, whose New
// User, Logon and Exit buttons are pictures that light up under the mouse pointer.

#include "session/LogonWindow.h"

#include <QPixmap>

class QKeyEvent;
class QLabel;

namespace keystead {

class TVorrentImage;

class TfrmLogon : public LogonWindow {
    Q_OBJECT

public:
    TfrmLogon(SessionState& session, std::filesystem::path storeFile, QWidget* parent = nullptr);

    QLabel* Image1;
    TVorrentImage* imgNew;
    TVorrentImage* imgLogon;
    TVorrentImage* imgExit;

    const QPixmap imgNewOn;
    const QPixmap imgNewOff;
    const QPixmap imgLogonOn;
    const QPixmap imgLogonOff;
    const QPixmap imgExitOn;
    const QPixmap imgExitOff;

protected:
    QObject& exitControl() override;

private:
    void buildControls();
    void placeHoverButton(TVorrentImage& button, const char* name, QPoint place, const QPixmap& on,
                          const QPixmap& off);
    bool FormKeyPress(const QKeyEvent& key);
    bool FormKeyUp(const QKeyEvent& key);
};

}  // namespace keystead
