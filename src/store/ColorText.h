#pragma once
// Colour text, the stored form of a colour such as URLColor: a name of the colour table in any
// letter case, or an integer in decimal or in "$" hexadecimal notation.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace keystead {

// A colour value as the text gives it: 0x00BBGGRR for an RGB colour (red in the low byte), or
// 0x80000000 + n for system colour n, which is resolved to the palette only when it is drawn.
using ColorValue = std::uint32_t;

inline constexpr ColorValue kSystemColorFlag = 0x80000000U;
inline constexpr int kSystemColorCount = 25;
inline constexpr ColorValue kHighlightColor = kSystemColorFlag + 13;   // "clHighlight"

// The system colour index of a value, or nothing for an RGB colour.
std::optional<int> SystemColorIndex(ColorValue value);

// Nothing when the text is neither a name of the table nor an integer.
std::optional<ColorValue> ReadColorText(std::string_view text);

// The stored form of a value: its name when the table has one, otherwise "$" and its 32 bits in
// eight upper-case hexadecimal digits.
std::string WriteColorText(ColorValue value);

// The link colour of the notes pane: text that is no colour falls back to "clHighlight".
ColorValue ReadUrlColor(std::string_view text);

}  // namespace keystead
