#pragma once
// A fresh folder for one test, removed with everything in it when the test ends, and the place of a
// fresh store: a file in the folder, or on Windows a scratch key below HKEY_CURRENT_USER, never
// the key of the user's own store.

#include <filesystem>

namespace keystead::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path storeFile() const;

private:
    std::filesystem::path path_;
};

}  // namespace keystead::test
