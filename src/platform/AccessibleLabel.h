#pragma once
// Ties a caption to the field it names, so that a screen reader announces the field by the
// caption's text and the caption's mnemonic, if any, moves the focus there.

class QLabel;
class QWidget;

namespace keystead {

void tieLabel(QLabel& label, QWidget& field);

}  // namespace keystead
