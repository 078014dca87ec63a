#include "cli/CliOutput.h"

#include <unistd.h>

#include <cstdint>

namespace keystead::cli {

namespace {

// A lead byte of a UTF-8 sequence: which bits mark it, how many bytes follow it with it, and the
// lowest code point a sequence of that length may carry.
struct Sequence {
    unsigned char mask;
    unsigned char lead;
    std::size_t length;
    std::uint32_t lowest;
};
constexpr Sequence kSequences[] = {{0xE0, 0xC0, 2, 0x80}, {0xF0, 0xE0, 3, 0x800}, {0xF8, 0xF0, 4, 0x10000}};

std::size_t decodeSequence(std::string_view text, const Sequence& sequence, std::uint32_t& codePoint)
{
    if (text.size() < sequence.length)
        return 0;
    codePoint = static_cast<unsigned char>(text.front()) & static_cast<unsigned char>(~sequence.mask);
    for (std::size_t i = 1; i < sequence.length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (byte & 0x3Fu);
    }
    const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
    return codePoint < sequence.lowest || codePoint > 0x10FFFF || surrogate ? 0 : sequence.length;
}

// The length of the well-formed UTF-8 character text starts with, and its code point; 0 where
// the first byte starts none.
std::size_t decodeCharacter(std::string_view text, std::uint32_t& codePoint)
{
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    }
    for (const Sequence& sequence : kSequences)
        if ((lead & sequence.mask) == sequence.lead)
            return decodeSequence(text, sequence, codePoint);
    return 0;
}

// The characters a terminal acts on instead of showing: C0, DEL and C1.
bool isControl(std::uint32_t codePoint)
{
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

void writeEscaped(std::ostream& stream, std::string_view bytes)
{
    static constexpr char kHex[] = "0123456789abcdef";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        stream << "\\x" << kHex[byte >> 4] << kHex[byte & 0x0F];
    }
}

}  // namespace

CliOutput::CliOutput(std::ostream& stream, int fd) : stream_(stream), terminal_(::isatty(fd) == 1) {}

std::ostream& operator<<(std::ostream& stream, const CliOutput::Shown& shown)
{
    std::string_view text = shown.text;
    if (!shown.escaped)
        return stream.write(text.data(), static_cast<std::streamsize>(text.size()));
    while (!text.empty()) {
        std::uint32_t codePoint = 0;
        const std::size_t length = decodeCharacter(text, codePoint);
        const std::string_view character = text.substr(0, length == 0 ? 1 : length);
        if (length == 0 || (isControl(codePoint) && !(shown.keepLineFeeds && codePoint == '\n')))
            writeEscaped(stream, character);
        else
            stream.write(character.data(), static_cast<std::streamsize>(character.size()));
        text.remove_prefix(character.size());
    }
    return stream;
}

}  // namespace keystead::cli
