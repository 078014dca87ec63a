#pragma once
// None of the program's dialogs has a cancel button: Escape presses no button and does not close
// the dialog, which closes only through its own buttons and its close box.

class QDialog;

namespace keystead {

// For the dialog's whole life.
void keepOpenOnEscape(QDialog& dialog);

}  // namespace keystead
