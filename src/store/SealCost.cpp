#include "store/SealCost.h"

#include <sodium.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace keystead {

namespace {

constexpr std::uint64_t kMemory = std::uint64_t{128} << 20;
constexpr std::uint64_t kLeastOps = 3;
constexpr std::uint64_t kMostOps = 64;
constexpr std::chrono::duration<double> kTarget{0.5};

bool cheapForTests = false;

// One pass over the memory, timed, with a throwaway salt and password.
std::chrono::duration<double> onePass() {
    const auto start = std::chrono::steady_clock::now();
    const SealKey probe("calibration", {newSealSalt(), 1, kMemory});
    return std::chrono::steady_clock::now() - start;
}

}  // namespace

void useCheapSealCostForTests(bool cheap) {
    cheapForTests = cheap;
}

SealParameters calibratedSealParameters() {
    if (cheapForTests) {
        return {newSealSalt(), crypto_pwhash_argon2id_OPSLIMIT_MIN,
                crypto_pwhash_argon2id_MEMLIMIT_MIN};
    }
    const double passes = kTarget / std::max(onePass(), std::chrono::duration<double>(1e-3));
    const auto ops = std::clamp(static_cast<std::uint64_t>(std::lround(passes)), kLeastOps, kMostOps);
    return {newSealSalt(), ops, kMemory};
}

}  // namespace keystead
