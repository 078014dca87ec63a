#pragma once
// The fixed bit permutation between the cipher's substitution layers: bit b of output byte i
// is bit b of input byte (i + b) mod 16. Done as eight masked rotations of the 128-bit block.

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

namespace keystead {

static_assert(std::endian::native == std::endian::little,
              "the block permutation treats 8 bytes as one little-endian word");

struct Block128 {
    std::uint64_t lo;  // bytes 0..7
    std::uint64_t hi;  // bytes 8..15

    static Block128 load(const std::uint8_t* bytes)
    {
        Block128 b{};
        std::memcpy(&b.lo, bytes, 8);
        std::memcpy(&b.hi, bytes + 8, 8);
        return b;
    }

    void store(std::uint8_t* bytes) const
    {
        std::memcpy(bytes, &lo, 8);
        std::memcpy(bytes + 8, &hi, 8);
    }
};

inline constexpr std::uint64_t kBitZeroOfEveryByte = 0x0101010101010101ULL;

// Bit plane b of the block, moved by b bytes towards byte 0 (Forward) or away from it, wrapping
// round. Spelled out for b = 1..7 by a fold, so that every optimisation level builds
// straight-line code.
template <bool Forward, unsigned... B>
Block128 moveBitPlanes(const Block128& in, std::integer_sequence<unsigned, B...>)
{
    Block128 out{in.lo & kBitZeroOfEveryByte, in.hi & kBitZeroOfEveryByte};
    const auto plane = [&](auto bit) {
        constexpr unsigned b = decltype(bit)::value;
        const std::uint64_t mask = kBitZeroOfEveryByte << b;
        const std::uint64_t lo = in.lo & mask;
        const std::uint64_t hi = in.hi & mask;
        constexpr unsigned s = 8 * b;
        if constexpr (Forward) {
            out.lo |= (lo >> s) | (hi << (64 - s));
            out.hi |= (hi >> s) | (lo << (64 - s));
        } else {
            out.lo |= (lo << s) | (hi >> (64 - s));
            out.hi |= (hi << s) | (lo >> (64 - s));
        }
    };
    (plane(std::integral_constant<unsigned, B + 1>()), ...);
    return out;
}

// Bit b of output byte i is bit b of input byte (i + b) mod 16.
inline Block128 Permute(const Block128& in)
{
    return moveBitPlanes<true>(in, std::make_integer_sequence<unsigned, 7>());
}

// Bit b of output byte i is bit b of input byte (i - b) mod 16.
inline Block128 InversePermute(const Block128& in)
{
    return moveBitPlanes<false>(in, std::make_integer_sequence<unsigned, 7>());
}

}  // namespace keystead
