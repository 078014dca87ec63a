#pragma once
// The reflected CRC-32 step (IEEE 802.3 polynomial) that drives the cipher's key schedule
// and fills the header block of every cipher text.

#include <array>
#include <cstdint>

namespace keystead {

// Entry t: eight shift-and-xor steps of t with the bit-reversed polynomial 0xEDB88320.
const std::array<std::uint32_t, 256>& Crc32Table();

// One step of the register; no inversion, each user picks its own start value.
std::uint32_t UpdateCrc32(std::uint32_t crc, std::uint8_t byte);

}  // namespace keystead
