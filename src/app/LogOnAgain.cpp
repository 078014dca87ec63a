#include "app/LogOnAgain.h"

#include "platform/ErrorDisplay.h"

#include <QCoreApplication>
#include <QEvent>

namespace keystead {

bool LogOnAgain::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != logOnAgainEventType())
        return QObject::eventFilter(watched, event);
    QCoreApplication::exit(kLogOnAgainExitCode);
    return true;
}

}  // namespace keystead
