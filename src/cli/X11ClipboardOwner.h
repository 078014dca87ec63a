#pragma once
// keystead-cli's hold on the X clipboard: while it waits, the tool owns CLIPBOARD with one text
// and answers other programs' requests for it; at the end it gives the clipboard up unless
// another program has taken it since. The X server drops it anyway when the tool ends.

#include <chrono>
#include <memory>

struct _XDisplay;   // Xlib's Display: its header's macros stay out of the tool's other files

namespace keystead::cli {

class SelectionText;

enum class HoldEnd { TimeUp, Signalled, Taken };

class X11ClipboardOwner {
public:
    // Connects to the X display of DISPLAY; KeysteadError when there is none.
    X11ClipboardOwner();
    ~X11ClipboardOwner();
    X11ClipboardOwner(const X11ClipboardOwner&) = delete;
    X11ClipboardOwner& operator=(const X11ClipboardOwner&) = delete;

    // Takes the clipboard and offers the text, which must outlive the hold. Like the program, it
    // leaves the primary selection alone: a password is never offered to middle-click paste.
    void take(const SelectionText& text);
    // Answers requests until the time is up (zero: no limit), wakeFd becomes readable, or another
    // program has taken the clipboard; then gives it up if it is still ours.
    HoldEnd hold(std::chrono::seconds time, int wakeFd);

private:
    class Hold;

    _XDisplay* display_ = nullptr;
    unsigned long window_ = 0;   // an unmapped window of our own, the owner the server sees
    std::unique_ptr<Hold> hold_;
};

}  // namespace keystead::cli
