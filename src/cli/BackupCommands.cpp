#include "cli/BackupCommands.h"

#include <ctime>
#include <ostream>

#include "cli/CliArguments.h"
#include "store/RegistryStore.h"
#include "store/StoreBackups.h"

namespace keystead::cli {

namespace {

std::filesystem::path storeFileOf(const CliArguments& arguments)
{
    return arguments.store.empty() ? RegistryStore::DefaultFile() : arguments.store;
}

std::string localTimeText(BackupTime time)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[32] = {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

std::string joined(const std::vector<std::string>& users)
{
    std::string text;
    for (const auto& user : users)
        text += (text.empty() ? "" : ", ") + user;
    return text;
}

// A bare name is one of the backup folder's, as the backups command lists them.
std::filesystem::path backupFile(const StoreBackups& backups, const std::filesystem::path& given)
{
    const std::filesystem::path inFolder = backups.folder() / given;
    return !given.has_parent_path() && std::filesystem::exists(inFolder) ? inFolder : given;
}

}  // namespace

void RunBackups(const CliArguments& arguments, std::ostream& out)
{
    for (const auto& backup : StoreBackups(storeFileOf(arguments)).list())
        out << backup.file.filename().string() << '\t' << localTimeText(backup.time) << '\t' << backup.size
            << '\t' << joined(backup.users) << '\n';
}

void RunBackup(const CliArguments& arguments, std::ostream& out)
{
    StoreBackups backups(storeFileOf(arguments));
    if (arguments.out.empty()) {
        out << backups.take().string() << '\n';
    } else {
        backups.takeTo(arguments.out);
        out << arguments.out.string() << '\n';
    }
}

void RunRestore(const CliArguments& arguments, std::ostream& out)
{
    StoreBackups backups(storeFileOf(arguments));
    const std::filesystem::path file = backupFile(backups, arguments.entry);
    backups.restore(file);
    out << "Restored " << file.string() << '\n';
}

void BackUpBeforeChange(const std::filesystem::path& storeFile, std::ostream& err)
{
    if (const auto failure = StoreBackups(storeFile).takeAutomatic(false))
        err << *failure << '\n';
}

}  // namespace keystead::cli
