#include "../support/ReadFile.h"
#include "CliProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <utility>

namespace keystead::test {

namespace {

// A tool that ends before it has read all its input must not end the test program with SIGPIPE.
class PipeSignalIgnored {
public:
    PipeSignalIgnored()
    {
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGPIPE, &ignore, &before_);
    }
    ~PipeSignalIgnored() { ::sigaction(SIGPIPE, &before_, nullptr); }
    PipeSignalIgnored(const PipeSignalIgnored&) = delete;
    PipeSignalIgnored& operator=(const PipeSignalIgnored&) = delete;

private:
    struct sigaction before_ {};
};

[[noreturn]] void runChild(int stdinFd, const std::filesystem::path& out, const std::filesystem::path& err,
                           std::vector<std::string> arguments, const std::function<void()>& beforeStart)
{
    // A session of its own has no terminal: a password can only come from standard input.
    ::setsid();
    ::dup2(stdinFd, STDIN_FILENO);
    ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDOUT_FILENO);
    ::dup2(::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), STDERR_FILENO);
    if (beforeStart)
        beforeStart();
    execCli(std::move(arguments));
}

}  // namespace

void execCli(std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    arguments.insert(arguments.begin(), KEYSTEAD_CLI);
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    ::execv(KEYSTEAD_CLI, argv.data());
    ::_exit(127);
}

CliProcess::CliProcess(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                       const std::function<void()>& beforeStart)
    : outFile_(folder / "cli.out"), errFile_(folder / "cli.err")
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipe");
    pid_ = ::fork();
    if (pid_ == 0)
        runChild(fds[0], outFile_, errFile_, arguments, beforeStart);
    ::close(fds[0]);
    stdinFd_ = fds[1];
}

CliProcess::~CliProcess()
{
    if (stdinFd_ >= 0)
        ::close(stdinFd_);
    if (pid_ > 0)
        ::waitpid(pid_, nullptr, 0);
}

CliResult CliProcess::finish(const std::string& input)
{
    const PipeSignalIgnored quiet;
    for (std::size_t done = 0; done < input.size();) {
        const ssize_t n = ::write(stdinFd_, input.data() + done, input.size() - done);
        if (n <= 0)
            break;   // the tool stopped reading; its exit status tells why
        done += static_cast<std::size_t>(n);
    }
    ::close(stdinFd_);
    stdinFd_ = -1;
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(outFile_), readFile(errFile_)};
}

CliResult runCli(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                 const std::string& input)
{
    return CliProcess(folder, arguments).finish(input);
}

}  // namespace keystead::test
