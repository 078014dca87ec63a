// The block cipher itself: key schedule properties, the permutation, block round trips.

#include "crypto/BlockPermutation.h"
#include "crypto/Diamond.h"
#include "crypto/crc_32.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace keystead {
namespace {

using Bytes16 = std::array<std::uint8_t, 16>;

Bytes16 encrypt(const TDiamond& cipher, const Bytes16& in)
{
    Bytes16 out{};
    cipher.EncryptBlock(in.data(), out.data());
    return out;
}

Bytes16 decrypt(const TDiamond& cipher, const Bytes16& in)
{
    Bytes16 out{};
    cipher.DecryptBlock(in.data(), out.data());
    return out;
}

TDiamond keyedWith(std::string_view key)
{
    TDiamond cipher;
    cipher.SetKey(key);
    return cipher;
}

bool sameBoxes(const TDiamond& a, const TDiamond& b)
{
    for (int r = 0; r < TDiamond::kRounds; ++r)
        for (int k = 0; k < TDiamond::kBlockSize; ++k)
            if (a.ForwardBox(r, k) != b.ForwardBox(r, k))
                return false;
    return true;
}

TEST(Crc32Test, TableIsTheReflectedIeeeTable)
{
    EXPECT_EQ(Crc32Table()[0], 0U);
    EXPECT_EQ(Crc32Table()[1], 0x77073096U);
    EXPECT_EQ(Crc32Table()[255], 0x2D02EF8DU);
    // With the usual final inversion the register gives the well-known check value of "123456789".
    std::uint32_t crc = 0xFFFFFFFFU;
    for (const char c : std::string_view("123456789"))
        crc = UpdateCrc32(crc, static_cast<std::uint8_t>(c));
    EXPECT_EQ(~crc, 0xCBF43926U);
}

TEST(PermutationTest, ByteZeroSpreadsOverEightBytes)
{
    Bytes16 in{};
    in[0] = 0xFF;
    Bytes16 out{};
    Permute(Block128::load(in.data())).store(out.data());
    const Bytes16 expected = {0x01, 0, 0, 0, 0, 0, 0, 0, 0, 0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02};
    EXPECT_EQ(out, expected);
    Bytes16 back{};
    InversePermute(Block128::load(out.data())).store(back.data());
    EXPECT_EQ(back, in);
}

TEST(PermutationTest, EveryBitGoesWhereTheMapSays)
{
    for (int i = 0; i < 16; ++i)
        for (int b = 0; b < 8; ++b) {
            Bytes16 in{};
            in[(i + b) % 16] = static_cast<std::uint8_t>(1U << b);
            Bytes16 out{};
            Permute(Block128::load(in.data())).store(out.data());
            Bytes16 expected{};
            expected[i] = static_cast<std::uint8_t>(1U << b);
            EXPECT_EQ(out, expected) << "output byte " << i << " bit " << b;
            Bytes16 back{};
            InversePermute(Block128::load(out.data())).store(back.data());
            EXPECT_EQ(back, in);
        }
}

TEST(KeyScheduleTest, EveryForwardBoxIsAPermutation)
{
    const TDiamond cipher = keyedWith("correct horse");
    for (int r = 0; r < TDiamond::kRounds; ++r)
        for (int k = 0; k < TDiamond::kBlockSize; ++k) {
            const auto box = cipher.ForwardBox(r, k);
            EXPECT_EQ(std::set<std::uint8_t>(box.begin(), box.end()).size(), 256U);
        }
}

TEST(KeyScheduleTest, SameTextGivesSameBoxesAndLengthMatters)
{
    TDiamond cipher = keyedWith("abc");
    const TDiamond again = keyedWith("abc");
    EXPECT_TRUE(sameBoxes(cipher, again));
    cipher.SetKey("abc");
    EXPECT_TRUE(sameBoxes(cipher, again));
    EXPECT_EQ(cipher.Key(), "abc");

    // The same bytes with one more zero byte: only the length fed after each pass tells them apart.
    EXPECT_FALSE(sameBoxes(cipher, keyedWith(std::string("abc\0", 4))));
    EXPECT_FALSE(sameBoxes(keyedWith("a"), keyedWith("b")));
}

TEST(KeyScheduleTest, EmptyKeyIsReplacedByOneBlank)
{
    const TDiamond empty = keyedWith("");
    EXPECT_EQ(empty.Key(), " ");
    EXPECT_TRUE(sameBoxes(empty, keyedWith(" ")));
}

TEST(KeyScheduleTest, KeylessInstanceHasZeroBoxesAndNewKeyReplacesAll)
{
    TDiamond cipher;
    for (int k = 0; k < TDiamond::kBlockSize; ++k)
        EXPECT_EQ(cipher.ForwardBox(9, k), (std::array<std::uint8_t, 256>{}));
    cipher.SetKey("first");
    cipher.SetKey("second");
    EXPECT_TRUE(sameBoxes(cipher, keyedWith("second")));
    EXPECT_THROW(cipher.ForwardBox(10, 0), std::out_of_range);
    EXPECT_THROW(cipher.ForwardBox(0, -1), std::out_of_range);
}

TEST(BlockTest, DecryptUndoesEncryptUnderManyKeys)
{
    std::mt19937 random(7);
    for (const std::string& key : {std::string("x"), std::string(300, 'k'), std::string("\0\xff", 2)}) {
        const TDiamond cipher = keyedWith(key);
        for (int i = 0; i < 200; ++i) {
            Bytes16 block{};
            for (auto& b : block)
                b = static_cast<std::uint8_t>(random());
            const Bytes16 sealed = encrypt(cipher, block);
            EXPECT_NE(sealed, block);
            EXPECT_EQ(decrypt(cipher, sealed), block);
        }
    }
}

TEST(BlockTest, InstancesKeepTheirOwnBoxes)
{
    const TDiamond one = keyedWith("one");
    const TDiamond two = keyedWith("two");
    const Bytes16 block{1, 2, 3};
    EXPECT_NE(encrypt(one, block), encrypt(two, block));
    EXPECT_EQ(decrypt(two, encrypt(two, block)), block);
}

}  // namespace
}  // namespace keystead
