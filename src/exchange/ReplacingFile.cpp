#include "exchange/ReplacingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/KeysteadError.h"

namespace keystead {

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
    refuseUnlessRegular();
    const std::filesystem::path folder = target_.parent_path().empty() ? "." : target_.parent_path();
    // A short name of its own: one built from the target's name would be too long for a target
    // whose name is near the longest a folder allows.
    temporary_ = (folder / ".keystead-XXXXXX").string();
    // mkostemp creates the file with mode 0600: an export file holds secrets.
    descriptor_ = mkostemp(temporary_.data(), O_CLOEXEC);
    if (descriptor_ < 0) {
        const int error = errno;
        temporary_.clear();
        fail(std::strerror(error));
    }
}

ReplacingFile::~ReplacingFile() {
    closeDescriptor();
    if (!committed_ && !temporary_.empty()) {
        ::unlink(temporary_.c_str());
    }
}

void ReplacingFile::closeDescriptor() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
}

void ReplacingFile::fail(std::string_view cause) const {
    throw KeysteadError("Cannot write the file '" + target_.string() + "': " + std::string(cause));
}

// The rename replaces whatever has the target's name: a link itself, not what it points to, and a
// pipe or a device node as well as a file.
void ReplacingFile::refuseUnlessRegular() const {
    struct stat status {};
    if (::lstat(target_.c_str(), &status) == 0 && !S_ISREG(status.st_mode)) {
        fail(kNotRegularTargetCause);
    }
}

void ReplacingFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(std::strerror(errno));
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void ReplacingFile::commit() {
    if (::fsync(descriptor_) != 0) {
        fail(std::strerror(errno));
    }
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) {
        fail(std::strerror(errno));
    }
    refuseUnlessRegular();
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        fail(std::strerror(errno));
    }
    committed_ = true;
    // The rename itself reaches the disk with the folder; a folder that cannot be synced (some
    // file systems refuse) still holds the complete new file.
    const std::filesystem::path folder = target_.parent_path().empty() ? "." : target_.parent_path();
    const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
}

}  // namespace keystead
