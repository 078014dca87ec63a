// The Windows form of the import's read: no pipe or device has a name in the file system there,
// so the file's kind and size are taken before it is opened.

#include "exchange/ImportFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string_view>
#include <system_error>

#include "store/KeysteadError.h"

namespace keystead {

namespace {

[[noreturn]] void failToRead(const std::filesystem::path& file, std::string_view cause) {
    throw KeysteadError("Cannot read the file '" + file.string() + "': " + std::string(cause));
}

}  // namespace

std::string readImportFile(const std::filesystem::path& file) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(file, error);
    if (error) {
        failToRead(file, std::strerror(ENOENT));
    }
    if (!std::filesystem::is_regular_file(status)) {
        failToRead(file, kNotRegularFileCause);
    }
    if (std::filesystem::file_size(file, error) > kLargestImportFile) {
        failToRead(file, kTooLargeFileCause);
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        failToRead(file, std::strerror(EACCES));
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        failToRead(file, std::strerror(EIO));
    }
    return bytes;
}

}  // namespace keystead
