#include "crypto/TickCount.h"

#include <chrono>

namespace keystead {

std::uint32_t TickCount()
{
    const auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count();
    return static_cast<std::uint32_t>(ms);
}

}  // namespace keystead
