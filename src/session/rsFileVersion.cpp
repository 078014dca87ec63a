#include "session/rsFileVersion.h"

#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

namespace keystead {

namespace {

constexpr std::size_t kFileVersionMsOffset = 8;
constexpr std::size_t kFileVersionLsOffset = 12;
constexpr std::size_t kBlockSize = 52;  // thirteen double words

std::uint32_t littleEndianWord(const unsigned char* bytes)
{
    return std::uint32_t{bytes[0]} | std::uint32_t{bytes[1]} << 8 | std::uint32_t{bytes[2]} << 16 |
           std::uint32_t{bytes[3]} << 24;
}

std::optional<std::vector<unsigned char>> readFile(const std::filesystem::path& file)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        return std::nullopt;
    std::vector<unsigned char> bytes(size);
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return std::nullopt;
    return bytes;
}

// The two words are compared one after the other, never as one eight-byte pattern, so that the
// reader's own code holds no copy of the block's start to be mistaken for it. They are local for
// the same reason: an unoptimised build keeps constants of the namespace side by side in its data.
const unsigned char* findBlock(const std::vector<unsigned char>& bytes)
{
    constexpr std::uint32_t kSignature = 0xFEEF04BD;
    constexpr std::uint32_t kStructureVersion = 0x00010000;
    if (bytes.size() < kBlockSize)
        return nullptr;
    const auto firstByte = static_cast<unsigned char>(kSignature & 0xFF);
    const unsigned char* const lastStart = bytes.data() + (bytes.size() - kBlockSize);
    for (const unsigned char* at = bytes.data(); at <= lastStart; ++at) {
        at = static_cast<const unsigned char*>(std::memchr(at, firstByte, static_cast<std::size_t>(lastStart - at) + 1));
        if (!at)
            return nullptr;
        if (littleEndianWord(at) == kSignature && littleEndianWord(at + 4) == kStructureVersion)
            return at;
    }
    return nullptr;
}

}  // namespace

bool TrsFileVersion::Load(const std::filesystem::path& file)
{
    Clear();
    const auto bytes = readFile(file);
    if (!bytes)
        return false;
    const unsigned char* block = findBlock(*bytes);
    if (!block)
        return false;
    const std::uint32_t mostSignificant = littleEndianWord(block + kFileVersionMsOffset);
    const std::uint32_t leastSignificant = littleEndianWord(block + kFileVersionLsOffset);
    major_ = static_cast<int>(mostSignificant >> 16);
    minor_ = static_cast<int>(mostSignificant & 0xFFFF);
    release_ = static_cast<int>(leastSignificant >> 16);
    build_ = static_cast<int>(leastSignificant & 0xFFFF);
    versionText_ = std::to_string(major_) + '.' + std::to_string(minor_) + '.' + std::to_string(release_);
    return true;
}

void TrsFileVersion::Clear()
{
    versionText_.clear();
    major_ = 0;
    minor_ = 0;
    release_ = 0;
    build_ = 0;
}

}  // namespace keystead
