// The executable's fixed version information: the block the version reader looks for in the
// file's bytes, laid out as the thirteen double words of a fixed-file-info structure.

#include <array>
#include <bit>
#include <cstdint>

namespace {

static_assert(std::endian::native == std::endian::little, "the block is stored in little-endian order");

constexpr std::uint32_t kSignature = 0xFEEF04BD;
constexpr std::uint32_t kStructureVersion = 0x00010000;
constexpr std::uint32_t kVersionMs = KEYSTEAD_VERSION_MAJOR << 16 | KEYSTEAD_VERSION_MINOR;
constexpr std::uint32_t kVersionLs = KEYSTEAD_VERSION_PATCH << 16 | KEYSTEAD_VERSION_TWEAK;
constexpr std::uint32_t kFileFlagsMask = 0x3F;
constexpr std::uint32_t kFileFlags = 0;
constexpr std::uint32_t kFileOsUnknown = 0;
constexpr std::uint32_t kFileTypeApplication = 1;
constexpr std::uint32_t kNone = 0;

// Nothing reads it at run time; "used" keeps it in the executable all the same.
[[gnu::used]] constexpr std::array<std::uint32_t, 13> kFixedFileInfo = {
    kSignature,    kStructureVersion,
    kVersionMs,    kVersionLs,            // file version
    kVersionMs,    kVersionLs,            // product version
    kFileFlagsMask, kFileFlags,
    kFileOsUnknown, kFileTypeApplication,
    kNone,                                // file subtype
    kNone,         kNone,                 // file date
};

}  // namespace
