#pragma once
// The program's pictures, at the sharpness of the screen: each comes in two sizes, and on a
// screen scaled by two or more the larger one is drawn.

#include <QPixmap>

namespace keystead {

// name: the picture's file name without ".png", such as "logon-background".
QPixmap loadPicture(const QString& name);

}  // namespace keystead
