// Costs on every path of the program: assigning a key, one block, one typical stored value.

#include "crypto/Diamond.h"

#include <benchmark/benchmark.h>

namespace keystead {
namespace {

const TDiamond& keyedCipher()
{
    static const TDiamond cipher = [] {
        TDiamond c;
        c.SetKey("a typical logon password");
        return c;
    }();
    return cipher;
}

void BM_SetKey(benchmark::State& state)
{
    TDiamond cipher;
    for (auto _ : state) {
        cipher.SetKey("a typical logon password");
        benchmark::DoNotOptimize(cipher);
    }
}
BENCHMARK(BM_SetKey)->Unit(benchmark::kMicrosecond);

constexpr int kBlocksPerRun = 4096;

void BM_EncryptBlock(benchmark::State& state)
{
    std::array<std::uint8_t, 16> block{1, 2, 3, 4};
    for (auto _ : state) {
        for (int i = 0; i < kBlocksPerRun; ++i)
            keyedCipher().EncryptBlock(block.data(), block.data());
        benchmark::DoNotOptimize(block);
    }
    state.SetBytesProcessed(state.iterations() * kBlocksPerRun * 16);
}
BENCHMARK(BM_EncryptBlock);

void BM_DecryptBlock(benchmark::State& state)
{
    std::array<std::uint8_t, 16> block{1, 2, 3, 4};
    for (auto _ : state) {
        for (int i = 0; i < kBlocksPerRun; ++i)
            keyedCipher().DecryptBlock(block.data(), block.data());
        benchmark::DoNotOptimize(block);
    }
    state.SetBytesProcessed(state.iterations() * kBlocksPerRun * 16);
}
BENCHMARK(BM_DecryptBlock);

const std::string kFortyBytes = "an entry's password of forty bytes long.";

void BM_EncryptAndEncodeValue(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(TDiamond::EncodeCipherText(keyedCipher().EncryptText(kFortyBytes, 42)));
}
BENCHMARK(BM_EncryptAndEncodeValue);

void BM_DecodeAndDecryptValue(benchmark::State& state)
{
    const std::string stored = TDiamond::EncodeCipherText(keyedCipher().EncryptText(kFortyBytes, 42));
    for (auto _ : state)
        benchmark::DoNotOptimize(keyedCipher().DecryptText(TDiamond::DecodeCipherText(stored)));
}
BENCHMARK(BM_DecodeAndDecryptValue);

}  // namespace
}  // namespace keystead
