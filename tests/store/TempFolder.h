#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.

#include <filesystem>

namespace keystead::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path storeFile() const { return path_ / "registry.sqlite"; }

private:
    std::filesystem::path path_;
};

}  // namespace keystead::test
