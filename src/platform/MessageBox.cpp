#include "platform/MessageBox.h"

#include "platform/DialogSeam.h"

#include <QMessageBox>
#include <QWidget>

namespace keystead {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons toQtButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok: return QMessageBox::Ok;
    case MessageButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton toQtButton(MessageResult result)
{
    switch (result) {
    case MessageResult::Ok: return QMessageBox::Ok;
    case MessageResult::Cancel: return QMessageBox::Cancel;
    case MessageResult::Yes: return QMessageBox::Yes;
    case MessageResult::No: return QMessageBox::No;
    }
    return QMessageBox::Ok;
}

MessageResult fromQtButton(int button, MessageButtons offered)
{
    switch (button) {
    case QMessageBox::Ok: return MessageResult::Ok;
    case QMessageBox::Yes: return MessageResult::Yes;
    case QMessageBox::No: return MessageResult::No;
    default:
        // Closing the box without a button: Cancel where offered, else the safe answer.
        return offered == MessageButtons::YesNo ? MessageResult::No
               : offered == MessageButtons::Ok  ? MessageResult::Ok
                                                : MessageResult::Cancel;
    }
}

// The program writes line breaks as CR (and sometimes CR LF); the box shows either as one break.
QString withLineBreaks(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

MessageResult runMessageBox(const MessageRequest& request)
{
    QMessageBox box(toQtIcon(request.icon), QStringLiteral("Keystead"), withLineBreaks(request.text),
                    toQtButtons(request.buttons), request.owner);
    box.setDefaultButton(toQtButton(request.defaultButton));
    return fromQtButton(box.exec(), request.buttons);
}

}  // namespace

MessageResult showMessageBox(const MessageRequest& request)
{
    if (const DialogSeam* seam = DialogSeam::active())
        return seam->answer(request);
    return runMessageBox(request);
}

void showWarning(QWidget* owner, const QString& text)
{
    showMessageBox({owner, text, MessageIcon::Warning, MessageButtons::Ok, MessageResult::Ok});
}

void refuseInput(QWidget& field, const QString& text)
{
    showWarning(field.window(), text);
    field.setFocus();
}

bool askYesNo(QWidget* owner, const QString& text)
{
    return showMessageBox({owner, text, MessageIcon::Question, MessageButtons::YesNo, MessageResult::Yes}) ==
           MessageResult::Yes;
}

}  // namespace keystead
