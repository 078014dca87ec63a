// The browser's command line made from the command registered for web pages.

#include "desktop/BrowserCommand.h"

#include <gtest/gtest.h>

namespace keystead {
namespace {

constexpr const char* kUrl = "http://example.com/a b";

TEST(BrowserCommandTest, ACommandWithoutPlaceholderGetsTheAddressAfterABlank) {
    EXPECT_EQ(browserCommandLine("C:\\Browser\\browse.exe -nohome", kUrl),
              "C:\\Browser\\browse.exe -nohome http://example.com/a b");
}

TEST(BrowserCommandTest, TheQuotedPlaceholderIsCutBeforeItsOpeningQuote) {
    EXPECT_EQ(browserCommandLine("\"C:\\Program Files\\B\\b.exe\" -url \"%1\" -new", kUrl),
              "\"C:\\Program Files\\B\\b.exe\" -url  http://example.com/a b");
    // A quoted placeholder wins over an earlier bare one.
    EXPECT_EQ(browserCommandLine("b.exe %1x \"%1\"", kUrl), "b.exe %1x  http://example.com/a b");
}

TEST(BrowserCommandTest, ABarePlaceholderIsCutWithEverythingAfterIt) {
    EXPECT_EQ(browserCommandLine("b.exe %1 -new", kUrl), "b.exe  http://example.com/a b");
    EXPECT_EQ(browserCommandLine("b.exe -url=%1", kUrl), "b.exe -url= http://example.com/a b");
}

}  // namespace
}  // namespace keystead
