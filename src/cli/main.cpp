// keystead-cli: the store of Keystead from a terminal and from scripts, on the core alone.

#include <unistd.h>

#include <iostream>

#include "cli/BackupCommands.h"
#include "cli/CliArguments.h"
#include "cli/CliHelp.h"
#include "cli/CliOutput.h"
#include "cli/EntryCommands.h"
#include "cli/FileCommands.h"
#include "cli/TextInput.h"
#include "crypto/SecretMemory.h"
#include "store/KeysteadError.h"

namespace {

using namespace keystead::cli;

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kWrongUsage = 2;

void runCommand(const CliArguments& arguments, const CliOutput& out, const CliOutput& err)
{
    const TextInput input(arguments.passwordStdin);
    const std::string& command = arguments.command;
    if (command == "users")
        RunUsers(arguments, out);
    else if (command == "list")
        RunList(arguments, input, out);
    else if (command == "show")
        RunShow(arguments, input, out, err);
    else if (command == "add")
        RunAdd(arguments, input, std::cout);
    else if (command == "export")
        RunExport(arguments, input);
    else if (command == "import")
        RunImport(arguments, input);
    else if (command == "backups")
        RunBackups(arguments, std::cout);
    else if (command == "backup")
        RunBackup(arguments, std::cout);
    else if (command == "restore")
        RunRestore(arguments, std::cout);
    else if (command == "clip")
        RunClip(arguments, input, err);
    else
        RunPasswd(arguments, input);
}

}  // namespace

int main(int argc, char* argv[])
{
    keystead::DisableCoreDumps();
    const CliOutput out(std::cout, STDOUT_FILENO);
    const CliOutput err(std::cerr, STDERR_FILENO);
    try {
        const CliArguments arguments = ParseArguments(argc, argv);
        if (arguments.help)
            std::cout << HelpText(arguments.command);
        else if (arguments.version)
            std::cout << VersionText();
        else
            runCommand(arguments, out, err);
        std::cout.flush();
        return std::cout ? kDone : kRefused;
    } catch (const UsageError& error) {
        std::cerr << "keystead-cli: " << err.shownLines(error.what())
                  << "\nTry 'keystead-cli --help' for more information.\n";
        return kWrongUsage;
    } catch (const std::exception& error) {
        std::cerr << err.shownLines(error.what()) << '\n';
        return kRefused;
    }
}
