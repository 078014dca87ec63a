#include "session/ProgramVersion.h"

#include "session/rsFileVersion.h"

#include <algorithm>

namespace keystead {

std::string ProgramVersion::text() const
{
    return std::to_string(major) + '.' + std::to_string(minor) + '.' + std::to_string(release) + '.' +
           std::to_string(build);
}

ProgramVersion compiledVersion()
{
    return {KEYSTEAD_VERSION_MAJOR, KEYSTEAD_VERSION_MINOR, KEYSTEAD_VERSION_PATCH, KEYSTEAD_VERSION_TWEAK};
}

ProgramVersion stampedVersion(const TrsFileVersion& loaded)
{
    const ProgramVersion read{loaded.majorVersion(), loaded.minorVersion(), loaded.releaseNumber(),
                              loaded.buildNumber()};
    return std::max(read, compiledVersion());
}

}  // namespace keystead
