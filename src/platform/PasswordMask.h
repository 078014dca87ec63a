#pragma once
// Password boxes show a star for every typed character, whatever the style's own mask is.

class QLineEdit;

namespace keystead {

void maskWithStars(QLineEdit& edit);

}  // namespace keystead
