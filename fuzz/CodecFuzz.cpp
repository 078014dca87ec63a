// Feeds arbitrary bytes, as a damaged stored value or export line would be, to the decoding side.

#include "crypto/Diamond.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace {

const keystead::TDiamond& cipher()
{
    static const keystead::TDiamond keyed = [] {
        keystead::TDiamond c;
        c.SetKey("fuzz");
        return c;
    }();
    return keyed;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string raw = keystead::TDiamond::DecodeCipherText(input);
    const std::string text = cipher().DecryptText(raw);
    if (text.size() + 16 > raw.size() && !text.empty())
        __builtin_trap();
    // Raw bytes themselves too: a cipher text of any length must be safe.
    (void)cipher().DecryptText(input);
    if (keystead::TDiamond::DecodeCipherText(keystead::TDiamond::EncodeCipherText(input)) != input)
        __builtin_trap();
    return 0;
}
