#include "exchange/ReplacingFile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "store/KeysteadError.h"

namespace keystead {

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
    const std::filesystem::path folder = target_.parent_path().empty() ? "." : target_.parent_path();
    // Appended rather than joined with "." + name: GCC 12 warns wrongly on that form (-Wrestrict).
    std::string name = ".";
    name += target_.filename().string();
    name += ".XXXXXX";
    temporary_ = (folder / name).string();
    // mkostemp creates the file with mode 0600: an export file holds secrets.
    descriptor_ = mkostemp(temporary_.data(), O_CLOEXEC);
    if (descriptor_ < 0) {
        const int error = errno;
        temporary_.clear();
        fail(error);
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

void ReplacingFile::fail(int error) const {
    throw KeysteadError("Cannot write the file '" + target_.string() + "': " + std::strerror(error));
}

void ReplacingFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(descriptor_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            fail(errno);
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void ReplacingFile::commit() {
    if (::fsync(descriptor_) != 0) {
        fail(errno);
    }
    const int closed = ::close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) {
        fail(errno);
    }
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
        fail(errno);
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
