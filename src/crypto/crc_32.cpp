#include "crypto/crc_32.h"

namespace keystead {
namespace {

constexpr std::array<std::uint32_t, 256> buildTable()
{
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t t = 0; t < 256; ++t) {
        std::uint32_t v = t;
        for (int step = 0; step < 8; ++step)
            v = (v & 1U) ? (v >> 1) ^ 0xEDB88320U : v >> 1;
        table[t] = v;
    }
    return table;
}

// Built at compile time, so it exists before anything can set a key.
constexpr std::array<std::uint32_t, 256> kTable = buildTable();

}  // namespace

const std::array<std::uint32_t, 256>& Crc32Table()
{
    return kTable;
}

std::uint32_t UpdateCrc32(std::uint32_t crc, std::uint8_t byte)
{
    return (crc >> 8) ^ kTable[(crc ^ byte) & 0xFFU];
}

}  // namespace keystead
