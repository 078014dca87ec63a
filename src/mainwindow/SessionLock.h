#pragma once
// The lock: every window of the program hidden or showing no entry text, the decrypted texts
// wiped and Keystead's own clipboard text cleared, until the logon password is typed again into
// the "Enter Password" prompt. Open dialogs are hidden as they are and come back unchanged. It
// comes from File > Lock and the tray menu, after LockIdleMinutes without input, and when the
// desktop locks its screen or the machine sleeps (LockOnScreenLock); asked for while a command's
// work runs, it takes effect once that work has ended.

#include "mainwindow/LockRules.h"
#include "mainwindow/ShortDate.h"

#include <QObject>
#include <QPointer>
#include <QTimer>

#include <vector>

class QWidget;

namespace keystead {

class LockTarget;
class RegistryStore;
class TTrayMinimize;
struct MainSettings;
struct SessionState;

class SessionLock : public QObject {
    Q_OBJECT

public:
    // Owned by the main window; watches the input to every window of the application.
    SessionLock(SessionState& session, const MainSettings& settings, RegistryStore& store, LockTarget& target,
                TTrayMinimize& tray, QWidget& mainWindow, Clock clock);

    // File > Lock, the tray menu's Lock and the idle time.
    void lock();
    // The desktop locked its screen or the machine goes to sleep: a lock while LockOnScreenLock is set.
    void screenLocked();
    bool locked() const { return state_.locked(); }
    // Asks for the logon password; after the right one the list is read again and the hidden
    // dialogs come back once the main window is back. False: still locked.
    bool unlockThroughPrompt();
    // Locks once LockIdleMinutes have passed without input; a timer runs it, a test may too.
    void checkIdle();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A store session is open, or an export, import, password change or print shows its window.
    bool workRunning() const;
    void tick();
    void takeEffect();
    void hideDialogs();
    void showHiddenDialogs();
    // Behind the tray icon with MinimizeToTray and a tray, else minimised.
    void putMainWindowAway();
    // The main window came back from the taskbar while locked: the prompt before anything else.
    void promptOnReturn();

    SessionState& session_;
    const MainSettings& settings_;
    RegistryStore& store_;
    LockTarget& target_;
    TTrayMinimize& tray_;
    QWidget& mainWindow_;
    Clock clock_;
    LockState state_;
    IdleWatch idle_;
    QTimer ticks_;
    // In the order they are shown again: each after the windows it was opened over.
    std::vector<QPointer<QWidget>> hiddenDialogs_;
    bool prompting_ = false;
};

}  // namespace keystead
