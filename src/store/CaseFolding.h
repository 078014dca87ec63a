#pragma once
// Unicode case folding of UTF-8 text, so that texts compare without regard to letter case in any
// script ("STRASSE" and "straße", "ΣΟΦΙΑ" and "σοφία"), the same in every program of the project.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace keystead {

// A code point and its full case folding, in UTF-8.
struct CaseFoldingPair {
    std::uint32_t codePoint;
    const char* folded;
};
// Ordered by code point; made from the Unicode data by scripts/case-folding-table.py.
extern const CaseFoldingPair kCaseFoldingTable[];
extern const std::size_t kCaseFoldingTableSize;

// The text with every character folded; bytes that are not valid UTF-8 stay as they are.
std::string FoldCase(std::string_view text);

}  // namespace keystead
