#pragma once
// The bytes of the file an import reads: a regular file only, opened without waiting on a pipe or
// a device and without following a link at its last step, and no larger than any export file.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace keystead {

inline constexpr std::size_t kLargestImportFile = std::size_t{256} * 1024 * 1024;
inline constexpr std::string_view kNotRegularFileCause = "it is not a regular file";
inline constexpr std::string_view kTooLargeFileCause = "it is larger than 256 MiB, more than any export file";

// Throws KeysteadError "Cannot read the file '<file>': <cause>" for a file it does not read.
std::string readImportFile(const std::filesystem::path& file);

}  // namespace keystead
