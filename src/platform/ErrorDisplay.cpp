#include "platform/ErrorDisplay.h"

#include "platform/MessageBox.h"
#include "platform/TextConversion.h"

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

}  // namespace keystead
