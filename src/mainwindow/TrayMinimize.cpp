#include "mainwindow/TrayMinimize.h"

#include "desktop/ProtectList.h"
#include "mainwindow/SessionLock.h"
#include "platform/TBNArea.h"
#include "store/MainSettings.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace keystead {

TTrayMinimize::TTrayMinimize(SessionState& session, const MainSettings& settings, QAction& tbShowPasswords,
                             QWidget& mainWindow)
    : QObject(&mainWindow), TBNArea1(new TTBNArea(this)), popTrayMenu(new QMenu(&mainWindow)),
      mnuLock(popTrayMenu->addAction(QStringLiteral("Lock"))), mnuExit(popTrayMenu->addAction(QStringLiteral("Exit"))),
      session_(session), settings_(settings),
      tbShowPasswords_(tbShowPasswords), mainWindow_(mainWindow)
{
    popTrayMenu->setObjectName(QStringLiteral("popTrayMenu"));
    mnuLock->setObjectName(QStringLiteral("mnuLock"));
    mnuExit->setObjectName(QStringLiteral("mnuExit"));
    TBNArea1->setEnabled(false);
    TBNArea1->setIcon(QIcon(QStringLiteral(":/pictures/tray.png")));
    showClipboardCount(QString());
    TBNArea1->PopupMenuR = popTrayMenu;
    // Queued: the restore may show the modal prompt, which must not run inside the tray's own
    // mouse handling.
    connect(TBNArea1, &TTBNArea::OnLeftClick, this, &TTrayMinimize::TBNArea1LeftClick, Qt::QueuedConnection);
    connect(mnuExit, &QAction::triggered, this, &TTrayMinimize::mnuExitClick);
    mainWindow_.installEventFilter(this);
}

bool TTrayMinimize::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &mainWindow_)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::WindowActivate) {
        comingBack_ = false;
    } else if (event->type() == QEvent::WindowStateChange && mainWindow_.isMinimized()) {
        // Hidden only once the minimise has finished. While the window comes back from the tray,
        // the window manager may still report the minimise it had before (it can map the window
        // minimised again): that is no minimise of the user's, and the window comes out of it.
        QMetaObject::invokeMethod(this, comingBack_ ? &TTrayMinimize::comeBack : &TTrayMinimize::AppMinimize,
                                  Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void TTrayMinimize::comeBack()
{
    if (!mainWindow_.isMinimized())
        return;
    mainWindow_.setWindowState(mainWindow_.windowState() & ~Qt::WindowMinimized);
    mainWindow_.activateWindow();
}

void TTrayMinimize::AppMinimize()
{
    // A dialog open over the window would come back with it from the taskbar, round the restore's
    // password: while one is open, the window stays minimised there.
    if (!trayUsable() || !mainWindow_.isMinimized() || QApplication::activeModalWidget() != nullptr)
        return;
    hideToTray();
}

bool TTrayMinimize::trayUsable() const
{
    return settings_.minimizeToTray && QSystemTrayIcon::isSystemTrayAvailable();
}

void TTrayMinimize::hideToTray()
{
    mainWindow_.hide();
    TBNArea1->setEnabled(true);
}

void TTrayMinimize::TBNArea1LeftClick()
{
    if (restoring_ || mainWindow_.isVisible())
        return;
    restoring_ = true;
    const bool passed = restorePasses();
    restoring_ = false;
    if (!passed)
        return;
    comingBack_ = true;
    mainWindow_.setWindowState(mainWindow_.windowState() & ~Qt::WindowMinimized);
    mainWindow_.show();
    mainWindow_.raise();
    mainWindow_.activateWindow();
    TBNArea1->setEnabled(false);
}

bool TTrayMinimize::restorePasses()
{
    if (lock_ != nullptr && lock_->locked())
        return lock_->unlockThroughPrompt();
    return !settings_.passwordProtectTray ||
           ProtectPromptPasses(session_, [this] { tbShowPasswords_.setChecked(false); }, &mainWindow_);
}

void TTrayMinimize::mnuExitClick()
{
    // A hidden window's close is no last window closing: the program is ended here.
    if (mainWindow_.close())
        QCoreApplication::quit();
}

void TTrayMinimize::showClipboardCount(const QString& count)
{
    const QString name = QStringLiteral("Keystead");
    TBNArea1->setTip(count.isEmpty() ? name : name + QStringLiteral(" - ") + count);
}

}  // namespace keystead
