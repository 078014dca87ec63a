// The shared vectors: box digests, single blocks and whole cipher strings, both directions.

#include "Sha256.h"
#include "VectorFile.h"
#include "crypto/Diamond.h"

#include <gtest/gtest.h>

#include <map>

namespace keystead {
namespace {

using test::FromHex;
using test::ToHex;

class CipherVectorTest : public ::testing::Test {
protected:
    // Key schedules are costly under the sanitizers; each key is scheduled once per test.
    const TDiamond& keyed(const std::string& hexKey)
    {
        auto it = ciphers_.find(hexKey);
        if (it == ciphers_.end()) {
            it = ciphers_.emplace(hexKey, TDiamond{}).first;
            it->second.SetKey(FromHex(hexKey));
        }
        return it->second;
    }

    std::vector<const test::VectorRecord*> ofKind(const std::string& kind) const
    {
        std::vector<const test::VectorRecord*> out;
        static const std::vector<test::VectorRecord> records = test::ReadCipherVectors();
        for (const auto& r : records)
            if (r.kind == kind)
                out.push_back(&r);
        return out;
    }

    std::map<std::string, TDiamond> ciphers_;
};

TEST_F(CipherVectorTest, FileHoldsEveryKind)
{
    EXPECT_EQ(ofKind("boxes").size(), 10U);
    EXPECT_EQ(ofKind("block").size(), 30U);
    EXPECT_EQ(ofKind("text").size(), 100U);
}

TEST_F(CipherVectorTest, ForwardBoxesMatchDigestAndEnds)
{
    for (const auto* r : ofKind("boxes")) {
        SCOPED_TRACE("key " + r->fields[0]);
        const TDiamond& cipher = keyed(r->fields[0]);
        std::string all;
        for (int round = 0; round < TDiamond::kRounds; ++round)
            for (int position = 0; position < TDiamond::kBlockSize; ++position) {
                const auto box = cipher.ForwardBox(round, position);
                all.append(box.begin(), box.end());
            }
        EXPECT_EQ(test::Sha256Hex(all), r->fields[1]);
        EXPECT_EQ(ToHex(all.substr(0, 256)), r->fields[2]);
        EXPECT_EQ(ToHex(all.substr(all.size() - 256)), r->fields[3]);
    }
}

TEST_F(CipherVectorTest, BlocksEncryptAndDecrypt)
{
    for (const auto* r : ofKind("block")) {
        SCOPED_TRACE("key " + r->fields[0] + " plain " + r->fields[1]);
        const TDiamond& cipher = keyed(r->fields[0]);
        const std::string plain = FromHex(r->fields[1]);
        const std::string expected = FromHex(r->fields[2]);
        std::string out(16, '\0');
        cipher.EncryptBlock(reinterpret_cast<const std::uint8_t*>(plain.data()),
                            reinterpret_cast<std::uint8_t*>(out.data()));
        EXPECT_EQ(ToHex(out), r->fields[2]);
        cipher.DecryptBlock(reinterpret_cast<const std::uint8_t*>(expected.data()),
                            reinterpret_cast<std::uint8_t*>(out.data()));
        EXPECT_EQ(ToHex(out), r->fields[1]);
    }
}

TEST_F(CipherVectorTest, TextsGiveTheirCipherStringsAndBack)
{
    for (const auto* r : ofKind("text")) {
        SCOPED_TRACE("key " + r->fields[0] + " plain " + r->fields[1]);
        const TDiamond& cipher = keyed(r->fields[0]);
        const std::string plain = FromHex(r->fields[1]);
        const auto tick = static_cast<std::uint32_t>(std::stoul(r->fields[2]));
        EXPECT_EQ(TDiamond::EncodeCipherText(cipher.EncryptText(plain, tick)), r->fields[3]);
        EXPECT_EQ(ToHex(cipher.DecryptText(TDiamond::DecodeCipherText(r->fields[3]))), r->fields[1]);
    }
}

}  // namespace
}  // namespace keystead
