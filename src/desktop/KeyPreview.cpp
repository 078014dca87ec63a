#include "desktop/KeyPreview.h"

#include <QKeyEvent>
#include <QWidget>

namespace keystead {

KeyPreview::KeyPreview(QWidget& form, Handler onKey) : QObject(&form), onKey_(std::move(onKey))
{
    form.installEventFilter(this);
    for (QWidget* control : form.findChildren<QWidget*>())
        control->installEventFilter(this);
}

bool KeyPreview::eventFilter(QObject* watched, QEvent* event)
{
    const bool isKey = event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
    if (isKey && onKey_(static_cast<QKeyEvent&>(*event)))
        return true;
    return QObject::eventFilter(watched, event);
}

}  // namespace keystead
