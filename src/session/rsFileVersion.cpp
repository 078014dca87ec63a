#include "session/rsFileVersion.h"

#include <algorithm>
#include <array>
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

// The two words are compared one after the other, never as one eight-byte pattern, so that the
// reader's own code holds no copy of the block's start to be mistaken for it. They are local for
// the same reason: an unoptimised build keeps constants of the namespace side by side in its data.
const unsigned char* findBlock(const unsigned char* bytes, std::size_t size)
{
    constexpr std::uint32_t kSignature = 0xFEEF04BD;
    constexpr std::uint32_t kStructureVersion = 0x00010000;
    if (size < kBlockSize)
        return nullptr;
    const auto firstByte = static_cast<unsigned char>(kSignature & 0xFF);
    const unsigned char* const lastStart = bytes + (size - kBlockSize);
    for (const unsigned char* at = bytes; at <= lastStart; ++at) {
        at = static_cast<const unsigned char*>(std::memchr(at, firstByte, static_cast<std::size_t>(lastStart - at) + 1));
        if (!at)
            return nullptr;
        if (littleEndianWord(at) == kSignature && littleEndianWord(at + 4) == kStructureVersion)
            return at;
    }
    return nullptr;
}

// The block sits in the program's constant data near the start of the file, before debug
// information that can run to tens of megabytes; the file is read a part at a time and the
// reading stops at the block. Each part starts with the last bytes of the one before, so that
// a block across two parts is found.
std::optional<std::array<unsigned char, kBlockSize>> readBlock(const std::filesystem::path& file)
{
    constexpr std::size_t kPartSize = 64 * 1024;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<unsigned char> buffer(kBlockSize - 1 + kPartSize);
    std::size_t kept = 0;
    while (in) {
        in.read(reinterpret_cast<char*>(buffer.data() + kept), static_cast<std::streamsize>(kPartSize));
        const std::size_t size = kept + static_cast<std::size_t>(in.gcount());
        if (const unsigned char* block = findBlock(buffer.data(), size)) {
            std::array<unsigned char, kBlockSize> found{};
            std::memcpy(found.data(), block, kBlockSize);
            return found;
        }
        kept = std::min(size, kBlockSize - 1);
        std::memmove(buffer.data(), buffer.data() + size - kept, kept);
    }
    return std::nullopt;
}

}  // namespace

bool TrsFileVersion::Load(const std::filesystem::path& file)
{
    Clear();
    const auto found = readBlock(file);
    if (!found)
        return false;
    const unsigned char* block = found->data();
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
