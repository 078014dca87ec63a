#pragma once
// The cost of a new seal: Argon2id passes over at least 128 MiB, as many as make one derivation
// take about half a second on this machine, so each offline guess at a stolen store costs as much.

#include <chrono>
#include <cstdint>

#include "store/SealKey.h"

namespace keystead {

// Measures this machine once per call and returns new parameters with a fresh salt.
SealParameters calibratedSealParameters();

// The passes that make a derivation take at least the target, from the timings of derivations of
// one and of three passes; never fewer than three.
std::uint64_t SealPassesFor(std::chrono::duration<double> onePass, std::chrono::duration<double> threePasses);

// For the test programs alone: new seals take the least cost libsodium allows, so that a test
// run does not spend half a second and 128 MiB on every user it makes.
void useCheapSealCostForTests(bool cheap = true);

}  // namespace keystead
