// The link scan on comments as the store keeps them (CR LF line breaks, two characters each).

#include "mainwindow/LinkScan.h"

#include <gtest/gtest.h>

namespace keystead {
namespace {

std::vector<std::string> linkTexts(std::string_view text)
{
    std::vector<std::string> texts;
    for (const LinkSpan& span : ScanLinks(text))
        texts.emplace_back(text.substr(span.start, span.length));
    return texts;
}

using Links = std::vector<std::string>;

TEST(LinkScanTest, PrefixesInAnyCaseAtTheStartOfAWordOnly)
{
    EXPECT_EQ(linkTexts("see wWw.Example.com now"), Links{"wWw.Example.com"});
    EXPECT_EQ(ScanLinks("see wWw.Example.com now"), (std::vector<LinkSpan>{{4, 15}}));
    EXPECT_EQ(linkTexts("hTtP://a HTTPS://b ftp.c Ftp://d www.e file:///f"),
              (Links{"hTtP://a", "HTTPS://b", "ftp.c", "Ftp://d", "www.e", "file:///f"}));
    EXPECT_EQ(linkTexts("xhttp://a (www.b.com) myftp.c nofile://d http ftp www"), Links{});
    EXPECT_EQ(linkTexts("http:"), Links{"http:"});
    // Only spaces and line breaks separate words: trailing punctuation joins the link.
    EXPECT_EQ(linkTexts("at www.a.com, or http://b.org."), (Links{"www.a.com,", "http://b.org."}));
    EXPECT_EQ(linkTexts("a,www.b.com"), Links{});
}

TEST(LinkScanTest, WholeTextLinksAndLinksAtEveryEdge)
{
    EXPECT_EQ(ScanLinks("http://only.example/x?y=1"), (std::vector<LinkSpan>{{0, 25}}));
    // A link before a line break ends before the CR; the next line starts after the LF.
    EXPECT_EQ(ScanLinks("http://a.b\r\nwww.c.d\r\n"), (std::vector<LinkSpan>{{0, 10}, {12, 7}}));
    EXPECT_EQ(linkTexts("first line\r\nlast www.end"), Links{"www.end"});
    EXPECT_EQ(linkTexts("ends in a lone CR www.x\r"), Links{"www.x"});
    // Blanks other than spaces and CR stay out of the link.
    EXPECT_EQ(ScanLinks("\twww.a.b\t c"), (std::vector<LinkSpan>{{1, 7}}));
    EXPECT_EQ(ScanLinks(""), std::vector<LinkSpan>{});
    EXPECT_EQ(ScanLinks("  \r\n\r\n  "), std::vector<LinkSpan>{});
    EXPECT_EQ(ScanLinks("\r"), std::vector<LinkSpan>{});
}

TEST(LinkScanTest, QuotedFileLinksHoldSpacesUpToTheClosingQuote)
{
    EXPECT_EQ(linkTexts("FILE://\"C:\\My Documents\\a b.txt\" and www.c.d"),
              (Links{"FILE://\"C:\\My Documents\\a b.txt\"", "www.c.d"}));
    EXPECT_EQ(linkTexts("x file://\"/tmp/a b\"\r\nwww.c.d"), (Links{"file://\"/tmp/a b\"", "www.c.d"}));
    // The character right after the closing quote is passed over, whatever it is.
    EXPECT_EQ(linkTexts("file://\"a b\"www.c.d www.e.f"), (Links{"file://\"a b\"", "www.e.f"}));
    // No closing quote: only the eight characters of the prefix, and the scan goes on at the
    // tenth character of the word.
    EXPECT_EQ(ScanLinks("FILE://\"xwww.a.b c"), (std::vector<LinkSpan>{{0, 8}, {9, 7}}));
    // The closing quote is the next one, even when it opens a later link.
    EXPECT_EQ(ScanLinks("FILE://\"a FILE://\"b FILE://\""), (std::vector<LinkSpan>{{0, 18}, {20, 8}}));
}

TEST(LinkScanTest, CipherTextShownInsteadOfCommentsIsScannedLikeAnyText)
{
    // Stored cipher strings use letters, digits, ~#%&*+- and the terminating full stop.
    EXPECT_EQ(linkTexts("Www.k7~#ZqR3&+-"), Links{"Www.k7~#ZqR3&+-"});
    EXPECT_EQ(linkTexts("k7~#wwW.ZqR3&+-."), Links{});
}

TEST(LinkScanTest, FileLinkPaths)
{
    EXPECT_EQ(FileLinkPath("FILE://\"/tmp/a b.txt\""), "/tmp/a b.txt");
    EXPECT_EQ(FileLinkPath("file:///usr/bin/env"), "/usr/bin/env");
    EXPECT_EQ(FileLinkPath("File://relative"), "relative");
    EXPECT_EQ(FileLinkPath("FILE://\""), "");
    EXPECT_EQ(FileLinkPath("http://a.b"), std::nullopt);
    EXPECT_EQ(FileLinkPath("www.file://"), std::nullopt);
}

}  // namespace
}  // namespace keystead
