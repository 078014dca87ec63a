#include "store/CaseFolding.h"

#include <algorithm>
#include <optional>

namespace keystead {
namespace {

struct DecodedCharacter {
    std::uint32_t codePoint;
    std::size_t length;
};

// The UTF-8 character at the start of the text; nothing for a byte that starts none.
std::optional<DecodedCharacter> decode(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead < 0xE0 ? 2 : lead >= 0xE0 && lead < 0xF0 ? 3
                                             : lead >= 0xF0 && lead < 0xF5 ? 4 : 0;
    if (length == 0 || length > text.size())
        return std::nullopt;
    std::uint32_t codePoint = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return std::nullopt;
        codePoint = (codePoint << 6) | (byte(i) & 0x3F);
    }
    return DecodedCharacter{codePoint, length};
}

const char* foldedCharacter(std::uint32_t codePoint)
{
    const CaseFoldingPair* end = kCaseFoldingTable + kCaseFoldingTableSize;
    const CaseFoldingPair* found = std::lower_bound(
        kCaseFoldingTable, end, codePoint,
        [](const CaseFoldingPair& pair, std::uint32_t wanted) { return pair.codePoint < wanted; });
    return found != end && found->codePoint == codePoint ? found->folded : nullptr;
}

}  // namespace

std::string FoldCase(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    while (!text.empty()) {
        const std::optional<DecodedCharacter> character = decode(text);
        const std::size_t length = character ? character->length : 1;
        const char* folded = character ? foldedCharacter(character->codePoint) : nullptr;
        if (folded)
            result += folded;
        else
            result.append(text.substr(0, length));
        text.remove_prefix(length);
    }
    return result;
}

}  // namespace keystead
