#include "desktop/TBNArea.h"

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
            LeftClick();
            break;
        case QSystemTrayIcon::Context:
            RightClick();
            break;
        case QSystemTrayIcon::DoubleClick:
            DblClick();
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
    tray_->setVisible(enabled_);
}

void TTBNArea::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    tray_->setVisible(enabled_);
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
