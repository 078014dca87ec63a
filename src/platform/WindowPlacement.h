#pragma once
// Placing windows on the screen, and the frame they get there.

class QWidget;

namespace keystead {

// Pulls a window back onto the primary screen, as every window with a remembered position does
// when it opens: past the right or bottom edge moves it left or up, then a negative left or top
// becomes 0, so a window larger than the screen ends at 0. The window's frame counts: a window not
// yet shown is taken to get the frame of the window it belongs to.
void ClampFormToScreen(QWidget& form);

// Centres the window on the screen it is on (the primary screen before it is shown).
void centerOnScreen(QWidget& window);

// A dialog of fixed size: its frame offers the close box and nothing to minimise or maximise.
void showCloseBoxOnly(QWidget& dialog);

}  // namespace keystead
