#include "desktop/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace keystead {
namespace {

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
    form.move(clampedPosition(QRect(form.pos(), form.size()), screen->geometry().size()));
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

}  // namespace keystead
