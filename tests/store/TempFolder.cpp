#include "TempFolder.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>

namespace keystead::test {

TempFolder::TempFolder() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "keystead-store-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a temporary folder");
    }
    path_ = pattern;
}

std::filesystem::path TempFolder::storeFile() const {
    return path_ / "registry.sqlite";
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace keystead::test
