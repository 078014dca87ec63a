#include "platform/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace keystead {
namespace {

// The frame the window manager puts around a window: its own once it has one, else that of the
// window it belongs to, which a dialog about to open will get alike.
QMargins frameMargins(const QWidget& form)
{
    const auto marginsOf = [](const QWidget& window) {
        const QRect frame = window.frameGeometry();
        const QRect client = window.geometry();
        return QMargins(client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
                        frame.bottom() - client.bottom());
    };
    if (form.isVisible())
        return marginsOf(form);
    const QWidget* owner = form.parentWidget() != nullptr ? form.parentWidget()->window() : nullptr;
    return owner != nullptr && owner->isVisible() ? marginsOf(*owner) : QMargins();
}

QPoint clampedPosition(const QRect& window, const QSize& screen)
{
    int left = window.left();
    int top = window.top();
    if (screen.width() < left + window.width())
        left = screen.width() - window.width();
    if (left < 0)
        left = 0;
    if (screen.height() < top + window.height())
        top = screen.height() - window.height();
    if (top < 0)
        top = 0;
    return {left, top};
}

}  // namespace

void ClampFormToScreen(QWidget& form)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    // The position of a window is that of its frame, and the whole frame must show.
    const QMargins frame = frameMargins(form);
    const QSize outer = form.size().grownBy(frame);
    form.move(clampedPosition(QRect(form.pos(), outer), screen->geometry().size()));
}

void centerOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

void showCloseBoxOnly(QWidget& dialog)
{
    dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

}  // namespace keystead
