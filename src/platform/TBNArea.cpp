#include "platform/TBNArea.h"

#include <QCursor>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

namespace keystead {

TTBNArea::TTBNArea(QObject* owner) : QObject(owner), tray_(new QSystemTrayIcon(this))
{
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        switch (reason) {
        case QSystemTrayIcon::Trigger:
            pressedSinceShown_ = true;
            LeftClick();
            break;
        case QSystemTrayIcon::Context:
            RightClick();
            break;
        case QSystemTrayIcon::DoubleClick:
            // The window system pairs a press with the one before it at the same place, even one on
            // the icon shown there earlier: the first press on the icon now shown is a press.
            if (pressedSinceShown_) {
                DblClick();
            } else {
                pressedSinceShown_ = true;
                LeftClick();
            }
            break;
        default:
            break;
        }
    });
    // The owner sets the properties in its own construction; only then does the icon appear.
    QTimer::singleShot(0, this, &TTBNArea::loaded);
}

TTBNArea::~TTBNArea()
{
    tray_->hide();
}

void TTBNArea::loaded()
{
    show(enabled_);
}

void TTBNArea::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    show(enabled_);
}

void TTBNArea::show(bool visible)
{
    pressedSinceShown_ = false;
    tray_->setVisible(visible);
}

void TTBNArea::setIcon(const QIcon& icon)
{
    if (icon.cacheKey() == icon_.cacheKey() || !Changing(TChangeKind::Icon))
        return;
    icon_ = icon;
    tray_->setIcon(icon_);
    if (enabled_)
        Change(TChangeKind::Icon);
}

void TTBNArea::setTip(const QString& tip)
{
    const QString fitting = tip.left(kTipLimit);
    if (fitting == tip_ || !Changing(TChangeKind::Tip))
        return;
    tip_ = fitting;
    tray_->setToolTip(tip_);
    if (enabled_)
        Change(TChangeKind::Tip);
}

bool TTBNArea::Changing(TChangeKind kind)
{
    bool allow = true;
    emit OnChanging(this, kind, allow);
    return allow;
}

void TTBNArea::Change(TChangeKind kind)
{
    emit OnChange(this, kind);
}

void TTBNArea::LeftClick()
{
    if (PopupMenuL)
        PopupAtCursor(*PopupMenuL);
    else
        emit OnLeftClick(this);
}

void TTBNArea::RightClick()
{
    if (PopupMenuL && PopupOnBoth)
        PopupAtCursor(*PopupMenuL);
    else if (PopupMenuR)
        PopupAtCursor(*PopupMenuR);
    else
        emit OnRightClick(this);
}

void TTBNArea::DblClick()
{
    emit OnDblClick(this);
}

void TTBNArea::PopupAtCursor(QMenu& menu)
{
    menu.popup(QCursor::pos());
    menu.activateWindow();
}

}  // namespace keystead
