// keystead-cli run as a process on a store in a temporary folder: every command, the exit
// statuses, the windows' messages, a busy store, and that passwords never pass as arguments.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "../exchange/UserFixture.h"
#include "CliProcess.h"
#include "store/StoreSession.h"

namespace keystead::test {

namespace {

class CliTest : public UserFixture {
protected:
    CliTest()
    {
        logOnCurrent("Alice", "alice pw",
              {{"web mail", "alice@example.org", "m41l", "line one\r\nline two", "30", "5"},
               {"Bank", "a-1001", "b4nk", "", "", ""},
               {"BANK", "joint", "j01nt", "", "", ""}});
    }

    // Logged on once by this version, so that no upgrade of earlier data is due.
    void logOnCurrent(const std::string& user, const std::string& password, const std::vector<PlainEntry>& entries)
    {
        logOn(user, password, entries);
        store->WriteInteger(user, "MajorVersion", 3);
    }

    CliResult cli(std::vector<std::string> arguments, const std::string& input = {})
    {
        arguments.insert(arguments.end(), {"--store", folder.storeFile().string(), "--password-stdin"});
        return runCli(folder.path(), arguments, input);
    }
};

}  // namespace

// The list's order is the user's SortColumn with the list's compare rule; show finds an entry by
// its number or its description in any letter case and refuses a description that several have.
TEST_F(CliTest, ListAndShowFollowTheWindowsRules)
{
    store->WriteInteger("Alice", "SortColumn", 1);
    const CliResult list = cli({"list", "--user", "Alice", "--show"}, "alice pw\n");
    EXPECT_EQ(list.status, 0) << list.err;
    EXPECT_EQ(list.out, "2\tBank\ta-1001\tb4nk\n1\tweb mail\talice@example.org\tm41l\n3\tBANK\tjoint\tj01nt\n");

    const CliResult shown = cli({"show", "--user", "Alice", "WEB MAIL"}, "alice pw\n");
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_EQ(shown.out, "Number: 1\nDescription: web mail\nUsername: alice@example.org\n"
                         "Expiration: Expires in 5 Days\nComments:\nline one\nline two\n");

    const CliResult twoBanks = cli({"show", "--user", "Alice", "bank"}, "alice pw\n");
    EXPECT_EQ(twoBanks.status, 1);
    EXPECT_NE(twoBanks.err.find("2 entries match 'bank'"), std::string::npos) << twoBanks.err;
    EXPECT_EQ(cli({"show", "--user", "Alice", "3"}, "alice pw\n").out,
              "Number: 3\nDescription: BANK\nUsername: joint\nComments:\n");
}

// --match keeps the entries whose description, user name or comments contain the text in any
// letter case, as Find in the window does; a password never matches.
TEST_F(CliTest, ListMatchAppliesFindsRule)
{
    const auto listed = [this](const std::string& match) {
        return cli({"list", "--user", "Alice", "--match", match}, "alice pw\n").out;
    };
    EXPECT_EQ(listed("bAnK"), "2\tBank\ta-1001\n3\tBANK\tjoint\n");
    EXPECT_EQ(listed("JOINT"), "3\tBANK\tjoint\n");
    EXPECT_EQ(listed("LINE TWO"), "1\tweb mail\talice@example.org\n");
    EXPECT_EQ(listed("b4nk"), "");
}

TEST_F(CliTest, RefusalsAndWrongUsageHaveTheirStatuses)
{
    const CliResult wrong = cli({"list", "--user", "Alice"}, "not it\n");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.err, "Your password is incorrect.\n");
    EXPECT_EQ(cli({"list", "--user", "Nobody"}, "x\n").err, "Your username does not exist.\n");
    EXPECT_EQ(cli({"list", "--user", "Alice", "--plain"}).status, 2);
    EXPECT_EQ(cli({"export", "--user", "Alice"}).status, 2);
    EXPECT_EQ(cli({"frobnicate"}).status, 2);
    // No terminal and no --password-stdin: nowhere to read a password from.
    const CliResult noTerminal = runCli(folder.path(), {"list", "--user", "Alice", "--store", folder.storeFile()});
    EXPECT_EQ(noTerminal.status, 2);
    EXPECT_EQ(cli({"users"}).out, "Alice\n");
}

// add runs the entry editor's checks and messages before anything is stored.
TEST_F(CliTest, AddChecksLikeTheEntryEditor)
{
    const CliResult noPassword = cli({"add", "--user", "Alice"}, "alice pw\nshop\nme\n \n \nnotes\n");
    EXPECT_EQ(noPassword.status, 1);
    EXPECT_EQ(noPassword.err, "You must enter a password.\n");
    const CliResult mismatch = cli({"add", "--user", "Alice"}, "alice pw\nshop\nme\nsecret\nsecreT\nnotes\n");
    EXPECT_EQ(mismatch.err, "The password and verify password do not match.\n");
    EXPECT_EQ(plainEntries().size(), 3U);

    const CliResult added = cli({"add", "--user", "Alice"}, "alice pw\n  shop  \nme\nsecret\nsecret\nnotes\n");
    EXPECT_EQ(added.status, 0) << added.err;
    EXPECT_EQ(added.out, "4\n");
    const std::vector<PlainEntry> entries = plainEntries();
    ASSERT_EQ(entries.size(), 4U);
    EXPECT_EQ(entries[3], (PlainEntry{"shop", "me", "secret", "notes", "", ""}));
}

// Alice exports, Bob imports with Alice's password; a plain export is readable text.
TEST_F(CliTest, ExportAndImportBetweenUsers)
{
    logOnCurrent("Bob", "bob pw", {{"old", "", "o1d", "", "", ""}});
    const std::string exported = file("alice.txt").string();
    EXPECT_EQ(cli({"export", "--user", "Alice", "--out", exported}, "alice pw\n").status, 0);

    const CliResult wrongFilePassword = cli({"import", "--user", "Bob", "--file", exported}, "bob pw\nbob pw\n");
    EXPECT_EQ(wrongFilePassword.status, 1);
    EXPECT_EQ(wrongFilePassword.err,
              "The password is incorrect or the password list is corrupt. Please re-type the password and try again.\n");

    const CliResult imported =
        cli({"import", "--user", "Bob", "--file", exported, "--overwrite"}, "bob pw\nalice pw\n");
    EXPECT_EQ(imported.status, 0) << imported.err;
    const std::vector<PlainEntry> bobs = plainEntries();
    ASSERT_EQ(bobs.size(), 3U);
    EXPECT_EQ(bobs[0].password, "m41l");

    const std::string plain = file("plain.txt").string();
    EXPECT_EQ(cli({"export", "--user", "Bob", "--out", plain, "--plain"}, "bob pw\n").status, 0);
    EXPECT_NE(readFile(plain).find("j01nt"), std::string::npos);
}

// The change keeps the dialog's checks; afterwards only the new password opens the list.
TEST_F(CliTest, PasswdChangesTheLogonPassword)
{
    EXPECT_EQ(cli({"passwd", "--user", "Alice"}, "wrong\nnew pw\nnew pw\n").err, "Your old password is incorrect.\n");
    EXPECT_EQ(cli({"passwd", "--user", "Alice"}, "alice pw\nnew pw\nnew\n").err,
              "The password and verify password do not match.\n");
    EXPECT_EQ(cli({"passwd", "--user", "Alice"}, "alice pw\nnew pw\nnew pw\n").status, 0);
    EXPECT_EQ(cli({"list", "--user", "Alice"}, "alice pw\n").status, 1);
    EXPECT_EQ(cli({"list", "--user", "Alice"}, "new pw\n").out.substr(0, 7), "2\tBank\t");
}

// While another program holds its session the tool waits the busy time-out, then says so and
// changes nothing.
TEST_F(CliTest, BusyStoreIsReportedAndLeftAsItWas)
{
    StoreSession held(*store);
    const CliResult busy = cli({"add", "--user", "Alice"}, "alice pw\nshop\n\nsecret\nsecret\n\n");
    EXPECT_EQ(busy.status, 1);
    EXPECT_NE(busy.err.find("busy"), std::string::npos) << busy.err;
    held.close();
    EXPECT_EQ(plainEntries().size(), 3U);
}

// While the tool waits for its password, neither its arguments show it nor can it leave a
// core file.
TEST_F(CliTest, PasswordNeverInTheArgumentsAndNoCoreFile)
{
    CliProcess process(folder.path(), {"list", "--user", "Alice", "--store", folder.storeFile(), "--password-stdin"});
    const std::filesystem::path proc = "/proc/" + std::to_string(process.pid());
    std::string limits;
    for (int tries = 0; tries < 200 && limits.find("Max core file size        0") == std::string::npos; ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        limits = readFile(proc / "limits");
    }
    EXPECT_NE(limits.find("Max core file size        0                    0"), std::string::npos) << limits;
    const std::string cmdline = readFile(proc / "cmdline");
    EXPECT_NE(cmdline.find("list"), std::string::npos);
    EXPECT_EQ(cmdline.find("alice pw"), std::string::npos);
    EXPECT_EQ(process.finish("alice pw\n").status, 0);
}

}  // namespace keystead::test
