#pragma once
// The command line of keystead-cli: one command, its options and its one operand. Passwords
// never come from here.

#include <filesystem>
#include <stdexcept>
#include <string>

namespace keystead::cli {

// Wrong usage: an unknown command or option, a missing value; exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CliArguments {
    std::string command;            // empty with --help or --version alone
    std::string user;               // --user, trimmed as the logon window trims it
    std::filesystem::path store;    // --store; empty: the store the program uses
    std::filesystem::path out;      // export and backup --out
    std::filesystem::path file;     // import --file
    std::string entry;              // the operand: show's and clip's entry, restore's backup
    std::string match;              // list --match: the text Find looks for
    int seconds = -1;               // clip --seconds; -1: the user's ClipboardClearSeconds
    bool username = false;          // clip --username
    bool plain = false;
    bool overwrite = false;
    bool show = false;
    bool passwordStdin = false;
    bool help = false;
    bool version = false;
};

// Checks that every option belongs to the command and that its required ones are there.
CliArguments ParseArguments(int argc, const char* const* argv);

}  // namespace keystead::cli
