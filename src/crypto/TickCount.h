#pragma once
// Milliseconds of a monotonic clock as an unsigned 32-bit value, wrapping like a system tick count;
// it only makes two encryptions of one text differ.

#include <cstdint>

namespace keystead {

std::uint32_t TickCount();

}  // namespace keystead
