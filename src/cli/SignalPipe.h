#pragma once
// Ctrl+C, SIGTERM and a closed terminal (SIGHUP) turned into a pipe that becomes readable, for as
// long as the object lives: a wait on files ends at once, and the handler does nothing but write.

#include <signal.h>

#include <array>

namespace keystead::cli {

class SignalPipe {
public:
    SignalPipe();
    ~SignalPipe();
    SignalPipe(const SignalPipe&) = delete;
    SignalPipe& operator=(const SignalPipe&) = delete;

    // Readable once one of the signals came.
    int readEnd() const { return ends_[0]; }
    // The first signal that came; 0 when none did.
    int received() const;

private:
    static constexpr std::array kEndingSignals{SIGINT, SIGTERM, SIGHUP};

    std::array<int, 2> ends_{-1, -1};
    std::array<struct sigaction, kEndingSignals.size()> previousActions_{};
};

}  // namespace keystead::cli
