#pragma once
// TrsFileVersion reads the fixed version information of an executable: the block that begins
// with the signature 0xFEEF04BD and the structure version 0x00010000, found in the file's bytes.

#include <cstdint>
#include <filesystem>
#include <string>

namespace keystead {

class TrsFileVersion {
public:
    // Fills the fields from the file's version block; on failure they are cleared.
    bool Load(const std::filesystem::path& file);
    void Clear();

    const std::string& versionText() const { return versionText_; }  // major.minor.release
    int majorVersion() const { return major_; }
    int minorVersion() const { return minor_; }
    int releaseNumber() const { return release_; }
    int buildNumber() const { return build_; }

private:
    std::string versionText_;
    int major_ = 0;
    int minor_ = 0;
    int release_ = 0;
    int build_ = 0;
};

}  // namespace keystead
