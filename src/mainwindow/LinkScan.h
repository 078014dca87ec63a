#pragma once
// The link scan of the notes pane: which words of a comment are web, FTP or file addresses, as
// character ranges of the text exactly as stored (a line break is CR LF, two characters).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keystead {

struct LinkSpan {
    std::size_t start = 0;
    std::size_t length = 0;

    bool operator==(const LinkSpan&) const = default;
};

// The links of the text, in text order. Words are separated by spaces and line breaks only; a
// word is a link when, without its blanks, it begins with "HTTP:", "HTTPS:", "FTP.", "FTP:",
// "WWW." or "FILE://" in any case. A quoted file link (FILE://" up to the closing quote) may hold
// spaces; without a closing quote only its first eight characters are a link.
std::vector<LinkSpan> ScanLinks(std::string_view text);

// The file a link names: what follows FILE://, without the quotes of a quoted link. Nothing for
// any other link.
std::optional<std::string> FileLinkPath(std::string_view link);

}  // namespace keystead
