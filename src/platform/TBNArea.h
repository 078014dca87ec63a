#pragma once
// TTBNArea, the notification-area icon component: an icon with a tip in the desktop's tray, whose
// mouse presses open a menu or raise an event. It keeps the component's properties and events on
// top of QSystemTrayIcon.

#include <QIcon>
#include <QObject>
#include <QPointer>
#include <QString>

class QMenu;
class QSystemTrayIcon;

namespace keystead {

enum class TChangeKind { Icon = 0, Tip = 1 };

class TTBNArea : public QObject {
    Q_OBJECT

public:
    // The tray takes no longer tip.
    static constexpr int kTipLimit = 63;

    // Enabled; the icon appears once the owner has finished its construction, unless the owner
    // disables it before.
    explicit TTBNArea(QObject* owner);
    ~TTBNArea() override;

    bool Enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    const QIcon& Icon() const { return icon_; }
    void setIcon(const QIcon& icon);
    const QString& Tip() const { return tip_; }
    // Cut to kTipLimit characters.
    void setTip(const QString& tip);

    // Menus; a destroyed menu leaves none.
    QPointer<QMenu> PopupMenuL;
    QPointer<QMenu> PopupMenuR;
    bool PopupOnBoth = false;

    // The mouse on the icon, as the tray reports it.
    void LeftClick();
    void RightClick();
    void DblClick();

signals:
    // Raised when no menu takes the press.
    void OnLeftClick(TTBNArea* sender);
    void OnRightClick(TTBNArea* sender);
    void OnDblClick(TTBNArea* sender);
    // Before the icon or the tip changes; allow set to false keeps the old one.
    void OnChanging(TTBNArea* sender, TChangeKind kind, bool& allow);
    void OnChange(TTBNArea* sender, TChangeKind kind);

private:
    bool Changing(TChangeKind kind);
    void Change(TChangeKind kind);
    void PopupAtCursor(QMenu& menu);
    void loaded();
    void show(bool visible);

    QSystemTrayIcon* tray_;
    bool enabled_ = true;
    // A double click is only one after a press on the icon as now shown.
    bool pressedSinceShown_ = false;
    QIcon icon_;
    QString tip_;
};

}  // namespace keystead
