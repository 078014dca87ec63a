#include "platform/ModalForm.h"

#include "platform/DialogSeam.h"

#include <QDialog>

namespace keystead {

int showModal(QDialog& form)
{
    const DialogSeam* seam = DialogSeam::active();
    if (!seam)
        return form.exec();
    form.setResult(QDialog::Rejected);  // as exec() starts
    form.show();
    seam->drive(form);
    return form.result();
}

}  // namespace keystead
