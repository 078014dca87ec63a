#include "TempFolder.h"

#include <windows.h>

#include <random>
#include <stdexcept>
#include <string>

namespace keystead::test {

namespace {

constexpr const wchar_t* kScratchKeys = L"Software\\Vorrent\\KeysteadTests\\";

}  // namespace

TempFolder::TempFolder() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const auto candidate = std::filesystem::temp_directory_path() /
                               ("keystead-store-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot make a temporary folder");
}

// Named after the folder, so each test has a key of its own.
std::filesystem::path TempFolder::storeFile() const {
    return kScratchKeys + path_.filename().wstring();
}

TempFolder::~TempFolder() {
    RegDeleteTreeW(HKEY_CURRENT_USER, storeFile().c_str());
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace keystead::test
