#include "platform/EscapeKeepsOpen.h"

#include <QDialog>
#include <QKeyEvent>

namespace keystead {
namespace {

// Sees the key after the focused control has left it to the dialog, where it would close it.
class EscapeSwallower : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Cancel)) {
            event->accept();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

void keepOpenOnEscape(QDialog& dialog)
{
    dialog.installEventFilter(new EscapeSwallower(&dialog));
}

}  // namespace keystead
