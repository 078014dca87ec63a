#pragma once
// Listens on D-Bus for the desktop locking its screen and the machine going to sleep: the screen
// saver's ActiveChanged(true) on the session bus (org.freedesktop.ScreenSaver and
// org.gnome.ScreenSaver, from whatever object path, as desktops differ), logind's Lock of this
// login session and its PrepareForSleep(true) on the system bus. A missing bus or service gives
// no signal and no error.

#include <QObject>

namespace keystead {

class ScreenLockWatch : public QObject {
    Q_OBJECT

public:
    explicit ScreenLockWatch(QObject* parent);

signals:
    void screenLocked();

private slots:
    void screenSaverActiveChanged(bool active);
    void prepareForSleep(bool sleeping);
    void sessionLocked();

private:
    void watchOwnSession();
};

}  // namespace keystead
