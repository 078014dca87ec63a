#include "TerminalSession.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>
#include <utmp.h>

#include <chrono>
#include <stdexcept>

#include "CliProcess.h"

namespace keystead::test {

namespace {

constexpr std::chrono::seconds kDeadline{30};
constexpr int kPollMs = 50;

}  // namespace

TerminalSession::TerminalSession(const std::vector<std::string>& arguments)
{
    if (::openpty(&master_, &slave_, nullptr, nullptr, nullptr) != 0)
        throw std::runtime_error("no pseudo-terminal");
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(master_);
        // A session of its own, with this terminal as its controlling one.
        if (::login_tty(slave_) != 0)
            ::_exit(126);
        execCli(arguments);
    }
}

TerminalSession::~TerminalSession()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    ::close(master_);
    ::close(slave_);
}

bool TerminalSession::waitForText(std::string_view text)
{
    return waitUntil([&] { return screen_.find(text) != std::string::npos; });
}

bool TerminalSession::waitForEcho(bool on)
{
    return waitUntil([&] { return echoOn() == on; });
}

bool TerminalSession::echoOn() const
{
    termios settings{};
    return ::tcgetattr(slave_, &settings) == 0 && (settings.c_lflag & ECHO) != 0;
}

void TerminalSession::type(std::string_view keys) const
{
    for (std::size_t done = 0; done < keys.size();) {
        const ssize_t n = ::write(master_, keys.data() + done, keys.size() - done);
        if (n <= 0)
            throw std::runtime_error("the terminal takes no more keys");
        done += static_cast<std::size_t>(n);
    }
}

int TerminalSession::finish()
{
    int status = -1;
    const bool ended = waitUntil([&] { return ::waitpid(pid_, &status, WNOHANG) == pid_; });
    if (!ended)
        return -1;
    pid_ = -1;
    readScreen(0);
    return status;
}

bool TerminalSession::waitUntil(const std::function<bool()>& condition)
{
    const auto deadline = std::chrono::steady_clock::now() + kDeadline;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        readScreen(kPollMs);
    }
    return true;
}

// Takes in what the tool wrote, waiting up to timeoutMs for the first of it.
void TerminalSession::readScreen(int timeoutMs)
{
    pollfd ready{master_, POLLIN, 0};
    char buffer[4096];
    while (::poll(&ready, 1, timeoutMs) == 1 && (ready.revents & POLLIN) != 0) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            return;
        screen_.append(buffer, static_cast<std::size_t>(n));
        timeoutMs = 0;
    }
}

}  // namespace keystead::test
