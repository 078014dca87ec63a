#include "mainwindow/SessionLock.h"

#include "desktop/ProtectList.h"
#include "exchange/Print.h"
#include "mainwindow/LockTarget.h"
#include "mainwindow/TrayMinimize.h"
#include "platform/Progress.h"
#include "store/MainSettings.h"
#include "store/RegistryStore.h"
#include "store/StoreSeal.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace keystead {
namespace {

// How often the idle time is looked at, and a waiting lock tries again.
constexpr int kTickMilliseconds = 500;

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TabletPress:
        return true;
    default:
        return false;
    }
}

// How many windows a window was opened over.
int windowDepth(const QWidget& window)
{
    int depth = 0;
    for (const QWidget* w = window.parentWidget(); w != nullptr; w = w->parentWidget())
        if (w->isWindow())
            ++depth;
    return depth;
}

}  // namespace

SessionLock::SessionLock(SessionState& session, const MainSettings& settings, RegistryStore& store,
                         LockTarget& target, TTrayMinimize& tray, QWidget& mainWindow, Clock clock)
    : QObject(&mainWindow), session_(session), settings_(settings), store_(store), target_(target), tray_(tray),
      mainWindow_(mainWindow), clock_(std::move(clock)), idle_(clock_.now())
{
    qApp->installEventFilter(this);
    ticks_.setInterval(kTickMilliseconds);
    connect(&ticks_, &QTimer::timeout, this, &SessionLock::tick);
    ticks_.start();
}

void SessionLock::lock()
{
    if (state_.request(workRunning()))
        takeEffect();
}

void SessionLock::screenLocked()
{
    if (settings_.lockOnScreenLock)
        lock();
}

void SessionLock::checkIdle()
{
    if (!state_.locked() && !state_.waiting() && idle_.expired(clock_.now(), settings_.lockIdleMinutes))
        lock();
}

void SessionLock::tick()
{
    if (state_.waiting())
        lock();
    else
        checkIdle();
}

bool SessionLock::workRunning() const
{
    if (store_.sessionOpen())
        return true;
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](const QWidget* window) {
        return qobject_cast<const TfrmProgress*>(window) != nullptr || qobject_cast<const TfrmPrint*>(window) != nullptr;
    });
}

void SessionLock::takeEffect()
{
    // An open menu (of the list, of the tray icon) closes; each closed one leaves the one below.
    for (QWidget* popup = QApplication::activePopupWidget(); popup != nullptr;) {
        popup->close();
        QWidget* const next = QApplication::activePopupWidget();
        popup = next != popup ? next : nullptr;
    }
    target_.forgetEntryTexts();
    ForgetSeal(session_);
    hideDialogs();
    putMainWindowAway();
}

void SessionLock::hideDialogs()
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != &mainWindow_ && window->isVisible() && qobject_cast<QDialog*>(window) != nullptr)
            hiddenDialogs_.emplace_back(window);
    std::stable_sort(hiddenDialogs_.begin(), hiddenDialogs_.end(),
                     [](const QPointer<QWidget>& a, const QPointer<QWidget>& b) {
                         return windowDepth(*a) < windowDepth(*b);
                     });
    // QWidget's own hide: a dialog's would end its modal loop, and with it the dialog.
    for (const QPointer<QWidget>& dialog : hiddenDialogs_)
        dialog->QWidget::setVisible(false);
}

void SessionLock::showHiddenDialogs()
{
    QWidget* top = nullptr;
    for (const QPointer<QWidget>& dialog : hiddenDialogs_)
        if (dialog) {
            dialog->QWidget::setVisible(true);
            top = dialog;
        }
    hiddenDialogs_.clear();
    if (top != nullptr) {
        top->raise();
        top->activateWindow();
    }
}

void SessionLock::putMainWindowAway()
{
    if (tray_.trayUsable()) {
        if (mainWindow_.isVisible())
            tray_.hideToTray();
    } else if (!mainWindow_.isMinimized()) {
        mainWindow_.showMinimized();
    }
}

bool SessionLock::unlockThroughPrompt()
{
    if (!state_.locked() || prompting_)
        return false;
    prompting_ = true;
    const bool passed = ProtectPromptPasses(session_, [this] { target_.promptCancelled(); }, &mainWindow_);
    prompting_ = false;
    if (!passed)
        return false;
    DeriveSealAgain(session_);
    state_.unlock();
    idle_.input(clock_.now());
    target_.readEntriesAgain();
    QMetaObject::invokeMethod(this, &SessionLock::showHiddenDialogs, Qt::QueuedConnection);
    return true;
}

void SessionLock::promptOnReturn()
{
    if (!state_.locked() || prompting_ || !mainWindow_.isVisible())
        return;
    // The window manager may bring the window back without telling Qt that the minimise ended;
    // active, it is back, and a later lock must be able to minimise it again.
    if (mainWindow_.isMinimized()) {
        if (!mainWindow_.isActiveWindow())
            return;
        mainWindow_.setWindowState(mainWindow_.windowState() & ~Qt::WindowMinimized);
    }
    if (!unlockThroughPrompt())
        putMainWindowAway();
}

bool SessionLock::eventFilter(QObject* watched, QEvent* event)
{
    if (isInput(event->type()))
        idle_.input(clock_.now());
    else if (watched == &mainWindow_ && state_.locked() &&
             (event->type() == QEvent::WindowStateChange || event->type() == QEvent::WindowActivate))
        QMetaObject::invokeMethod(this, &SessionLock::promptOnReturn, Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

}  // namespace keystead
