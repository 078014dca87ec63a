#pragma once
// The main window's notification-area icon: a minimise with MinimizeToTray hides the window
// behind the icon, a left press on the icon brings it back (after the logon password when
// PasswordProtectTray is set, and always while the program is locked), and the icon's menu locks
// or closes the program. Where the desktop has no tray the window stays minimised on the taskbar,
// since a hidden window could not come back.

#include <QObject>

class QAction;
class QMenu;
class QWidget;

namespace keystead {

struct MainSettings;
struct SessionState;
class SessionLock;
class TTBNArea;

class TTrayMinimize : public QObject {
    Q_OBJECT

public:
    // Owned by the main window, whose minimising it watches; tbShowPasswords is raised when the
    // restore prompt is cancelled, as every cancelled prompt does.
    TTrayMinimize(SessionState& session, const MainSettings& settings, QAction& tbShowPasswords, QWidget& mainWindow);

    TTBNArea* TBNArea1;
    QMenu* popTrayMenu;
    QAction* mnuLock;
    QAction* mnuExit;

    // While it is locked, the restore goes through the lock's prompt.
    void setSessionLock(SessionLock& lock) { lock_ = &lock; }
    // MinimizeToTray is set and the desktop has a tray.
    bool trayUsable() const;
    // Hides the main window behind the icon.
    void hideToTray();

    // After every minimise of the main window (its button, the taskbar, Escape).
    void AppMinimize();
    // The restore.
    void TBNArea1LeftClick();
    // Closes the main window with all its closing work, and ends the program.
    void mnuExitClick();
    // The clipboard count after the program's name in the icon's tip; empty: the name alone.
    void showClipboardCount(const QString& count);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Out of a minimise the window manager reports while the window comes back from the tray.
    void comeBack();
    // The lock's prompt while locked, else the restore's own when PasswordProtectTray is set.
    bool restorePasses();

    SessionState& session_;
    const MainSettings& settings_;
    QAction& tbShowPasswords_;
    QWidget& mainWindow_;
    SessionLock* lock_ = nullptr;
    // Only one restore prompt at a time: presses while it is open are ignored.
    bool restoring_ = false;
    // From the restore until the window is active again.
    bool comingBack_ = false;
};

}  // namespace keystead
