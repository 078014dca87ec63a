// Sessions: one transaction for the outermost, undone when left by an exception; a second running
// instance that waits for it; a commit that fails.

#include "store/StoreSession.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>

#include "TempFolder.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"

namespace keystead {
namespace {

using test::TempFolder;

class StoreSessionTest : public ::testing::Test {
protected:
    TempFolder folder;
    std::unique_ptr<RegistryStore> store = RegistryStore::OpenFile(folder.storeFile());

    // What a second running instance sees.
    std::string readElsewhere(std::string_view ident) {
        return RegistryStore::OpenFile(folder.storeFile())->ReadString("Bob", ident, "absent");
    }
};

struct Interrupted : std::runtime_error {
    Interrupted() : std::runtime_error("interrupted") {}
};

TEST_F(StoreSessionTest, TheWritesOfASessionAreSeenByOthersOnlyAfterItEnds) {
    store->WriteString("Bob", "Before", "1");
    EXPECT_EQ(readElsewhere("Before"), "1");   // a write outside a session is committed at once
    {
        StoreSession session(*store);
        store->WriteString("Bob", "Inside", "2");
        EXPECT_EQ(store->ReadString("Bob", "Inside", ""), "2");
        EXPECT_EQ(readElsewhere("Inside"), "absent");
    }
    EXPECT_EQ(readElsewhere("Inside"), "2");
}

TEST_F(StoreSessionTest, ASessionLeftByAnExceptionLeavesNothingOfItsWork) {
    store->WriteString("Bob", "System1", "old");
    EXPECT_THROW(
        {
            StoreSession session(*store);
            store->WriteString("Bob", "System1", "new");
            store->WriteString("Carol", "System1", "new");
            store->DeleteValue("Bob", "System1");
            throw Interrupted();
        },
        Interrupted);
    EXPECT_EQ(store->ReadString("Bob", "System1", ""), "old");
    EXPECT_EQ(store->ReadSections(), std::vector<std::string>{"Bob"});
    EXPECT_EQ(readElsewhere("System1"), "old");
}

TEST_F(StoreSessionTest, NestedSessionsCommitOnceWithTheOutermost) {
    {
        StoreSession outer(*store);
        {
            StoreSession inner(*store);
            store->WriteString("Bob", "Inner", "1");
        }
        EXPECT_EQ(readElsewhere("Inner"), "absent");
        store->WriteString("Bob", "Outer", "1");
    }
    EXPECT_EQ(readElsewhere("Inner"), "1");
    EXPECT_EQ(readElsewhere("Outer"), "1");
}

TEST_F(StoreSessionTest, AnInnerSessionLeftByAnExceptionIsUndoneAlone) {
    {
        StoreSession outer(*store);
        store->WriteString("Bob", "Before", "1");
        try {
            StoreSession inner(*store);
            store->WriteString("Bob", "Inner", "1");
            throw Interrupted();
        } catch (const Interrupted&) {
        }
        store->WriteString("Bob", "After", "1");
    }
    EXPECT_EQ(readElsewhere("Before"), "1");
    EXPECT_EQ(readElsewhere("Inner"), "absent");
    EXPECT_EQ(readElsewhere("After"), "1");
}

TEST_F(StoreSessionTest, AnOuterSessionLeftByAnExceptionUndoesItsClosedInnerSessions) {
    EXPECT_THROW(
        {
            StoreSession outer(*store);
            {
                StoreSession inner(*store);
                store->WriteString("Bob", "Inner", "1");
            }
            throw Interrupted();
        },
        Interrupted);
    EXPECT_EQ(store->ReadString("Bob", "Inner", "absent"), "absent");
}

TEST_F(StoreSessionTest, CloseCommitsAtOnceAndOnlyOnce) {
    StoreSession session(*store);
    store->WriteString("Bob", "x", "1");
    session.close();
    EXPECT_EQ(readElsewhere("x"), "1");
    session.close();
    store->WriteString("Bob", "y", "1");   // its own transaction again
    EXPECT_EQ(readElsewhere("y"), "1");
}

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

class SecondInstanceTest : public ::testing::Test {
protected:
    TempFolder folder;
    Pipe sessionOpen;
};

TEST_F(SecondInstanceTest, AWriterWaitsForTheOpenSessionAndNothingIsLost) {
    const auto file = folder.storeFile();
    RegistryStore::OpenFile(file).reset();   // created before the child starts
    const pid_t child = startChild([&] {
        if (!sessionOpen.wait()) {
            return 1;
        }
        RegistryStore::OpenFile(file)->WriteString("Bob", "Second", "2");
        return 0;
    });
    {
        const auto store = RegistryStore::OpenFile(file);
        StoreSession session(*store);
        store->WriteString("Bob", "First", "1");
        sessionOpen.signal();
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
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
