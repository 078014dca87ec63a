#include "cli/SignalPipe.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/KeysteadError.h"

namespace keystead::cli {

namespace {

// All the handler can reach. One SignalPipe lives at a time, and it sets this before the handler
// is installed.
int signalWriteEnd = -1;

// Writes the signal's number as one byte; a full pipe already says that one came.
extern "C" void notePipe(int signalNumber)
{
    const int savedErrno = errno;
    const auto number = static_cast<unsigned char>(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(signalWriteEnd, &number, 1);
    errno = savedErrno;
}

}  // namespace

SignalPipe::SignalPipe()
{
    if (::pipe2(ends_.data(), O_CLOEXEC | O_NONBLOCK) != 0)
        throw KeysteadError(std::string("No pipe for the signals: ") + std::strerror(errno));
    signalWriteEnd = ends_[1];
    struct sigaction noting {};
    noting.sa_handler = notePipe;
    sigemptyset(&noting.sa_mask);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        ::sigaction(kEndingSignals[i], &noting, &previousActions_[i]);
        // A signal ignored when the tool started (nohup, a background job) stays ignored.
        if (previousActions_[i].sa_handler == SIG_IGN)
            ::sigaction(kEndingSignals[i], &previousActions_[i], nullptr);
    }
}

int SignalPipe::received() const
{
    unsigned char number = 0;
    return ::read(ends_[0], &number, 1) == 1 ? number : 0;
}

SignalPipe::~SignalPipe()
{
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i)
        ::sigaction(kEndingSignals[i], &previousActions_[i], nullptr);
    signalWriteEnd = -1;
    ::close(ends_[0]);
    ::close(ends_[1]);
}

}  // namespace keystead::cli
