#pragma once
// The version the program stamps into a user's section after logon: the one its version block
// holds, but never one below the version compiled in, so a block that cannot be read does not
// stamp 0 and re-arm the upgrade of earlier data.

#include <string>

namespace keystead {

class TrsFileVersion;

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int release = 0;
    int build = 0;

    std::string text() const;   // major.minor.release.build
    auto operator<=>(const ProgramVersion&) const = default;
};

ProgramVersion compiledVersion();

// The loaded version when it is at least the compiled one, else the compiled one.
ProgramVersion stampedVersion(const TrsFileVersion& loaded);

}  // namespace keystead
