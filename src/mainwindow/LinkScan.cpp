#include "mainwindow/LinkScan.h"

#include <algorithm>
#include <array>

namespace keystead {
namespace {

constexpr std::string_view kFilePrefix = "FILE://";
constexpr std::string_view kQuotedFilePrefix = "FILE://\"";

bool isBlank(char c)
{
    return static_cast<unsigned char>(c) <= 32;
}

char asciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool startsWithUpper(std::string_view word, std::string_view prefix)
{
    return word.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), word.begin(), [](char p, char w) { return p == asciiUpper(w); });
}

bool isLinkWord(std::string_view word)
{
    static constexpr std::array<std::string_view, 6> kPrefixes = {"HTTP:", "HTTPS:", "FTP.", "FTP:", "WWW.",
                                                                  kFilePrefix};
    return std::any_of(kPrefixes.begin(), kPrefixes.end(),
                       [word](std::string_view prefix) { return startsWithUpper(word, prefix); });
}

// The word without its blanks at both ends, as an offset into the text and a length. The link
// covers only that part, so a link after a tab or a lone line feed does not take them along.
LinkSpan trimmedWord(std::string_view text, std::size_t start, std::size_t end)
{
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    return {start, end - start};
}

}  // namespace

std::vector<LinkSpan> ScanLinks(std::string_view text)
{
    std::vector<LinkSpan> links;
    // Once no double quote follows some position, none follows any later one: unclosed quoted
    // links then cost no further search, whatever their number.
    bool quoteAhead = true;
    std::size_t p = 0;
    while (p < text.size()) {
        const std::size_t separator = text.find_first_of(" \r", p);
        const std::size_t wordEnd = separator == std::string_view::npos ? text.size() : separator;
        const LinkSpan word = trimmedWord(text, p, wordEnd);
        const std::string_view tested = text.substr(word.start, word.length);
        std::size_t next = separator == std::string_view::npos
                               ? text.size()
                               : separator + (text[separator] == '\r' ? 2 : 1);
        if (startsWithUpper(tested, kQuotedFilePrefix)) {
            const std::size_t quote =
                quoteAhead ? text.find('"', word.start + kQuotedFilePrefix.size()) : std::string_view::npos;
            quoteAhead = quote != std::string_view::npos;
            if (quoteAhead) {
                links.push_back({word.start, quote + 1 - word.start});
                next = quote + 2;
            } else {
                links.push_back({word.start, kQuotedFilePrefix.size()});
                next = word.start + kQuotedFilePrefix.size() + 1;
            }
        } else if (isLinkWord(tested)) {
            links.push_back(word);
        }
        p = next;
    }
    return links;
}

std::optional<std::string> FileLinkPath(std::string_view link)
{
    if (startsWithUpper(link, kQuotedFilePrefix)) {
        const std::string_view path = link.substr(kQuotedFilePrefix.size());
        return std::string(path.ends_with('"') ? path.substr(0, path.size() - 1) : path);
    }
    if (startsWithUpper(link, kFilePrefix))
        return std::string(link.substr(kFilePrefix.size()));
    return std::nullopt;
}

}  // namespace keystead
