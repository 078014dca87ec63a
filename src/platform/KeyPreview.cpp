#include "platform/KeyPreview.h"

#include <QKeyEvent>
#include <QWidget>

namespace keystead {

KeyPreview::KeyPreview(QWidget& form, Handler onKey) : QObject(&form), form_(form), onKey_(std::move(onKey))
{
    form.installEventFilter(this);
    for (QWidget* control : form.findChildren<QWidget*>())
        control->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowDeactivate && watched == &form_)
        pressedOnForm_.clear();
    const bool press = event->type() == QEvent::KeyPress;
    if ((!press && event->type() != QEvent::KeyRelease) || !onForm(*watched))
        return QObject::eventFilter(watched, event);
    auto& key = static_cast<QKeyEvent&>(*event);
    // A release whose press went elsewhere (an open menu, a message box that closed on it, another
    // window) is not the form's.
    if (press)
        pressedOnForm_.insert(key.key());
    else if (!(key.isAutoRepeat() ? pressedOnForm_.contains(key.key()) : pressedOnForm_.remove(key.key())))
        return QObject::eventFilter(watched, event);
    return onKey_(key) || QObject::eventFilter(watched, event);
}

// Menus and drop-down lists are windows of their own, even while they belong to the form.
bool KeyPreview::onForm(const QObject& watched) const
{
    const auto* widget = qobject_cast<const QWidget*>(&watched);
    return widget != nullptr && widget->window() == &form_;
}

}  // namespace keystead
