#include "platform/DialogSeam.h"

namespace keystead {

namespace {

const DialogSeam* activeDialogSeam = nullptr;

}  // namespace

DialogSeam::DialogSeam(MessageHandler onMessage, FormHandler onForm)
    : onMessage_(std::move(onMessage)), onForm_(std::move(onForm)), previous_(activeDialogSeam)
{
    activeDialogSeam = this;
}

DialogSeam::~DialogSeam()
{
    activeDialogSeam = previous_;
}

const DialogSeam* DialogSeam::active()
{
    return activeDialogSeam;
}

MessageResult DialogSeam::answer(const MessageRequest& request) const
{
    return onMessage_(request);
}

void DialogSeam::drive(QDialog& form) const
{
    onForm_(form);
}

}  // namespace keystead
