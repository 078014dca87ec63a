#include "platform/PasswordMask.h"

#include <QLineEdit>

namespace keystead {

void maskWithStars(QLineEdit& edit)
{
    edit.setEchoMode(QLineEdit::Password);
    edit.setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
}

}  // namespace keystead
