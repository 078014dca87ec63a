// What the seal costs: one offline guess at a copied store with the parameters a new seal gets on
// this machine, beside one guess at the logon password's own key schedule (the ratio is printed
// as the counter times_key_schedule), and opening the 60,000 sealed values of 10,000 entries.

#include <benchmark/benchmark.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "crypto/Diamond.h"
#include "store/SealCost.h"
#include "store/SealKey.h"

namespace keystead {
namespace {

constexpr int kKeySchedules = 200;
constexpr int kSealedValues = 60000;

double secondsOfKeySchedule() {
    TDiamond cipher;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kKeySchedules; ++i) {
        cipher.SetKey("guess " + std::to_string(i));
        benchmark::DoNotOptimize(cipher);
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / kKeySchedules;
}

void BM_OfflineGuessSealed(benchmark::State& state) {
    const SealParameters stored = calibratedSealParameters();
    double sealed = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const SealKey guess("a guess", stored);
        benchmark::DoNotOptimize(&guess);
        sealed += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    sealed /= static_cast<double>(state.iterations());
    state.counters["ops"] = static_cast<double>(stored.ops);
    state.counters["MiB"] = static_cast<double>(stored.memory >> 20);
    state.counters["times_key_schedule"] = sealed / secondsOfKeySchedule();
}
BENCHMARK(BM_OfflineGuessSealed)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_OfflineGuessKeySchedule(benchmark::State& state) {
    TDiamond cipher;
    for (auto _ : state) {
        cipher.SetKey("a guess");
        benchmark::DoNotOptimize(cipher);
    }
}
BENCHMARK(BM_OfflineGuessKeySchedule)->Unit(benchmark::kMicrosecond);

// Cipher strings of the usual length; the key's cost does not matter here.
void BM_OpenSealedValues(benchmark::State& state) {
    useCheapSealCostForTests();
    const SealKey key("pw", calibratedSealParameters());
    std::mt19937 random(7);
    std::vector<std::string> sealed;
    sealed.reserve(kSealedValues);
    for (int i = 0; i < kSealedValues; ++i) {
        sealed.push_back(key.seal("Benchmark User", "System" + std::to_string(i),
                                  std::string(44 + random() % 44, 'c')));
    }
    for (auto _ : state) {
        for (int i = 0; i < kSealedValues; ++i) {
            benchmark::DoNotOptimize(key.open("Benchmark User", "System" + std::to_string(i), sealed[i]));
        }
    }
}
BENCHMARK(BM_OpenSealedValues)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace keystead
