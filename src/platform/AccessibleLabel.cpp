#include "platform/AccessibleLabel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace keystead {

void tieLabel(QLabel& label, QWidget& field)
{
    label.setBuddy(&field);
    // An editable drop-down box has its own edit box inside, which a reader reaches on its own.
    if (auto* combo = qobject_cast<QComboBox*>(&field); combo != nullptr && combo->lineEdit() != nullptr)
        combo->lineEdit()->setAccessibleName(label.text().remove(QLatin1Char('&')));
}

}  // namespace keystead
