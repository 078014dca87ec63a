#pragma once
// Shows one of the program's own forms modally; the one way every modal form is shown, so that
// a test can drive the live form instead of the user.

class QDialog;

namespace keystead {

// Returns the form's result (QDialog::Accepted or QDialog::Rejected) once it has closed.
int showModal(QDialog& form);

}  // namespace keystead
