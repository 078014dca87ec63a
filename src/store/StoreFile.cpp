#include "store/StoreFile.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "store/FileText.h"
#include "store/KeysteadError.h"

namespace keystead {

namespace {

constexpr mode_t kFolderMode = 0700;
constexpr mode_t kFileMode = 0600;
constexpr mode_t kOthersBits = 077;

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

std::optional<std::filesystem::path> absoluteVariable(const char* name) {
    const char* const value = std::getenv(name);
    if (value != nullptr && std::filesystem::path(value).is_absolute()) {
        return std::filesystem::path(value);
    }
    return std::nullopt;
}

// A relative HOME would put the store below whatever folder the program was started in.
std::filesystem::path homeFolder() {
    if (auto home = absoluteVariable("HOME")) {
        return *home;
    }
    const passwd* const entry = getpwuid(getuid());
    if (entry == nullptr || entry->pw_dir == nullptr ||
        !std::filesystem::path(entry->pw_dir).is_absolute()) {
        throw KeysteadError("Cannot find the home folder for the store");
    }
    return entry->pw_dir;
}

std::filesystem::path dataHome() {
    if (auto xdg = absoluteVariable("XDG_DATA_HOME")) {
        return *xdg;
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
    throw KeysteadError("Cannot create the folder " + quoted(folder) + " for the store: " +
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
        throw KeysteadError("Cannot create the folder " + quoted(folder) +
                            " for the store: " + reasonOf(ENOTDIR));
    }
    createMissingFolders(folder.parent_path());
    createFolder(folder);
}

std::string fileSubject(const std::filesystem::path& file) {
    return "The store file " + quoted(file);
}

std::string folderSubject(const std::filesystem::path& folder) {
    return "The store's folder " + quoted(folder);
}

[[noreturn]] void refuse(const std::string& subject, const std::string& reason) {
    throw KeysteadError(subject + " " + reason + "; it was left unchanged");
}

// The checks run on the entry itself, never on what a link points to: a link could lead the
// store's writes, and its secrets, anywhere.
struct stat entryStatus(const std::filesystem::path& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0) {
        throw KeysteadError("Cannot examine " + quoted(path) + " for the store: " +
                            reasonOf(errno));
    }
    return info;
}

void checkOwnedEntry(const struct stat& info, const std::string& subject) {
    if (S_ISLNK(info.st_mode)) {
        refuse(subject, "is a symbolic link");
    }
    if (info.st_uid != geteuid()) {
        refuse(subject, "belongs to another user");
    }
}

// The store's folder: a world-writable folder would let others replace the file or plant
// journal files beside it.
void checkFolder(const std::string& subject, const struct stat& info) {
    checkOwnedEntry(info, subject);
    if (!S_ISDIR(info.st_mode)) {
        refuse(subject, "is not a folder");
    }
    if ((info.st_mode & S_ISVTX) != 0) {
        refuse(subject, "is shared with other users");
    }
}

void checkFile(const struct stat& info, const std::filesystem::path& file) {
    checkOwnedEntry(info, fileSubject(file));
    if (!S_ISREG(info.st_mode)) {
        refuse(fileSubject(file), "is not a regular file");
    }
}

// By path, not through a descriptor of our own: closing any descriptor of a file drops the locks
// SQLite holds on it in this process. The entry was checked just before, inside a folder only its
// owner can change.
void narrowMode(const struct stat& info, mode_t mode, const std::filesystem::path& path) {
    if ((info.st_mode & kOthersBits) != 0 && chmod(path.c_str(), mode) != 0) {
        throw KeysteadError("Cannot limit the access to " + quoted(path) + ": " + reasonOf(errno));
    }
}

std::optional<struct stat> existingEntry(const std::filesystem::path& path) {
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0) {
        return info;
    }
    if (errno != ENOENT) {
        throw KeysteadError("Cannot examine " + quoted(path) + " for the store: " +
                            reasonOf(errno));
    }
    return std::nullopt;
}

void createFile(const std::filesystem::path& file) {
    const FileDescriptor fd(
        open(file.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, kFileMode));
    if (fd.get() < 0 && errno == EEXIST) {
        return;  // made meanwhile by another instance
    }
    // open applies the umask; the mode is set afterwards so the file is exactly owner-only.
    if (fd.get() < 0 || fchmod(fd.get(), kFileMode) != 0) {
        throw KeysteadError("Cannot create the store file " + quoted(file) + ": " +
                            reasonOf(errno));
    }
}

std::filesystem::path folderOf(const std::filesystem::path& file) {
    return file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
}

// Checks the store file and its folder, and with create makes what is missing.
void prepareStoreFile(const std::filesystem::path& file, bool create) {
    const std::filesystem::path folder = folderOf(file);
    if (create) {
        createMissingFolders(file.parent_path());
    } else if (!existingEntry(file)) {
        throw KeysteadError(fileSubject(file) + " does not exist");
    }
    // Everything is looked at before anything is changed, so a refused store is left as it was.
    const struct stat folderInfo = entryStatus(folder);
    checkFolder(folderSubject(folder), folderInfo);
    std::vector<std::pair<std::filesystem::path, struct stat>> existing;
    for (const auto& path : storeFiles(file)) {
        if (const auto info = existingEntry(path)) {
            checkFile(*info, path);
            existing.emplace_back(path, *info);
        }
    }
    narrowMode(folderInfo, kFolderMode, folder);
    for (const auto& [path, info] : existing) {
        narrowMode(info, kFileMode, path);
    }
    if (create && (existing.empty() || existing.front().first != file)) {
        createFile(file);
    }
}

}  // namespace

std::vector<std::filesystem::path> storeFiles(const std::filesystem::path& file) {
    return {file, file.string() + "-wal", file.string() + "-shm", file.string() + "-journal"};
}

bool namesStoreFile(const std::filesystem::path& candidate, const std::filesystem::path& file) {
    for (const auto& path : storeFiles(file)) {
        std::error_code missing;
        if (candidate.filename() == path.filename() &&
            std::filesystem::equivalent(folderOf(candidate), folderOf(path), missing)) {
            return true;
        }
    }
    return false;
}

std::filesystem::path defaultStoreFile() {
    return dataHome() / "Vorrent" / "Keystead" / "registry.sqlite";
}

void createStoreFile(const std::filesystem::path& file) {
    prepareStoreFile(file, true);
}

void checkStoreFile(const std::filesystem::path& file) {
    prepareStoreFile(file, false);
}

void createBackupFolder(const std::filesystem::path& folder) {
    if (!existingEntry(folder)) {
        createFolder(folder);
    }
    const struct stat info = entryStatus(folder);
    checkFolder("The backup folder " + quoted(folder), info);
    narrowMode(info, kFolderMode, folder);
}

}  // namespace keystead
