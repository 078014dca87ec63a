#include "cli/TextInput.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "cli/CliArguments.h"
#include "cli/EchoOff.h"
#include "store/KeysteadError.h"

namespace keystead::cli {

namespace {

// Longer answers are refused rather than read on into memory without end.
constexpr std::size_t kMaxLineBytes = 64 * 1024;

void showPrompt(std::string_view prompt)
{
    // A prompt that cannot be shown changes nothing of the answer.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, prompt.data(), prompt.size());
}

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

[[noreturn]] void lineTooLong(std::string_view prompt)
{
    throw KeysteadError("The answer to '" + std::string(prompt) + "' is longer than 64 KiB");
}

// One line from fd, without "\n" and a "\r" before it.
SecretText readAnswer(int fd, std::string_view prompt)
{
    SecretText answer;
    std::string& line = answer.get();
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
        if (line.size() == kMaxLineBytes)
            lineTooLong(prompt);
        AppendSecret(line, std::string_view(&c, 1));
    }
    if (!any)
        inputEnded(prompt);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return answer;
}

SecretText hiddenAnswer(int fd, std::string_view prompt)
{
    showPrompt(prompt);
    const EchoOff quiet(fd);
    return readAnswer(fd, prompt);
}

}  // namespace

SecretText TextInput::askPassword(std::string_view prompt) const
{
    if (passwordsFromStdin_)
        return ::isatty(STDIN_FILENO) == 1 ? hiddenAnswer(STDIN_FILENO, prompt) : readAnswer(STDIN_FILENO, prompt);
    const Terminal terminal;
    if (terminal.fd() < 0)
        throw UsageError("no terminal to read the password from; give it on standard input with --password-stdin");
    return hiddenAnswer(terminal.fd(), prompt);
}

SecretText TextInput::askLine(std::string_view prompt) const
{
    if (::isatty(STDIN_FILENO) == 1)
        showPrompt(prompt);
    return readAnswer(STDIN_FILENO, prompt);
}

}  // namespace keystead::cli
