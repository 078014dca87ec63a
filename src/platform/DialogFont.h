#pragma once
// The font of the dialogs whose controls sit at fixed places: the places were measured for an
// 8-point (11-pixel) sans-serif face, and longer captions would not fit a larger one.

class QWidget;

namespace keystead {

void useDialogFont(QWidget& form);

}  // namespace keystead
