// Trimming, integer texts and the letter-case rule for names.

#include "store/TextRules.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace keystead {
namespace {

TEST(TextRulesTest, TrimRemovesEveryCodeUpTo32AtBothEndsOnly) {
    std::string controls;
    for (int c = 0; c <= 32; ++c) {
        controls += static_cast<char>(c);
    }
    EXPECT_EQ(trimText(controls + "a \t\r\nb" + controls), "a \t\r\nb");
    EXPECT_EQ(trimText(controls), "");
    EXPECT_EQ(trimText(""), "");
    // DEL and the bytes of UTF-8 texts are kept, also at the ends.
    EXPECT_EQ(trimText("\x7f" "x\xc3\xa9"), "\x7f" "x\xc3\xa9");
    EXPECT_EQ(trimText(" \xc2\xa0 "), "\xc2\xa0");
}

TEST(TextRulesTest, IntegersAreWholeDecimalTextsWithinRange) {
    EXPECT_EQ(parseInteger("0"), 0);
    EXPECT_EQ(parseInteger("-4"), -4);
    EXPECT_EQ(parseInteger("+7"), 7);
    EXPECT_EQ(parseInteger("007"), 7);
    EXPECT_EQ(parseInteger("2147483647"), INT_MAX);
    EXPECT_EQ(parseInteger("-2147483648"), INT_MIN);
}

TEST(TextRulesTest, AnythingButAWholeIntegerIsNone) {
    for (const char* text : {"", "-", "+", "+-1", "-+1", "3a", "a3", " 5", "5 ", "1.5", "0x1F",
                             "$1F", "2147483648", "-2147483649", "1e3", "--1"}) {
        EXPECT_FALSE(parseInteger(text).has_value()) << '"' << text << '"';
    }
}

TEST(TextRulesTest, LetterCaseIsIgnoredForAsciiLettersOnly) {
    EXPECT_TRUE(equalsIgnoringCase("Options", "oPTIONS"));
    EXPECT_FALSE(equalsIgnoringCase("Options", "Option"));
    EXPECT_FALSE(equalsIgnoringCase("\xc3\xa9", "\xc3\x89"));   // é and É stay different
    EXPECT_FALSE(equalsIgnoringCase("[", "{"));
}

}  // namespace
}  // namespace keystead
