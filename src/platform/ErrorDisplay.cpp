#include "platform/ErrorDisplay.h"

#include "platform/MessageBox.h"
#include "platform/TextConversion.h"
#include "store/KeysteadError.h"
#include <QCoreApplication>
#include <QEvent>

namespace keystead {

QString withFullStop(const QString& text)
{
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        return text + QLatin1Char('.');
    return text;
}

void showError(QWidget* owner, const std::string& errorText)
{
    showMessageBox({owner, withFullStop(toQString(errorText)), MessageIcon::Error, MessageButtons::Ok,
                    MessageResult::Ok});
}

int logOnAgainEventType()
{
    static const int type = QEvent::registerEventType();
    return type;
}

void showHandlerError(QWidget* owner, const std::exception& error)
{
    showError(owner, error.what());
    if (dynamic_cast<const SealChangedError*>(&error) != nullptr)
        QCoreApplication::postEvent(QCoreApplication::instance(),
                                    new QEvent(static_cast<QEvent::Type>(logOnAgainEventType())));
}

}  // namespace keystead
