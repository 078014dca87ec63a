#pragma once
// The program's message boxes. Every box is titled "Keystead" and goes through showMessageBox,
// so that a test can answer it in place of the user (DialogSeam).

#include <QString>

class QWidget;

namespace keystead {

enum class MessageIcon { Information, Warning, Question, Error };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageResult { Ok, Cancel, Yes, No };

struct MessageRequest {
    QWidget* owner = nullptr;  // the box stays on top of it; none: the box stands alone
    QString text;              // as the program words it; a CR is a line break
    MessageIcon icon = MessageIcon::Warning;
    MessageButtons buttons = MessageButtons::Ok;
    MessageResult defaultButton = MessageResult::Ok;
};

MessageResult showMessageBox(const MessageRequest& request);

// A wrong input: warning icon, OK.
void showWarning(QWidget* owner, const QString& text);

// A dialog's check failed: the warning, owned by the dialog, then the focus on the field to correct.
void refuseInput(QWidget& field, const QString& text);

// A question: question icon, Yes (the default) and No; true for Yes.
bool askYesNo(QWidget* owner, const QString& text);

}  // namespace keystead
