#include "platform/DialogFont.h"

#include <QWidget>

namespace keystead {

void useDialogFont(QWidget& form)
{
    QFont font = form.font();
    font.setPixelSize(11);
    form.setFont(font);
}

}  // namespace keystead
