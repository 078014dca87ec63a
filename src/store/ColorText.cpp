#include "store/ColorText.h"

#include "store/TextRules.h"

#include <array>
#include <charconv>

namespace keystead {
namespace {

struct NamedColor {
    std::string_view name;
    ColorValue value;
};

constexpr std::array<NamedColor, 42> kNamedColors = {{
    {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000}, {"clOlive", 0x008080},
    {"clNavy", 0x800000}, {"clPurple", 0x800080}, {"clTeal", 0x808000}, {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF}, {"clLime", 0x00FF00}, {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000}, {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00}, {"clWhite", 0xFFFFFF},
    {"clScrollBar", kSystemColorFlag + 0}, {"clBackground", kSystemColorFlag + 1},
    {"clActiveCaption", kSystemColorFlag + 2}, {"clInactiveCaption", kSystemColorFlag + 3},
    {"clMenu", kSystemColorFlag + 4}, {"clWindow", kSystemColorFlag + 5},
    {"clWindowFrame", kSystemColorFlag + 6}, {"clMenuText", kSystemColorFlag + 7},
    {"clWindowText", kSystemColorFlag + 8}, {"clCaptionText", kSystemColorFlag + 9},
    {"clActiveBorder", kSystemColorFlag + 10}, {"clInactiveBorder", kSystemColorFlag + 11},
    {"clAppWorkSpace", kSystemColorFlag + 12}, {"clHighlight", kSystemColorFlag + 13},
    {"clHighlightText", kSystemColorFlag + 14}, {"clBtnFace", kSystemColorFlag + 15},
    {"clBtnShadow", kSystemColorFlag + 16}, {"clGrayText", kSystemColorFlag + 17},
    {"clBtnText", kSystemColorFlag + 18}, {"clInactiveCaptionText", kSystemColorFlag + 19},
    {"clBtnHighlight", kSystemColorFlag + 20}, {"cl3DDkShadow", kSystemColorFlag + 21},
    {"cl3DLight", kSystemColorFlag + 22}, {"clInfoText", kSystemColorFlag + 23},
    {"clInfoBk", kSystemColorFlag + 24}, {"clNone", 0x1FFFFFFF},
}};

// "$" and up to eight hexadecimal digits: the 32 bits of the value.
std::optional<ColorValue> readHex(std::string_view digits)
{
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    ColorValue value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    return value;
}

}  // namespace

std::optional<int> SystemColorIndex(ColorValue value)
{
    if ((value & 0xFF000000U) != kSystemColorFlag)
        return std::nullopt;
    return static_cast<int>(value & 0x00FFFFFFU);
}

std::optional<ColorValue> ReadColorText(std::string_view text)
{
    for (const NamedColor& color : kNamedColors)
        if (equalsIgnoringCase(text, color.name))
            return color.value;
    if (text.starts_with('$'))
        return readHex(text.substr(1));
    // Decimal values are the signed 32-bit form: system colours are negative.
    if (const std::optional<int> value = parseInteger(text))
        return static_cast<ColorValue>(*value);
    return std::nullopt;
}

std::string WriteColorText(ColorValue value)
{
    for (const NamedColor& color : kNamedColors)
        if (color.value == value)
            return std::string(color.name);
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text = "$";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += kDigits[(value >> shift) & 0xFU];
    return text;
}

ColorValue ReadUrlColor(std::string_view text)
{
    return ReadColorText(text).value_or(kHighlightColor);
}

}  // namespace keystead
