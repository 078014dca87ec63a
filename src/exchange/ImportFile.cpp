#include "exchange/ImportFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "store/KeysteadError.h"

namespace keystead {

namespace {

[[noreturn]] void failToRead(const std::filesystem::path& file, std::string_view cause) {
    throw KeysteadError("Cannot read the file '" + file.string() + "': " + std::string(cause));
}

class OpenFile {
public:
    explicit OpenFile(int descriptor) : descriptor_(descriptor) {}
    ~OpenFile() { ::close(descriptor_); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

}  // namespace

std::string readImportFile(const std::filesystem::path& file) {
    // Checked on the open file: a name swapped between a check and the open changes nothing.
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        failToRead(file, errno == ELOOP ? kNotRegularFileCause : std::strerror(errno));
    }
    const OpenFile open(descriptor);
    struct stat status {};
    if (::fstat(open.get(), &status) != 0) {
        failToRead(file, std::strerror(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        failToRead(file, kNotRegularFileCause);
    }
    if (static_cast<std::uintmax_t>(status.st_size) > kLargestImportFile) {
        failToRead(file, kTooLargeFileCause);
    }
    std::string bytes(static_cast<std::size_t>(status.st_size), '\0');
    std::size_t done = 0;
    // One byte beyond the limit tells a file that grew since its size was taken.
    for (;;) {
        if (done == bytes.size()) {
            if (bytes.size() > kLargestImportFile) {
                failToRead(file, kTooLargeFileCause);
            }
            bytes.resize(std::min(bytes.size() + 65536, kLargestImportFile + 1));
        }
        const ssize_t got = ::read(open.get(), bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            failToRead(file, std::strerror(errno));
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return bytes;
}

}  // namespace keystead
