// Sessions: one transaction for the outermost, undone when left by an exception, its writes seen
// by another opening of the store only once it ends.

#include "store/StoreSession.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "TempFolder.h"
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

// The counter tells a window that another opening of the store (another running program) has
// committed something since it last looked; its own commits do not count.
TEST_F(StoreSessionTest, TheChangeCounterMovesOnlyWithAnotherOpeningsCommits) {
#ifdef _WIN32
    GTEST_SKIP() << "the registry keeps no count of commits: the window follows no other writer there";
#endif
    const std::int64_t start = store->changeCounter();
    store->WriteString("Bob", "Own", "1");
    EXPECT_EQ(store->changeCounter(), start);
    RegistryStore::OpenFile(folder.storeFile())->WriteString("Bob", "Elsewhere", "1");
    const std::int64_t changed = store->changeCounter();
    EXPECT_NE(changed, start);
    EXPECT_EQ(store->changeCounter(), changed);
}

// What is handed to afterCommit shows the store's kept state: it runs after the outermost commit,
// never for work that was undone.
TEST_F(StoreSessionTest, WorkAfterCommitRunsOnlyForWhatWasKept) {
    std::vector<std::string> ran;
    const auto note = [&ran](std::string what) { return [&ran, what] { ran.push_back(what); }; };
    store->afterCommit(note("outside"));
    EXPECT_EQ(ran, std::vector<std::string>{"outside"});
    {
        StoreSession outer(*store);
        store->afterCommit(note("outer"));
        {
            StoreSession kept(*store);
            store->afterCommit(note("kept"));
        }
        try {
            StoreSession undone(*store);
            store->afterCommit(note("undone"));
            throw Interrupted();
        } catch (const Interrupted&) {
        }
        EXPECT_EQ(ran.size(), 1u);
    }
    EXPECT_EQ(ran, (std::vector<std::string>{"outside", "outer", "kept"}));

    EXPECT_THROW(
        {
            StoreSession rolledBack(*store);
            store->afterCommit(note("rolled back"));
            throw Interrupted();
        },
        Interrupted);
    EXPECT_EQ(ran.size(), 3u);
}

}  // namespace
}  // namespace keystead
