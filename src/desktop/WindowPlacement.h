#pragma once
// Placing windows on the screen.

class QWidget;

namespace keystead {

// Centres the window on the screen it is on (the primary screen before it is shown).
void centerOnScreen(QWidget& window);

}  // namespace keystead
