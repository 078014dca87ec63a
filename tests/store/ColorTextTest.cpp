// Colour text: names in any case, "$" hexadecimal, signed decimal, the fallback of the link
// colour, and the written form.

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

// A colour read back from its written text is the same colour; a lower-case name comes back in
// the table's spelling, and a colour of the colour dialog takes a basic name only when it is one.
TEST(ColorTextTest, WrittenTextReadsBackAsTheSameColour)
{
    EXPECT_EQ(WriteColorText(*ReadColorText("clhighlight")), "clHighlight");
    EXPECT_EQ(WriteColorText(0x0000FFU), "clRed");
    EXPECT_EQ(WriteColorText(0x1FFFFFFFU), "clNone");
    EXPECT_EQ(WriteColorText(0x00FF8040U), "$00FF8040");
    EXPECT_EQ(WriteColorText(0x8000001FU), "$8000001F");
    for (const ColorValue value : {0x000000U, 0xC0C0C1U, 0x80000018U, 0xABCDEFU, 0xFFFFFFFFU})
        EXPECT_EQ(ReadColorText(WriteColorText(value)), value) << WriteColorText(value);
}

}  // namespace
}  // namespace keystead
