#pragma once
// keystead-cli run on a pseudo-terminal of its own, as a person at a terminal runs it: what it
// writes arrives as the terminal shows it, keys are typed into it, and the terminal's settings
// can be looked at while it runs and after it ended.

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace keystead::test {

class TerminalSession {
public:
    // Starts the tool with these arguments, the terminal its standard input, output and error
    // and its controlling terminal.
    explicit TerminalSession(const std::vector<std::string>& arguments);
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // Wait up to a generous deadline; false when it passed first.
    bool waitForText(std::string_view text);
    bool waitForEcho(bool on);

    bool echoOn() const;
    void type(std::string_view keys) const;
    // Waits for the tool's end: the status waitpid gives, or -1 when it did not end in time.
    int finish();
    // Everything the tool wrote, with the terminal's line ends.
    const std::string& screen() const { return screen_; }

private:
    bool waitUntil(const std::function<bool()>& condition);
    void readScreen(int timeoutMs);

    int master_ = -1;
    int slave_ = -1;   // kept open to read the settings, and so the screen outlives the tool
    pid_t pid_ = -1;
    std::string screen_;
};

}  // namespace keystead::test
