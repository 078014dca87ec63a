#include "mainwindow/StoreChangeWatch.h"

#include "platform/ErrorDisplay.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace keystead {

TStoreChangeWatch::TStoreChangeWatch(RegistryStore& store, QWidget& window, std::function<bool()> reloadAllowed,
                                     std::function<void()> reload)
    : QObject(&window), store_(store), window_(window), reloadAllowed_(std::move(reloadAllowed)),
      reload_(std::move(reload)), timer_(new QTimer(this)), seen_(readCounter())
{
    timer_->setInterval(kInterval);
    connect(timer_, &QTimer::timeout, this, &TStoreChangeWatch::lookAtStore);
    timer_->start();
    window_.installEventFilter(this);
}

bool TStoreChangeWatch::eventFilter(QObject* watched, QEvent* event)
{
    // Looked at once the activation is complete: a dialog that gave the activation back is gone.
    if (watched == &window_ && event->type() == QEvent::WindowActivate)
        QMetaObject::invokeMethod(this, &TStoreChangeWatch::lookAtStore, Qt::QueuedConnection);
    return QObject::eventFilter(watched, event);
}

void TStoreChangeWatch::lookAtStore()
{
    if (!timer_->isActive() || !windowFree())
        return;
    const std::int64_t counter = readCounter();
    if (counter < 0 || counter == seen_)
        return;
    // A reload that fails is tried again at the next look; the user is not troubled with it.
    try {
        reload_();
        seen_ = counter;
    } catch (const SealChangedError& changed) {
        // Told once: the window waits for the new logon and looks at the store no more.
        timer_->stop();
        window_.removeEventFilter(this);
        showHandlerError(&window_, changed);
    } catch (const std::exception&) {
    }
}

bool TStoreChangeWatch::windowFree() const
{
    if (!window_.isVisible() || window_.isMinimized() || !window_.isEnabled() || store_.sessionOpen())
        return false;
    if (QApplication::activeModalWidget() != nullptr || QApplication::activePopupWidget() != nullptr)
        return false;
    for (const QWidget* shown : QApplication::topLevelWidgets())
        if (shown != &window_ && shown->isVisible() && qobject_cast<const QDialog*>(shown) != nullptr)
            return false;
    return reloadAllowed_();
}

std::int64_t TStoreChangeWatch::readCounter() const
{
    try {
        return store_.changeCounter();
    } catch (const std::exception&) {
        return -1;
    }
}

}  // namespace keystead
