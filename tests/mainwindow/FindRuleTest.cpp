// The rule of Find: the texts searched with passwords shown and hidden, Unicode case folding, and
// the filtered count.

#include "mainwindow/FindRule.h"
#include "store/CaseFolding.h"

#include <gtest/gtest.h>

namespace keystead {
namespace {

const FindTexts kEntry{"bank of grüne", "jdoe", "pin hint: größe"};

TEST(FindRuleTest, SearchesWhatTheListAndNotesShowDecrypted)
{
    const FindScope shown = FindScopeFor(true, false, false);
    EXPECT_TRUE(FindMatches(kEntry, shown, "grüne"));
    EXPECT_TRUE(FindMatches(kEntry, shown, "doe"));
    EXPECT_TRUE(FindMatches(kEntry, shown, "größe"));
    EXPECT_FALSE(FindMatches(kEntry, shown, "secret"));
    EXPECT_TRUE(FindMatches(kEntry, shown, ""));

    // Passwords hidden: the description only with ShowSystem, comments only with ShowComments,
    // the user name never.
    const FindScope hidden = FindScopeFor(false, false, false);
    EXPECT_FALSE(FindMatches(kEntry, hidden, "bank"));
    EXPECT_FALSE(FindMatches(kEntry, hidden, "doe"));
    EXPECT_FALSE(FindMatches(kEntry, hidden, "hint"));
    EXPECT_TRUE(FindMatches(kEntry, hidden, ""));
    const FindScope system = FindScopeFor(false, true, false);
    EXPECT_TRUE(FindMatches(kEntry, system, "bank"));
    EXPECT_FALSE(FindMatches(kEntry, system, "hint"));
    const FindScope comments = FindScopeFor(false, false, true);
    EXPECT_FALSE(FindMatches(kEntry, comments, "bank"));
    EXPECT_TRUE(FindMatches(kEntry, comments, "hint"));
    EXPECT_FALSE(FindMatches(kEntry, comments, "jdoe"));
}

TEST(FindRuleTest, CaseFoldingCoversEveryScript)
{
    EXPECT_EQ(FoldCase("Bank ABC"), "bank abc");
    EXPECT_EQ(FoldCase("STRASSE"), FoldCase("stra\u00DFe"));
    EXPECT_EQ(FoldCase("\u03A3\u039F\u03A6\u0399\u0391"), FoldCase("\u03C3\u03BF\u03C6\u03B9\u03B1"));
    EXPECT_EQ(FoldCase("\u00D6L \u0416"), "\u00F6l \u0436");
    // Bytes that are not UTF-8 (older data in the ANSI code page) stay as they are.
    EXPECT_EQ(FoldCase("A\xC4\xFF"), "a\xC4\xFF");
}

TEST(FindRuleTest, CountText)
{
    EXPECT_EQ(FindCountText(3, 250), "3 of 250 passwords in list");
    EXPECT_EQ(FindCountText(0, 1), "0 of 1 password in list");
}

}  // namespace
}  // namespace keystead
