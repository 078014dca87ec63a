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

// A derivation of so many passes over the memory, timed, with a throwaway salt and password.
std::chrono::duration<double> derivation(std::uint64_t passes) {
    const auto start = std::chrono::steady_clock::now();
    const SealKey probe("calibration", {newSealSalt(), passes, kMemory});
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
    const auto one = derivation(1);
    const auto three = derivation(3);
    return {newSealSalt(), SealPassesFor(one, three), kMemory};
}

// Part of a derivation's time does not grow with the passes: taking and touching the memory,
// 0.2 s of 0.25 s for one pass on the project machine. One pass timed alone counted it as a pass,
// and the seal came out at two thirds of its target. Half the difference of the timings of one
// and of three passes is the pass; where other work disturbed the timings so that this is no
// time at all or more than the single pass, the single pass counts as the pass, as before, and
// the pass never counts as less than a tenth of it.
std::uint64_t SealPassesFor(std::chrono::duration<double> onePass, std::chrono::duration<double> threePasses) {
    const double single = std::max(onePass.count(), 1e-3);
    double perPass = (threePasses.count() - single) / 2;
    if (perPass <= 0 || perPass > single) {
        perPass = single;
    }
    perPass = std::max(perPass, single / 10);
    const double fixed = single - perPass;
    const double passes = std::ceil((kTarget.count() - fixed) / perPass);
    return std::clamp(static_cast<std::uint64_t>(std::max(passes, 1.0)), kLeastOps, kMostOps);
}

}  // namespace keystead
