// The Windows form of the replacing file: a temporary file beside the target, flushed to the disk
// and moved over the target with MoveFileEx, which replaces it in one step.

#include "exchange/ReplacingFile.h"

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <random>
#include <system_error>

#include "store/KeysteadError.h"

namespace keystead {

namespace {

constexpr int kAttempts = 100;

// The temporary file's name is kept as UTF-8, so no character of the folder is lost.
std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::filesystem::path folderOf(const std::filesystem::path& target) {
    return target.parent_path().empty() ? std::filesystem::path(".") : target.parent_path();
}

// The folder is shared with other programs, so the name is drawn at random and the file created
// only when no file of that name exists.
int createTemporary(const std::filesystem::path& target, std::string& name) {
    std::random_device random;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        // A short name: one built from the target's name could pass the longest path allowed.
        const auto candidate =
            folderOf(target) / (".keystead-" + std::to_string(random() % 1000000000u));
        int descriptor = -1;
        const errno_t error =
            _wsopen_s(&descriptor, candidate.c_str(),
                      _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _SH_DENYRW,
                      _S_IREAD | _S_IWRITE);
        if (error == 0) {
            const std::u8string utf8 = candidate.u8string();
            name.assign(utf8.begin(), utf8.end());
            return descriptor;
        }
        if (error != EEXIST) {
            errno = error;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

ReplacingFile::ReplacingFile(std::filesystem::path target) : target_(std::move(target)) {
    refuseUnlessRegular();
    descriptor_ = createTemporary(target_, temporary_);
    if (descriptor_ < 0) {
        const int error = errno;
        temporary_.clear();
        fail(std::strerror(error));
    }
}

ReplacingFile::~ReplacingFile() {
    closeDescriptor();
    if (!committed_ && !temporary_.empty()) {
        ::DeleteFileW(pathOf(temporary_).c_str());
    }
}

void ReplacingFile::closeDescriptor() {
    if (descriptor_ >= 0) {
        ::_close(descriptor_);
        descriptor_ = -1;
    }
}

void ReplacingFile::fail(std::string_view cause) const {
    throw KeysteadError("Cannot write the file '" + target_.string() + "': " + std::string(cause));
}

// MoveFileEx would replace a link itself, or a folder's junction, as well as a file.
void ReplacingFile::refuseUnlessRegular() const {
    std::error_code unreadable;
    const auto status = std::filesystem::symlink_status(target_, unreadable);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        fail(kNotRegularTargetCause);
    }
}

void ReplacingFile::write(std::string_view bytes) {
    while (!bytes.empty()) {
        const unsigned int chunk =
            static_cast<unsigned int>(std::min<std::size_t>(bytes.size(), 1u << 30));
        const int written = ::_write(descriptor_, bytes.data(), chunk);
        if (written < 0) {
            fail(std::strerror(errno));
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

void ReplacingFile::commit() {
    if (::_commit(descriptor_) != 0) {
        fail(std::strerror(errno));
    }
    const int closed = ::_close(descriptor_);
    descriptor_ = -1;
    if (closed != 0) {
        fail(std::strerror(errno));
    }
    refuseUnlessRegular();
    if (!::MoveFileExW(pathOf(temporary_).c_str(), target_.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail(std::strerror(::GetLastError() == ERROR_ACCESS_DENIED ? EACCES : EIO));
    }
    committed_ = true;
}

}  // namespace keystead
