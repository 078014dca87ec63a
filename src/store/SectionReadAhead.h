#pragma once
// A section read on another thread, kept for the next read of the same section of the same file
// in this process: handed out once, and only while the file is exactly as it was read.

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "store/CheckedFiles.h"
#include "store/RegistryStore.h"

namespace keystead {

// Keeps the values, read while the file was in this state; they replace any kept before.
void KeepReadAhead(const std::filesystem::path& file, std::string_view section, const StoreFileState& state,
                   std::vector<StoredValue> values);

// The values kept for this section, when the file is still in the state they were read in;
// whatever was kept for it is gone afterwards.
std::optional<std::vector<StoredValue>> TakeReadAhead(const std::filesystem::path& file, std::string_view section);

}  // namespace keystead
