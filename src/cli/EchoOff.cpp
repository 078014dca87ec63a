#include "cli/EchoOff.h"

#include <unistd.h>

namespace keystead::cli {

namespace {

// What the signal handler puts back. A handler can reach nothing else; one EchoOff lives at a
// time, and it fills this in before the handler is installed.
struct SavedTerminal {
    int fd = -1;
    termios settings{};
};
SavedTerminal savedTerminal;

extern "C" void restoreAndEnd(int signalNumber)
{
    ::tcsetattr(savedTerminal.fd, TCSANOW, &savedTerminal.settings);
    // The hidden line ends as Enter would have ended it, so the shell's prompt starts a line.
    [[maybe_unused]] const ssize_t written = ::write(savedTerminal.fd, "\n", 1);
    // Ended by the signal itself, so that whoever started the tool learns why.
    ::signal(signalNumber, SIG_DFL);
    ::raise(signalNumber);
}

}  // namespace

EchoOff::EchoOff(int fd) : fd_(fd)
{
    active_ = ::tcgetattr(fd_, &saved_) == 0;
    if (!active_)
        return;
    savedTerminal = {fd_, saved_};
    struct sigaction restoring {};
    restoring.sa_handler = restoreAndEnd;
    sigemptyset(&restoring.sa_mask);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
        ::sigaction(kEndingSignals[i], &restoring, &previousActions_[i]);
    termios quiet = saved_;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    quiet.c_lflag |= ECHONL;
    ::tcsetattr(fd_, TCSAFLUSH, &quiet);
}

EchoOff::~EchoOff()
{
    if (!active_)
        return;
    ::tcsetattr(fd_, TCSAFLUSH, &saved_);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
        ::sigaction(kEndingSignals[i], &previousActions_[i], nullptr);
}

}  // namespace keystead::cli
