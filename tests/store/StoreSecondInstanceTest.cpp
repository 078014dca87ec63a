// Sessions of the SQLite file met by a second running instance, in a child process: a writer that
// waits for the open session, one that waits too long, and a commit that cannot be written.

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <thread>

#include "TempFolder.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/StoreSession.h"

namespace keystead {
namespace {

using test::TempFolder;

// Runs body in a child process, which ends with its result as exit status (99 when it threw).
// Forked while this process holds no SQLite file open, so the child shares no state with it.
pid_t startChild(const std::function<int()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        int status = 99;
        try {
            status = body();
        } catch (...) {
        }
        _exit(status);
    }
    return pid;
}

int waitForChild(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

class Pipe {
public:
    Pipe() {
        if (pipe(ends_) != 0) {
            throw std::runtime_error("no pipe");
        }
    }
    ~Pipe() {
        close(ends_[0]);
        close(ends_[1]);
    }
    void signal() { EXPECT_EQ(write(ends_[1], "x", 1), 1); }
    bool wait() {
        char c = 0;
        return read(ends_[0], &c, 1) == 1;
    }

private:
    int ends_[2] = {-1, -1};
};

// Whether the process sleeps, as it does waiting out the store's busy time-out; a process that
// has ended, or runs, does not.
bool isSleeping(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t nameEnd = stat.rfind(')');   // the state follows the parenthesised name
    return nameEnd != std::string::npos && nameEnd + 2 < stat.size() && stat[nameEnd + 2] == 'S';
}

bool becomesTrueWithin(std::chrono::seconds limit, const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

class SecondInstanceTest : public ::testing::Test {
protected:
    TempFolder folder;
    Pipe sessionOpen;
    Pipe childWriting;
};

TEST_F(SecondInstanceTest, AWriterWaitsForTheOpenSessionAndNothingIsLost) {
    const auto file = folder.storeFile();
    RegistryStore::OpenFile(file).reset();   // created before the child starts
    const pid_t child = startChild([&] {
        const auto store = RegistryStore::OpenFile(file, std::chrono::seconds(60));
        if (!sessionOpen.wait()) {
            return 1;
        }
        childWriting.signal();
        store->WriteString("Bob", "Second", "2");
        return 0;
    });
    {
        const auto store = RegistryStore::OpenFile(file);
        StoreSession session(*store);
        store->WriteString("Bob", "First", "1");
        sessionOpen.signal();
        // The session stays open until the child, past its last signal, is seen waiting: its write
        // cannot have come after the session.
        ASSERT_TRUE(childWriting.wait());
        EXPECT_TRUE(becomesTrueWithin(std::chrono::seconds(30), [&] { return isSleeping(child); }))
            << "the writer never waited for the open session";
    }
    EXPECT_EQ(waitForChild(child), 0);
    const auto store = RegistryStore::OpenFile(file);
    EXPECT_EQ(store->ReadString("Bob", "First", ""), "1");
    EXPECT_EQ(store->ReadString("Bob", "Second", ""), "2");
}

TEST_F(SecondInstanceTest, AWriterThatWaitsTooLongGetsAClearErrorAndChangesNothing) {
    const auto file = folder.storeFile();
    RegistryStore::OpenFile(file).reset();
    const std::string expected = "Another running Keystead keeps the store file '" + file.string() +
                                 "' busy; try again when it has finished";
    const pid_t child = startChild([&] {
        if (!sessionOpen.wait()) {
            return 1;
        }
        const auto store = RegistryStore::OpenFile(file, std::chrono::milliseconds(200));
        try {
            store->WriteString("Bob", "Second", "2");
        } catch (const KeysteadError& error) {
            return error.what() == expected ? 0 : 2;
        }
        return 3;
    });
    {
        const auto store = RegistryStore::OpenFile(file);
        StoreSession session(*store);
        store->WriteString("Bob", "First", "1");
        sessionOpen.signal();
        EXPECT_EQ(waitForChild(child), 0);   // the session stays open until the child gave up
    }
    const auto store = RegistryStore::OpenFile(file);
    EXPECT_EQ(store->ReadString("Bob", "First", ""), "1");
    EXPECT_EQ(store->ReadString("Bob", "Second", "absent"), "absent");
}

TEST(StoreCommitTest, ACommitThatFailsIsReportedAndLeavesNothing) {
    const TempFolder folder;
    const auto file = folder.storeFile();
    RegistryStore::OpenFile(file)->WriteString("Bob", "Before", "1");
    const std::string expectedStart =
        "The changes could not be saved in the store file '" + file.string() + "': ";
    // The child may not let its files grow: the store opens, but the commit cannot be written.
    const pid_t child = startChild([&] {
        const auto store = RegistryStore::OpenFile(file);
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{64 * 1024, 64 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            StoreSession session(*store);
            for (int n = 1; n <= 200; ++n) {
                store->WriteString("Bob", "Comments" + std::to_string(n), std::string(1000, 'c'));
            }
        } catch (const KeysteadError& error) {
            const bool named = std::string(error.what()).rfind(expectedStart, 0) == 0;
            return named && store->ReadString("Bob", "Comments1", "absent") == "absent" ? 0 : 2;
        }
        return 3;
    });
    EXPECT_EQ(waitForChild(child), 0);
    const auto store = RegistryStore::OpenFile(file);
    EXPECT_EQ(store->ReadString("Bob", "Before", ""), "1");
    EXPECT_EQ(store->ReadString("Bob", "Comments1", "absent"), "absent");
}

}  // namespace
}  // namespace keystead
