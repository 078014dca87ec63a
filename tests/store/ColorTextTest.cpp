// Reading colour text: names in any case, "$" hexadecimal, signed decimal, and the fallback of
// the link colour.

#include "store/ColorText.h"

#include <gtest/gtest.h>

namespace keystead {
namespace {

TEST(ColorTextTest, NamesHexAndDecimal)
{
    EXPECT_EQ(ReadColorText("clHighlight"), 0x8000000DU);
    EXPECT_EQ(ReadColorText("clhighlight"), 0x8000000DU);
    EXPECT_EQ(ReadColorText("CLRED"), 0x0000FFU);
    EXPECT_EQ(ReadColorText("clInfoBk"), 0x80000018U);
    EXPECT_EQ(ReadColorText("clNone"), 0x1FFFFFFFU);
    EXPECT_EQ(ReadColorText("$00FF8040"), 0xFF8040U);
    EXPECT_EQ(ReadColorText("$ff"), 0xFFU);
    EXPECT_EQ(ReadColorText("$8000000D"), 0x8000000DU);
    EXPECT_EQ(ReadColorText("255"), 0xFFU);
    EXPECT_EQ(ReadColorText("-2147483635"), 0x8000000DU);
    EXPECT_EQ(SystemColorIndex(0x8000000DU), 13);
    EXPECT_EQ(SystemColorIndex(0x00FF8040U), std::nullopt);
}

TEST(ColorTextTest, TextThatIsNoColourGivesTheDefaultLinkColour)
{
    for (const char* bad : {"", "blue", "cl", "$", "$1FFFFFFFF", "$12G4", "0x00FF00", " 255", "2147483648", "$-1"}) {
        EXPECT_EQ(ReadColorText(bad), std::nullopt) << bad;
        EXPECT_EQ(ReadUrlColor(bad), kHighlightColor) << bad;
    }
    EXPECT_EQ(ReadUrlColor("clLime"), 0x00FF00U);
}

}  // namespace
}  // namespace keystead
