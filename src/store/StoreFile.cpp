#include "store/StoreFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>

#include "store/KeysteadError.h"

namespace keystead {

namespace {

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

std::string reasonOf(int error) {
    return std::generic_category().message(error);
}

std::filesystem::path homeFolder() {
    const char* const home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* const entry = getpwuid(getuid());
    if (entry == nullptr || entry->pw_dir == nullptr) {
        throw KeysteadError("Cannot find the home folder for the store");
    }
    return entry->pw_dir;
}

std::filesystem::path dataHome() {
    const char* const xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && std::filesystem::path(xdg).is_absolute()) {
        return xdg;
    }
    return homeFolder() / ".local" / "share";
}

// mkdir applies the umask; the mode is set afterwards so the folder is exactly owner-only.
void createFolder(const std::filesystem::path& folder) {
    if (mkdir(folder.c_str(), kFolderMode) == 0) {
        if (chmod(folder.c_str(), kFolderMode) == 0) {
            return;
        }
    } else if (errno == EEXIST && std::filesystem::is_directory(folder)) {
        return;  // made meanwhile by another instance
    }
    throw KeysteadError("Cannot create the folder '" + folder.string() + "' for the store: " +
                        reasonOf(errno));
}

void createMissingFolders(const std::filesystem::path& folder) {
    if (folder.empty()) {
        return;
    }
    std::error_code error;
    const auto status = std::filesystem::status(folder, error);
    if (std::filesystem::is_directory(status)) {
        return;
    }
    if (std::filesystem::exists(status)) {
        throw KeysteadError("Cannot create the folder '" + folder.string() +
                            "' for the store: " + reasonOf(ENOTDIR));
    }
    createMissingFolders(folder.parent_path());
    createFolder(folder);
}

}  // namespace

std::filesystem::path defaultStoreFile() {
    return dataHome() / "Vorrent" / "Keystead" / "registry.sqlite";
}

void createStoreFile(const std::filesystem::path& file) {
    createMissingFolders(file.parent_path());
    const FileDescriptor fd(open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, kFileMode));
    if (fd.get() < 0 && errno == EEXIST) {
        return;
    }
    // open applies the umask; the mode is set afterwards so the file is exactly owner-only.
    if (fd.get() < 0 || fchmod(fd.get(), kFileMode) != 0) {
        throw KeysteadError("Cannot create the store file '" + file.string() + "': " +
                            reasonOf(errno));
    }
}

}  // namespace keystead
