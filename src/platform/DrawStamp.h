#pragma once
// Times for bench/windowed-path.sh: with KEYSTEAD_DRAW_STAMPS set in the environment, a watched
// widget writes a line to standard error when a key reaches it and when it has been drawn, in
// seconds since the epoch. Without the variable nothing is watched.

class QWidget;

namespace keystead {

void WatchDrawing(QWidget& widget, const char* name);
// A line of its own for a moment that draws nothing, such as the end of a long computation.
void StampNow(const char* name, const char* what);

}  // namespace keystead
