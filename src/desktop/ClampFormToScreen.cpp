#include "desktop/ClampFormToScreen.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace keystead {

QPoint ClampedPosition(const QRect& window, const QSize& screen)
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

void ClampFormToScreen(QWidget& form)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    form.move(ClampedPosition(QRect(form.pos(), form.size()), screen->geometry().size()));
}

}  // namespace keystead
