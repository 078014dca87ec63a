// keystead-cli run as a process on a store in a temporary folder: every command, the exit
// statuses, the windows' messages, a busy store, and that passwords never pass as arguments.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>
#include <utility>

#include "../exchange/UserFixture.h"
#include "CliProcess.h"
#include "TerminalSession.h"
#include "session/ProgramVersion.h"
#include "store/SealCost.h"
#include "store/StoreSeal.h"
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

    // Logged on once by this version, so that no upgrade of earlier data is due, and sealed as
    // that logon seals, at the least cost: the tool then opens the seal at once.
    void logOnCurrent(const std::string& user, const std::string& password, const std::vector<PlainEntry>& entries)
    {
        logOn(user, password, entries);
        store->WriteInteger(user, "MajorVersion", 3);
        useCheapSealCostForTests();
        SealUser(*store, user, password);
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
    const CliResult tooLong = cli({"clip", "--user", "Alice", "--seconds", "1000", "1"});
    EXPECT_EQ(tooLong.status, 2);
    EXPECT_NE(tooLong.err.find("--seconds takes a whole number from 0 to 999"), std::string::npos) << tooLong.err;
}

// Without an X display there is no clipboard to copy to: said before any password is asked.
TEST_F(CliTest, ClipWithoutADisplayIsRefused)
{
    CliProcess process(folder.path(), {"clip", "--user", "Alice", "--store", folder.storeFile(), "--password-stdin", "1"},
                       [] { ::unsetenv("DISPLAY"); });
    const CliResult result = process.finish("");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "There is no X display (DISPLAY is not set): the clipboard cannot be reached.\n");
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

// A user not yet logged on, whose section has no version stamp, gets one with its first entries
// from add or import: the logon then takes them for current data, never to be encrypted again.
TEST_F(CliTest, AddAndImportStampTheVersionOfAUserNotYetLoggedOn)
{
    const std::string exported = file("alice.txt").string();
    EXPECT_EQ(cli({"export", "--user", "Alice", "--out", exported}, "alice pw\n").status, 0);
    for (const char* user : {"Carol", "Dave"}) {
        logOn(user, "new pw");
        store->deleteValues(user, {"MajorVersion", "MinorVersion"});   // as created before stamping
        SealUser(*store, user, "new pw");
    }
    EXPECT_EQ(cli({"add", "--user", "Carol"}, "new pw\nBank\nme\nsecret\nsecret\n\n").status, 0);
    EXPECT_EQ(cli({"import", "--user", "Dave", "--file", exported}, "new pw\nalice pw\n").status, 0);
    for (const char* user : {"Carol", "Dave"}) {
        EXPECT_EQ(store->ReadInteger(user, "MajorVersion", 0), compiledVersion().major) << user;
        EXPECT_EQ(store->ReadInteger(user, "MinorVersion", 0), compiledVersion().minor) << user;
    }
}

// A section written before the seal existed is sealed by the tool's first logon, at its real cost.
TEST_F(CliTest, TheFirstLogonSealsAUserWrittenBeforeTheSeal)
{
    logOn("Erin", "erin pw", {{"Bank", "erin", "b4nk", "", "", ""}});
    store->WriteInteger("Erin", "MajorVersion", 3);
    const CliResult first = cli({"list", "--user", "Erin", "--show"}, "erin pw\n");
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "1\tBank\terin\tb4nk\n");
    EXPECT_TRUE(IsSealed(*store, "Erin"));
    EXPECT_EQ(cli({"list", "--user", "Erin", "--show"}, "erin pw\n").out, first.out);
    EXPECT_EQ(cli({"list", "--user", "Erin"}, "Erin pw\n").err, "Your password is incorrect.\n");
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

// import and passwd back the store up first, and restoring that backup undoes the change; a
// backup that cannot be written does not stop the change.
TEST_F(CliTest, ABackupBeforeAWholeListChangeCanBeRestored)
{
    EXPECT_EQ(cli({"passwd", "--user", "Alice"}, "alice pw\nnew pw\nnew pw\n").status, 0);
    const CliResult listed = cli({"backups"});
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 1) << listed.out;
    EXPECT_NE(listed.out.find("\tAlice\n"), std::string::npos) << listed.out;
    const CliResult restored = cli({"restore", listed.out.substr(0, listed.out.find('\t'))});
    EXPECT_EQ(restored.status, 0) << restored.err;
    EXPECT_EQ(cli({"list", "--user", "Alice"}, "alice pw\n").status, 0);
    const std::string backups = cli({"backups"}).out;
    EXPECT_EQ(std::count(backups.begin(), backups.end(), '\n'), 2) << backups;
    EXPECT_EQ(cli({"restore"}).status, 2);
    const std::string copy = file("copy.sqlite").string();
    EXPECT_EQ(cli({"backup", "--out", copy}).out, copy + "\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(copy));

    std::filesystem::remove_all(folder.path() / "backups");
    std::filesystem::create_directory_symlink(folder.path(), folder.path() / "backups");
    const CliResult unbacked = cli({"passwd", "--user", "Alice"}, "alice pw\nnew pw\nnew pw\n");
    EXPECT_EQ(unbacked.status, 0);
    EXPECT_NE(unbacked.err.find("The automatic backup failed: The backup folder"), std::string::npos)
        << unbacked.err;
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

namespace {

// The soft and the hard core limit as /proc/PID/limits shows them; empty before it can be read.
std::pair<std::string, std::string> coreLimits(const std::string& limits)
{
    constexpr std::string_view kName = "Max core file size";
    const std::size_t line = limits.find(kName);
    if (line == std::string::npos)
        return {};
    std::istringstream words(limits.substr(line + kName.size()));
    std::string soft;
    std::string hard;
    words >> soft >> hard;
    return {soft, hard};
}

// The tool starts with core files allowed up to the hard limit, and the sanitizer of a test build,
// which would lower the soft limit before the tool's first line, is told not to.
void allowCoreFiles()
{
    rlimit core{};
    ::getrlimit(RLIMIT_CORE, &core);
    core.rlim_cur = core.rlim_max;
    ::setrlimit(RLIMIT_CORE, &core);
    const char* const options = std::getenv("ASAN_OPTIONS");
    ::setenv("ASAN_OPTIONS", (std::string(options ? options : "") + ":disable_coredump=0").c_str(), 1);
}

}  // namespace

// While the tool waits for its password, neither its arguments show it nor can it leave a core
// file. It lowers only the soft core limit: the hard one passes on to whatever it starts.
TEST_F(CliTest, PasswordNeverInTheArgumentsAndNoCoreFile)
{
    rlimit inherited{};
    ASSERT_EQ(::getrlimit(RLIMIT_CORE, &inherited), 0);
    const std::string hard = inherited.rlim_max == RLIM_INFINITY ? "unlimited" : std::to_string(inherited.rlim_max);
    CliProcess process(folder.path(), {"list", "--user", "Alice", "--store", folder.storeFile(), "--password-stdin"},
                       allowCoreFiles);
    const std::filesystem::path proc = "/proc/" + std::to_string(process.pid());
    // Waits for the tool's own call: it starts with a soft limit above 0 (where the hard limit allows
    // one), and until its command line shows, the process is still the test's.
    std::pair<std::string, std::string> limits;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while ((limits.first != "0" || !readFile(proc / "cmdline").starts_with(KEYSTEAD_CLI)) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        limits = coreLimits(readFile(proc / "limits"));
    }
    EXPECT_EQ(limits, std::make_pair(std::string("0"), hard));
    const std::string cmdline = readFile(proc / "cmdline");
    EXPECT_NE(cmdline.find("list"), std::string::npos);
    EXPECT_EQ(cmdline.find("alice pw"), std::string::npos);
    EXPECT_EQ(process.finish("alice pw\n").status, 0);
}

// A store that does not exist is refused by every command that only reads, and neither it nor
// its folder is made; an empty file is no store either and stays empty.
TEST_F(CliTest, MistypedStoreIsRefusedAndNothingIsCreated)
{
    const std::filesystem::path mistyped = file("typo") / "registry.sqlite";
    const std::vector<std::vector<std::string>> commands{{"users"},
                                                         {"list", "--user", "Alice"},
                                                         {"show", "--user", "Alice", "1"},
                                                         {"export", "--user", "Alice", "--out", file("out.txt")}};
    for (std::vector<std::string> command : commands) {
        command.insert(command.end(), {"--store", mistyped, "--password-stdin"});
        const CliResult refused = runCli(folder.path(), command, "alice pw\n");
        EXPECT_EQ(refused.status, 1) << command.front();
        EXPECT_EQ(refused.err, "The store file '" + mistyped.string() + "' does not exist\n");
    }
    EXPECT_FALSE(std::filesystem::exists(file("typo")));
    EXPECT_FALSE(std::filesystem::exists(file("out.txt")));

    const std::filesystem::path empty = file("empty.sqlite");
    writeFile(empty, "");
    const CliResult notAStore = runCli(folder.path(), {"users", "--store", empty});
    EXPECT_EQ(notAStore.status, 1);
    EXPECT_EQ(notAStore.err, "The file '" + empty.string() + "' is not a Keystead store; it was left unchanged\n");
    EXPECT_EQ(std::filesystem::file_size(empty), 0U);
}

// An answer longer than 64 KiB is refused before it is used; one of 64 KiB is still read.
TEST_F(CliTest, InputLinesAreCappedAt64KiB)
{
    const CliResult tooLong = cli({"list", "--user", "Alice"}, std::string(64 * 1024 + 1, 'x') + "\n");
    EXPECT_EQ(tooLong.status, 1);
    EXPECT_EQ(tooLong.err, "The answer to 'Password: ' is longer than 64 KiB\n");
    EXPECT_EQ(cli({"list", "--user", "Alice"}, std::string(64 * 1024, 'x') + "\n").err,
              "Your password is incorrect.\n");
}

// At a terminal a stored text cannot steer it: control characters and bytes that are no UTF-8
// show as escapes, the comments keep their line breaks. Into a file every byte goes as stored.
TEST_F(CliTest, AtATerminalControlCharactersShowAsEscapes)
{
    addEntries({{"\x1b]0;owned\x07" "caf\xc3\xa9", "\x1b[2J\xc2\x9bme\xe9", "p\tw", "one\r\n\x1b]52;c;eA==\x07two", "",
                 ""}});
    TerminalSession terminal({"show", "--user", "Alice", "--show", "4", "--store", folder.storeFile()});
    ASSERT_TRUE(terminal.waitForText("Password: ")) << terminal.screen();
    ASSERT_TRUE(terminal.waitForEcho(false));
    terminal.type("alice pw\n");
    EXPECT_EQ(terminal.finish(), 0) << terminal.screen();
    const std::string& screen = terminal.screen();
    EXPECT_NE(screen.find("Description: \\x1b]0;owned\\x07café\r\n"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Username: \\x1b[2J\\xc2\\x9bme\\xe9\r\n"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Password: p\\x09w\r\n"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Comments:\r\none\r\n\\x1b]52;c;eA==\\x07two\r\n"), std::string::npos) << screen;
    EXPECT_EQ(screen.find('\x1b'), std::string::npos) << screen;

    const CliResult piped = cli({"show", "--user", "Alice", "--show", "4"}, "alice pw\n");
    EXPECT_NE(piped.out.find("Description: \x1b]0;owned\x07" "café\nUsername: \x1b[2J\xc2\x9bme\xe9\n"),
              std::string::npos);
}

// A hidden prompt gives the terminal its echo back also when Ctrl+C ends the tool there; with
// --password-stdin and the terminal as standard input, what is typed is hidden as well.
TEST_F(CliTest, AtATerminalPasswordsAreHiddenAndEchoComesBack)
{
    TerminalSession interrupted({"list", "--user", "Alice", "--store", folder.storeFile()});
    ASSERT_TRUE(interrupted.waitForText("Password: ")) << interrupted.screen();
    ASSERT_TRUE(interrupted.waitForEcho(false));
    interrupted.type("\x03");
    const int status = interrupted.finish();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
    EXPECT_TRUE(interrupted.echoOn());

    TerminalSession fromStdin({"list", "--user", "Alice", "--store", folder.storeFile(), "--password-stdin"});
    ASSERT_TRUE(fromStdin.waitForText("Password: ")) << fromStdin.screen();
    EXPECT_TRUE(fromStdin.waitForEcho(false));
    fromStdin.type("alice pw\n");
    EXPECT_EQ(fromStdin.finish(), 0) << fromStdin.screen();
    EXPECT_EQ(fromStdin.screen().find("alice pw"), std::string::npos) << fromStdin.screen();
    EXPECT_NE(fromStdin.screen().find("web mail"), std::string::npos) << fromStdin.screen();
    EXPECT_TRUE(fromStdin.echoOn());
}

}  // namespace keystead::test
