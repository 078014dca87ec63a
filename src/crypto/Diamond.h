#pragma once
// TDiamond: the Diamond2 block cipher (128-bit blocks, ten rounds, 160 key-generated boxes)
// and the text codec that turns any text into a printable cipher string and back.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace keystead {

class TDiamond {
public:
    static constexpr int kRounds = 10;
    static constexpr int kBlockSize = 16;

    TDiamond() = default;
    TDiamond(const TDiamond&) = default;
    TDiamond& operator=(const TDiamond&) = default;
    ~TDiamond();   // wipes the key and the boxes, which are the key in another form

    void SetKey(std::string_view key);          // the Key property: runs the key schedule
    const std::string& Key() const;
    std::array<std::uint8_t, 256> ForwardBox(int round, int position) const;
    void EncryptBlock(const std::uint8_t* in, std::uint8_t* out) const;  // 16 bytes each
    void DecryptBlock(const std::uint8_t* in, std::uint8_t* out) const;
    std::string EncryptText(std::string_view text) const;                 // tick count of now
    std::string EncryptText(std::string_view text, std::uint32_t tickCount) const;
    std::string DecryptText(std::string_view raw) const;
    // DecryptText that checks the lead block's CRC and sum against the text: a damaged value or
    // one of another key gives nullopt instead of garbage. An empty value is the empty text.
    std::optional<std::string> DecryptTextVerified(std::string_view raw) const;
    static std::string EncodeCipherText(std::string_view raw);
    static std::string DecodeCipherText(std::string_view printable);

    // Builds a cipher string (encrypt, then encode) and reads one back (decode, then decrypt).
    std::string EncryptToCipherString(std::string_view text) const;
    std::string DecryptCipherString(std::string_view cipherString) const;
    std::optional<std::string> DecryptCipherStringVerified(std::string_view cipherString) const;

private:
    using Box = std::array<std::uint8_t, 256>;

    std::string decryptBlocks(std::string_view raw) const;

    std::string key_;
    // Zero until the first key, as a keyless instance must be.
    std::array<std::array<Box, kBlockSize>, kRounds> forward_{};
    std::array<std::array<Box, kBlockSize>, kRounds> inverse_{};
};

}  // namespace keystead
