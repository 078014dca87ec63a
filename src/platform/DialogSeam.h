#pragma once
// Where message boxes and the program's own modal forms meet the user. Normally nobody is
// listening here and real windows wait for the user; a test installs a DialogSeam that answers
// each message box and drives each modal form itself, without a nested event loop.

#include "platform/MessageBox.h"

#include <functional>

class QDialog;

namespace keystead {

class DialogSeam {
public:
    using MessageHandler = std::function<MessageResult(const MessageRequest&)>;
    using FormHandler = std::function<void(QDialog&)>;

    // Installed for its lifetime; the one installed before comes back afterwards.
    DialogSeam(MessageHandler onMessage, FormHandler onForm);
    ~DialogSeam();
    DialogSeam(const DialogSeam&) = delete;
    DialogSeam& operator=(const DialogSeam&) = delete;

    static const DialogSeam* active();

    MessageResult answer(const MessageRequest& request) const;
    // Gets the shown form; returns once the form is closed, as a modal loop would.
    void drive(QDialog& form) const;

private:
    MessageHandler onMessage_;
    FormHandler onForm_;
    const DialogSeam* previous_;
};

}  // namespace keystead
