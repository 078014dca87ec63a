// The cipher string: padding, lead block, chaining, the printable encoding and damaged input.

#include "crypto/Diamond.h"
#include "crypto/crc_32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace keystead {
namespace {

constexpr std::string_view kAlphabet = "23456789ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz~#%&*+-";

class TextCodecTest : public ::testing::Test {
protected:
    static const TDiamond& cipher()
    {
        static const TDiamond keyed = [] {
            TDiamond c;
            c.SetKey("logon password");
            return c;
        }();
        return keyed;
    }
};

std::uint32_t littleEndianAt(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

TEST_F(TextCodecTest, EncodingExamples)
{
    EXPECT_EQ(TDiamond::EncodeCipherText("abc"), "Pbcd.");
    EXPECT_EQ(TDiamond::EncodeCipherText("a"), "Jb.");
    EXPECT_EQ(TDiamond::EncodeCipherText("ab"), "Nbc.");
    EXPECT_EQ(TDiamond::EncodeCipherText(""), ".");
}

TEST_F(TextCodecTest, DecodingStopsAtTheFirstTerminator)
{
    EXPECT_EQ(TDiamond::DecodeCipherText("Pbcd.XYZ"), "abc");
    EXPECT_EQ(TDiamond::DecodeCipherText("Pbcd.Pbcd."), "abc");
    EXPECT_EQ(TDiamond::DecodeCipherText(""), "");
    EXPECT_EQ(TDiamond::DecodeCipherText("."), "");
    // Without a terminator the string decodes to its end.
    EXPECT_EQ(TDiamond::DecodeCipherText("Pbcd"), "abc");
    EXPECT_EQ(TDiamond::DecodeCipherText("Nbc"), "ab");
}

TEST_F(TextCodecTest, CharactersOutsideTheAlphabet)
{
    // As a high character it contributes nothing; elsewhere it sets the top bit.
    EXPECT_EQ(TDiamond::DecodeCipherText("!bcd."), "!\"#");
    EXPECT_EQ(TDiamond::DecodeCipherText("2!2!"), std::string("\x80\x00\x80", 3));
    EXPECT_EQ(TDiamond::DecodeCipherText(std::string("2\0\xff", 3)), std::string("\x80\x80", 2));
}

TEST_F(TextCodecTest, EveryByteValueSurvivesEncoding)
{
    std::string all;
    for (int i = 0; i < 256; ++i)
        all += static_cast<char>(i);
    for (std::size_t n = 0; n <= all.size(); n += 37) {
        const std::string raw = all.substr(0, n);
        const std::string printable = TDiamond::EncodeCipherText(raw);
        EXPECT_EQ(TDiamond::DecodeCipherText(printable), raw);
        EXPECT_EQ(printable.back(), '.');
        EXPECT_TRUE(std::all_of(printable.begin(), printable.end() - 1,
                                [](char c) { return kAlphabet.find(c) != std::string_view::npos; }));
        const std::size_t expectedLength = 4 * (n / 3) + std::array<std::size_t, 3>{1, 3, 4}[n % 3];
        EXPECT_EQ(printable.size(), expectedLength);
    }
}

TEST_F(TextCodecTest, PaddingLengthsAndCipherStringSizes)
{
    // Every length 0..47, so every pad length 1..16 and texts ending in bytes 1..16.
    for (std::size_t length = 0; length < 48; ++length) {
        std::string text;
        for (std::size_t i = 0; i < length; ++i)
            text += static_cast<char>(1 + i % 16);
        const std::string raw = cipher().EncryptText(text, 1234);
        const std::size_t pad = 16 - length % 16;
        EXPECT_EQ(raw.size(), 16 + length + pad) << length;
        const std::string printable = TDiamond::EncodeCipherText(raw);
        EXPECT_EQ(printable.size(), length < 16 ? 44U : length < 32 ? 65U : 87U) << length;
        EXPECT_EQ(cipher().DecryptText(TDiamond::DecodeCipherText(printable)), text) << length;
    }
}

TEST_F(TextCodecTest, LeadBlockCarriesCrcSumAndTickCount)
{
    const std::string raw = cipher().EncryptText("abc", 0xA1B2C3D4);
    std::array<std::uint8_t, 16> header{};
    cipher().DecryptBlock(reinterpret_cast<const std::uint8_t*>(raw.data()), header.data());

    std::string padded = "abc";
    padded.append(13, '\x0d');
    std::uint32_t crc = 0xFFFFFFFFU;
    std::uint32_t sum = 0;
    for (const unsigned char c : padded) {
        crc = UpdateCrc32(crc, c);
        sum += c;
    }
    EXPECT_EQ(littleEndianAt(&header[0]), crc);
    EXPECT_EQ(littleEndianAt(&header[4]), sum);
    EXPECT_EQ(littleEndianAt(&header[8]), 0xA1B2C3D4U);
    EXPECT_EQ(littleEndianAt(&header[12]), 0U);
}

TEST_F(TextCodecTest, TickCountMakesEncryptionsDiffer)
{
    const std::string a = cipher().EncryptToCipherString(std::string_view("same"));
    EXPECT_NE(cipher().EncryptText("same", 1), cipher().EncryptText("same", 2));
    EXPECT_EQ(cipher().EncryptText("same", 5), cipher().EncryptText("same", 5));
    EXPECT_EQ(cipher().DecryptCipherString(a), "same");
}

TEST_F(TextCodecTest, ShortOrDamagedRawTextNeverOverruns)
{
    EXPECT_EQ(cipher().DecryptText(""), "");
    EXPECT_EQ(cipher().DecryptText(std::string(31, 'x')), "");

    const std::string raw = cipher().EncryptText("twenty bytes of text", 99);
    ASSERT_EQ(raw.size(), 48U);
    // An incomplete last block is ignored: the first block alone decrypts, its pad byte decides.
    for (std::size_t cut = 33; cut < raw.size(); ++cut) {
        const std::string text = cipher().DecryptText(raw.substr(0, cut));
        EXPECT_LE(text.size(), 16U);
    }
    EXPECT_EQ(cipher().DecryptText(raw + "extra"), "twenty bytes of text");
}

TEST_F(TextCodecTest, WrongKeyGivesGarbageOrNothingButNeverThrows)
{
    TDiamond wrong;
    wrong.SetKey("Logon password");
    int empties = 0;
    for (int i = 0; i < 64; ++i) {
        const std::string raw = cipher().EncryptText("secret value", static_cast<std::uint32_t>(i));
        std::string text;
        EXPECT_NO_THROW(text = wrong.DecryptText(raw));
        EXPECT_NE(text, "secret value");
        empties += text.empty() ? 1 : 0;
    }
    // A wrong key passes the pad test for about one value in sixteen.
    EXPECT_GT(empties, 32);
}

// Builds a raw cipher text by hand whose one padded block is the given bytes.
std::string rawWithPaddedBlock(const TDiamond& cipher, const std::array<std::uint8_t, 16>& padded)
{
    std::array<std::uint8_t, 32> raw{};
    std::array<std::uint8_t, 16> chain{};
    cipher.EncryptBlock(raw.data(), chain.data());
    std::array<std::uint8_t, 16> mixed{};
    for (int i = 0; i < 16; ++i)
        mixed[i] = padded[i] ^ chain[i];
    cipher.EncryptBlock(mixed.data(), raw.data() + 16);
    return std::string(raw.begin(), raw.end());
}

TEST_F(TextCodecTest, PadByteDecidesWhatComesBack)
{
    std::array<std::uint8_t, 16> padded{};
    padded.fill('z');
    padded[15] = 0;
    EXPECT_EQ(cipher().DecryptText(rawWithPaddedBlock(cipher(), padded)), "");
    padded[15] = 17;
    EXPECT_EQ(cipher().DecryptText(rawWithPaddedBlock(cipher(), padded)), "");
    // Only the last pad byte is looked at.
    padded[15] = 3;
    EXPECT_EQ(cipher().DecryptText(rawWithPaddedBlock(cipher(), padded)), std::string(13, 'z'));
    padded[15] = 16;
    EXPECT_EQ(cipher().DecryptText(rawWithPaddedBlock(cipher(), padded)), "");
}

// The verifying read gives back exactly what was encrypted under its key, and nothing for a value
// that is damaged anywhere, cut short, or of another key, where DecryptText returns garbage.
TEST_F(TextCodecTest, VerifiedReadRefusesWhatDoesNotDecrypt)
{
    for (const std::string& text : std::vector<std::string>{"", "Bank", "sixteen bytes!!!", std::string("\x10\x01\0", 3)})
        EXPECT_EQ(cipher().DecryptCipherStringVerified(cipher().EncryptToCipherString(text)), text);
    EXPECT_EQ(cipher().DecryptCipherStringVerified(""), "") << "an absent value is the empty text";

    const std::string stored = cipher().EncryptToCipherString("twenty bytes of text");
    for (std::size_t i = 0; i + 1 < stored.size(); ++i) {
        std::string damaged = stored;
        damaged[i] = damaged[i] == 'A' ? 'B' : 'A';
        EXPECT_EQ(cipher().DecryptCipherStringVerified(damaged), std::nullopt) << "character " << i;
    }
    EXPECT_EQ(cipher().DecryptCipherStringVerified(stored.substr(0, 40)), std::nullopt);
    EXPECT_EQ(cipher().DecryptCipherStringVerified("not a cipher string"), std::nullopt);
    const std::string raw = cipher().EncryptText("twenty bytes of text", 7);
    EXPECT_EQ(cipher().DecryptTextVerified(raw + "extra"), std::nullopt);

    TDiamond wrong;
    wrong.SetKey("Logon password");
    for (int i = 0; i < 64; ++i)
        EXPECT_EQ(wrong.DecryptTextVerified(cipher().EncryptText("secret value", static_cast<std::uint32_t>(i))),
                  std::nullopt);
}

}  // namespace
}  // namespace keystead
