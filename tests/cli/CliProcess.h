#pragma once
// keystead-cli run as a process of its own, without a controlling terminal, its output caught
// in files of a test folder.

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace keystead::test {

struct CliResult {
    int status = -1;   // the exit status; -1 when the tool did not exit normally
    std::string out;
    std::string err;
};

class CliProcess {
public:
    // Starts the tool with these arguments; its standard input is a pipe held open until finish().
    // beforeStart runs in the new process just before the tool replaces it.
    CliProcess(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
               const std::function<void()>& beforeStart = {});
    ~CliProcess();
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    pid_t pid() const { return pid_; }
    // Writes the input, closes standard input and waits for the exit.
    CliResult finish(const std::string& input);

private:
    std::filesystem::path outFile_;
    std::filesystem::path errFile_;
    pid_t pid_ = -1;
    int stdinFd_ = -1;
};

// Replaces the calling process with the tool, given these arguments.
[[noreturn]] void execCli(std::vector<std::string> arguments);

CliResult runCli(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                 const std::string& input = {});

}  // namespace keystead::test
