#include "cli/SelectionText.h"

#include <optional>
#include <utility>

#include "store/Windows1252.h"

namespace keystead::cli {

namespace {

constexpr std::size_t kLongestUtf8 = 4;

bool continuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// The character at position, and the count of its bytes; nothing where the bytes there are no
// well-formed UTF-8 (overlong forms, surrogates and codes above U+10FFFF are not).
std::optional<std::pair<char32_t, std::size_t>> nextCharacter(std::string_view bytes, std::size_t position)
{
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[position + i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return std::pair{char32_t{lead}, std::size_t{1}};
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;   // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || position + length > bytes.size() || at(1) < low || at(1) > high)
        return std::nullopt;
    char32_t character = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if (!continuation(at(i)))
            return std::nullopt;
        character = (character << 6) | (at(i) & 0x3F);
    }
    return std::pair{character, length};
}

bool isUtf8(std::string_view bytes)
{
    for (std::size_t position = 0; position < bytes.size();) {
        const auto next = nextCharacter(bytes, position);
        if (!next)
            return false;
        position += next->second;
    }
    return true;
}

}  // namespace

SelectionText::SelectionText(std::string_view stored)
{
    // Room enough from the start: a buffer outgrown would leave a copy of the secret behind.
    utf8_.get().reserve(stored.size() * kLongestUtf8);
    latin1_.get().reserve(stored.size());
    if (isUtf8(stored)) {
        for (std::size_t position = 0; position < stored.size();) {
            const auto [character, length] = *nextCharacter(stored, position);
            add(character);
            position += length;
        }
        return;
    }
    for (const char byte : stored) {
        const auto code = static_cast<unsigned char>(byte);
        add(code >= 0x80 && code <= 0x9F ? kWindows1252High[code - 0x80] : char32_t{code});
    }
}

void SelectionText::add(char32_t character)
{
    std::string& utf8 = utf8_.get();
    if (character < 0x80) {
        utf8.push_back(static_cast<char>(character));
    } else {
        const std::size_t length = character < 0x800 ? 2 : character < 0x10000 ? 3 : 4;
        utf8.push_back(static_cast<char>((0xF00 >> length) | (character >> (6 * (length - 1)))));
        for (std::size_t i = length - 1; i > 0; --i)
            utf8.push_back(static_cast<char>(0x80 | ((character >> (6 * (i - 1))) & 0x3F)));
    }
    if (character > 0xFF)
        hasLatin1_ = false;
    else if (hasLatin1_)
        latin1_.get().push_back(static_cast<char>(character));
}

}  // namespace keystead::cli
