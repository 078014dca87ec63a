#include "desktop/PaletteColor.h"

#include <QPalette>

#include <array>

namespace keystead {
namespace {

struct SystemColor {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The Windows system colours, by index, mapped to the nearest role of a Qt palette.
constexpr std::array<SystemColor, kSystemColorCount> kSystemColors = {{
    {QPalette::Active, QPalette::Midlight},         // clScrollBar
    {QPalette::Active, QPalette::Window},           // clBackground
    {QPalette::Active, QPalette::Highlight},        // clActiveCaption
    {QPalette::Inactive, QPalette::Highlight},      // clInactiveCaption
    {QPalette::Active, QPalette::Window},           // clMenu
    {QPalette::Active, QPalette::Base},             // clWindow
    {QPalette::Active, QPalette::Shadow},           // clWindowFrame
    {QPalette::Active, QPalette::WindowText},       // clMenuText
    {QPalette::Active, QPalette::Text},             // clWindowText
    {QPalette::Active, QPalette::HighlightedText},  // clCaptionText
    {QPalette::Active, QPalette::Button},           // clActiveBorder
    {QPalette::Inactive, QPalette::Button},         // clInactiveBorder
    {QPalette::Active, QPalette::Mid},              // clAppWorkSpace
    {QPalette::Active, QPalette::Highlight},        // clHighlight
    {QPalette::Active, QPalette::HighlightedText},  // clHighlightText
    {QPalette::Active, QPalette::Button},           // clBtnFace
    {QPalette::Active, QPalette::Dark},             // clBtnShadow
    {QPalette::Disabled, QPalette::Text},           // clGrayText
    {QPalette::Active, QPalette::ButtonText},       // clBtnText
    {QPalette::Inactive, QPalette::HighlightedText},// clInactiveCaptionText
    {QPalette::Active, QPalette::Light},            // clBtnHighlight
    {QPalette::Active, QPalette::Shadow},           // cl3DDkShadow
    {QPalette::Active, QPalette::Midlight},         // cl3DLight
    {QPalette::Active, QPalette::ToolTipText},      // clInfoText
    {QPalette::Active, QPalette::ToolTipBase},      // clInfoBk
}};

}  // namespace

QColor ResolveColor(ColorValue value, const QPalette& palette)
{
    if (const std::optional<int> index = SystemColorIndex(value)) {
        // An index beyond the table names no colour; the default link colour stands in.
        const SystemColor& system = *index < kSystemColorCount ? kSystemColors[static_cast<std::size_t>(*index)]
                                                               : kSystemColors[13];
        return palette.color(system.group, system.role);
    }
    return QColor(static_cast<int>(value & 0xFFU), static_cast<int>((value >> 8) & 0xFFU),
                  static_cast<int>((value >> 16) & 0xFFU));
}

}  // namespace keystead
