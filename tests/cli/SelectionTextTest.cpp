// The text clip offers: UTF-8 as the forms read the stored bytes, and Latin-1 only where every
// character has a Latin-1 code.

#include <gtest/gtest.h>

#include "cli/SelectionText.h"

namespace keystead::cli {
namespace {

TEST(SelectionTextTest, StoredBytesAreReadAsTheFormsReadThem)
{
    const SelectionText utf8("caf\xC3\xA9");
    EXPECT_EQ(utf8.utf8(), "caf\xC3\xA9");
    ASSERT_NE(utf8.latin1(), nullptr);
    EXPECT_EQ(*utf8.latin1(), "caf\xE9");

    // Older data in the Windows ANSI code page: the euro sign and a Latin-1 letter.
    const SelectionText ansi("\x80 \xE9");
    EXPECT_EQ(ansi.utf8(), "\xE2\x82\xAC \xC3\xA9");
    EXPECT_EQ(ansi.latin1(), nullptr);

    // An overlong form is no UTF-8: the bytes are Windows-1252 characters.
    EXPECT_EQ(SelectionText("\xC0\xAF").utf8(), "\xC3\x80\xC2\xAF");
    const SelectionText beyondLatin1("\xF0\x9F\x94\x91 key");
    EXPECT_EQ(beyondLatin1.utf8(), "\xF0\x9F\x94\x91 key");
    EXPECT_EQ(beyondLatin1.latin1(), nullptr);
}

}  // namespace
}  // namespace keystead::cli
