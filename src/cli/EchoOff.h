#pragma once
// The terminal's echo switched off while a password is typed, and put back as it was afterwards,
// also when a signal (Ctrl+C, a closed terminal, kill) ends the tool meanwhile.

#include <signal.h>
#include <termios.h>

#include <array>

namespace keystead::cli {

class EchoOff {
public:
    // Does nothing where fd is no terminal.
    explicit EchoOff(int fd);
    ~EchoOff();
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    static constexpr std::array kEndingSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT};

    int fd_;
    termios saved_{};
    bool active_ = false;   // a terminal, whose settings are to be put back
    std::array<struct sigaction, kEndingSignals.size()> previousActions_{};
};

}  // namespace keystead::cli
