#include "cli/TextInput.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "cli/CliArguments.h"

namespace keystead::cli {

namespace {

void showPrompt(std::string_view prompt)
{
    // A prompt that cannot be shown changes nothing of the answer.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, prompt.data(), prompt.size());
}

// One line from fd, without "\n" and a "\r" before it; false at the end of the input before
// any byte of a line.
bool readLine(int fd, std::string& line)
{
    line.reserve(256);
    bool any = false;
    char c = 0;
    for (;;) {
        const ssize_t n = ::read(fd, &c, 1);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        any = true;
        if (c == '\n')
            break;
        AppendSecret(line, std::string_view(&c, 1));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return any;
}

// The terminal's echo is off while it lives, and back as it was afterwards.
class NoEcho {
public:
    explicit NoEcho(int fd) : fd_(fd), saved_{}
    {
        if (::tcgetattr(fd_, &saved_) != 0)
            return;
        termios quiet = saved_;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        active_ = ::tcsetattr(fd_, TCSAFLUSH, &quiet) == 0;
    }
    ~NoEcho()
    {
        if (active_)
            ::tcsetattr(fd_, TCSAFLUSH, &saved_);
    }
    NoEcho(const NoEcho&) = delete;
    NoEcho& operator=(const NoEcho&) = delete;

private:
    int fd_;
    termios saved_;
    bool active_ = false;
};

class Terminal {
public:
    Terminal() : fd_(::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC)) {}
    ~Terminal()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Terminal(const Terminal&) = delete;
    Terminal& operator=(const Terminal&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

[[noreturn]] void inputEnded(std::string_view prompt)
{
    throw UsageError("the input ended before the answer to '" + std::string(prompt) + "'");
}

}  // namespace

SecretText TextInput::askPassword(std::string_view prompt) const
{
    if (passwordsFromStdin_)
        return askLine(prompt);
    const Terminal terminal;
    if (terminal.fd() < 0)
        throw UsageError("no terminal to read the password from; give it on standard input with --password-stdin");
    showPrompt(prompt);
    SecretText answer;
    {
        const NoEcho quiet(terminal.fd());
        if (!readLine(terminal.fd(), answer.get()))
            inputEnded(prompt);
    }
    return answer;
}

SecretText TextInput::askLine(std::string_view prompt) const
{
    if (::isatty(STDIN_FILENO))
        showPrompt(prompt);
    SecretText answer;
    if (!readLine(STDIN_FILENO, answer.get()))
        inputEnded(prompt);
    return answer;
}

}  // namespace keystead::cli
