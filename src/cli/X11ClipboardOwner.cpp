#include "cli/X11ClipboardOwner.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <string_view>
#include <type_traits>

#include "cli/SelectionText.h"
#include "store/KeysteadError.h"

namespace keystead::cli {

static_assert(std::is_same_v<Window, unsigned long>, "the header keeps a window as Xlib's XID");

namespace {

// Clipboard managers (Klipper, and others after it) keep no history of data offered with it; the
// program's own copies carry it too.
constexpr const char* kPasswordManagerHint = "x-kde-passwordManagerHint";
constexpr std::string_view kHintValue = "secret";

// Xlib's own handler ends the process at any error. A program that asked and went away before
// its answer (its window gone) is no reason to stop holding the text.
extern "C" int ignoreError(Display*, XErrorEvent*)
{
    return 0;
}

std::string noDisplayText()
{
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0')
        return "There is no X display (DISPLAY is not set): the clipboard cannot be reached.";
    return std::string("The X display '") + name + "' cannot be opened: the clipboard cannot be reached.";
}

struct Atoms {
    explicit Atoms(Display* display)
        : clipboard(XInternAtom(display, "CLIPBOARD", False)),
          targets(XInternAtom(display, "TARGETS", False)),
          timestamp(XInternAtom(display, "TIMESTAMP", False)),
          utf8(XInternAtom(display, "UTF8_STRING", False)),
          text(XInternAtom(display, "TEXT", False)),
          hint(XInternAtom(display, kPasswordManagerHint, False)),
          ownTime(XInternAtom(display, "KEYSTEAD_TIME", False))
    {
    }

    Atom clipboard;
    Atom targets;
    Atom timestamp;
    Atom utf8;
    Atom text;
    Atom hint;
    Atom ownTime;   // a property of our window, touched to learn the server's time
};

// How long poll may wait before the time is up; -1 without a limit.
int pollTimeout(std::chrono::steady_clock::time_point deadline, bool limited)
{
    if (!limited)
        return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

}  // namespace

// One hold: the clipboard taken at one server time, and the requests answered meanwhile.
class X11ClipboardOwner::Hold {
public:
    Hold(Display* display, Window window, const SelectionText& text)
        : display_(display), window_(window), text_(text), atoms_(display), taken_(serverTime())
    {
        // A request larger than the server takes would have to go in pieces (INCR); passwords
        // and user names never come near it, so such a request is refused instead.
        const long units = XExtendedMaxRequestSize(display_) > 0 ? XExtendedMaxRequestSize(display_)
                                                                   : XMaxRequestSize(display_);
        largestProperty_ = static_cast<std::size_t>(units) * 4 - kRequestHeader;
        XSetSelectionOwner(display_, atoms_.clipboard, window_, taken_);
        owned_ = XGetSelectionOwner(display_, atoms_.clipboard) == window_;
        if (!owned_)
            throw KeysteadError("The X display did not give the clipboard to keystead-cli.");
    }

    bool owned() const { return owned_; }

    void handle(const XEvent& event)
    {
        if (event.type == SelectionRequest)
            answer(event.xselectionrequest);
        else if (event.type == SelectionClear && event.xselectionclear.selection == atoms_.clipboard)
            owned_ = false;
    }

    // Given up at the time it was taken: the server ignores that once another program took the
    // clipboard later, so its text stays even while its SelectionClear is still on the way.
    void giveUp()
    {
        if (owned_)
            XSetSelectionOwner(display_, atoms_.clipboard, None, taken_);
        XSync(display_, False);
    }

private:
    static constexpr std::size_t kRequestHeader = 32;   // ChangeProperty's, with the big length

    // The server's time now, from the event of a change to our own window: taking a selection at
    // CurrentTime would leave nothing to give it up by.
    Time serverTime()
    {
        XChangeProperty(display_, window_, atoms_.ownTime, XA_STRING, 8, PropModeAppend, nullptr, 0);
        XEvent event;
        XWindowEvent(display_, window_, PropertyChangeMask, &event);
        return event.xproperty.time;
    }

    void answer(const XSelectionRequestEvent& request)
    {
        // Programs older than ICCCM name no property: the target stands for it.
        const Atom property = request.property == None ? request.target : request.property;
        XSelectionEvent reply{};
        reply.type = SelectionNotify;
        reply.display = display_;
        reply.requestor = request.requestor;
        reply.selection = request.selection;
        reply.target = request.target;
        reply.time = request.time;
        reply.property = converted(request, property) ? property : None;
        XEvent event{};
        event.xselection = reply;
        XSendEvent(display_, request.requestor, False, NoEventMask, &event);
    }

    // Writes the text in the form the request asks for; false when it is refused.
    bool converted(const XSelectionRequestEvent& request, Atom property)
    {
        // A request stamped before we took the selection was meant for its previous owner.
        if (request.time != CurrentTime && request.time < taken_)
            return false;
        const Atom target = request.target;
        if (target == atoms_.targets) {
            const std::array<Atom, 6> offered{atoms_.targets, atoms_.timestamp, atoms_.utf8, XA_STRING, atoms_.text,
                                              atoms_.hint};
            put(request.requestor, property, XA_ATOM, 32, offered.data(), static_cast<int>(offered.size()));
            return true;
        }
        if (target == atoms_.timestamp) {
            const long time = static_cast<long>(taken_);
            put(request.requestor, property, XA_INTEGER, 32, &time, 1);
            return true;
        }
        if (target == atoms_.utf8 || target == atoms_.text)
            return putBytes(request.requestor, property, atoms_.utf8, text_.utf8());
        if (target == XA_STRING && text_.latin1() != nullptr)
            return putBytes(request.requestor, property, XA_STRING, *text_.latin1());
        if (target == atoms_.hint)
            return putBytes(request.requestor, property, atoms_.hint, kHintValue);
        return false;
    }

    bool putBytes(Window requestor, Atom property, Atom type, std::string_view data)
    {
        if (data.size() > largestProperty_)
            return false;
        put(requestor, property, type, 8, data.data(), static_cast<int>(data.size()));
        return true;
    }

    void put(Window requestor, Atom property, Atom type, int format, const void* data, int count)
    {
        XChangeProperty(display_, requestor, property, type, format, PropModeReplace,
                        static_cast<const unsigned char*>(data), count);
    }

    Display* display_;
    Window window_;
    const SelectionText& text_;
    const Atoms atoms_;
    const Time taken_;
    std::size_t largestProperty_ = 0;
    bool owned_ = false;
};

X11ClipboardOwner::X11ClipboardOwner()
{
    XSetErrorHandler(ignoreError);
    display_ = XOpenDisplay(nullptr);
    if (display_ == nullptr)
        throw KeysteadError(noDisplayText());
    const Window root = DefaultRootWindow(display_);
    window_ = XCreateSimpleWindow(display_, root, 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(display_, window_, PropertyChangeMask);
}

X11ClipboardOwner::~X11ClipboardOwner()
{
    hold_.reset();
    XDestroyWindow(display_, window_);
    XCloseDisplay(display_);
}

void X11ClipboardOwner::take(const SelectionText& text)
{
    hold_ = std::make_unique<Hold>(display_, window_, text);
}

HoldEnd X11ClipboardOwner::hold(std::chrono::seconds time, int wakeFd)
{
    Hold& hold = *hold_;
    const bool limited = time.count() > 0;
    const auto deadline = std::chrono::steady_clock::now() + time;
    for (;;) {
        // XPending also sends what the answers wrote; poll then finds Xlib's queue empty.
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            hold.handle(event);
        }
        if (!hold.owned())
            return HoldEnd::Taken;
        std::array<pollfd, 2> waited{pollfd{ConnectionNumber(display_), POLLIN, 0}, pollfd{wakeFd, POLLIN, 0}};
        const int timeout = pollTimeout(deadline, limited);
        const int ready = timeout == 0 ? 0 : ::poll(waited.data(), waited.size(), timeout);
        if (ready < 0 && errno != EINTR)
            throw KeysteadError("The wait on the X display failed.");
        const bool signalled = ready > 0 && waited[1].revents != 0;
        if (signalled || (limited && std::chrono::steady_clock::now() >= deadline)) {
            hold.giveUp();
            return signalled ? HoldEnd::Signalled : HoldEnd::TimeUp;
        }
    }
}

}  // namespace keystead::cli
