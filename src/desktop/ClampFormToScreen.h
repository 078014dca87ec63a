#pragma once
// Pulls a window back onto the primary screen, as every window with a remembered position does
// when it opens.

#include <QRect>

class QWidget;

namespace keystead {

// The rule itself: past the right or bottom edge moves left or up, then a negative left or top
// becomes 0, so a window larger than the screen ends at 0.
QPoint ClampedPosition(const QRect& window, const QSize& screen);

void ClampFormToScreen(QWidget& form);

}  // namespace keystead
