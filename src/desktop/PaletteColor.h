#pragma once
// A colour value of colour text as it is drawn: system colours take the matching colour of the
// widget's palette.

#include "store/ColorText.h"

#include <QColor>

class QPalette;

namespace keystead {

QColor ResolveColor(ColorValue value, const QPalette& palette);

}  // namespace keystead
