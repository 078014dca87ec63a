#pragma once
// Real keyboard and mouse input through the X server (xdotool's XTEST events): it reaches the
// program as a user's keys and clicks do, through grabs, popups and the window manager's focus.

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

namespace keystead::test {

// Key names as xdotool knows them: "Return", "Escape", "alt+Down", "ctrl+e".
void pressKeys(const QStringList& keys);
void typeText(const QString& text);
void clickAt(QPoint global, int button = 1);
// Two clicks of the left button close enough together to select a word.
void doubleClickAt(QPoint global);
// A click in the middle of a control.
void clickOn(const QWidget& control, int button = 1);
// Where the X server shows the window, on the screen.
QRect placeOnScreen(const QWidget& window);
// Waits until the X server sends the keyboard's input to the window: Qt may call a window active
// a moment before the window manager has given it the focus, and keys typed then are lost.
bool waitForInputFocus(const QWidget& window);

}  // namespace keystead::test
