#include "store/TextRules.h"

#include <algorithm>
#include <charconv>

namespace keystead {

namespace {

bool isTrimmed(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

}  // namespace

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::string trimText(std::string_view text) {
    while (!text.empty() && isTrimmed(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isTrimmed(text.back())) {
        text.remove_suffix(1);
    }
    return std::string(text);
}

std::optional<int> parseInteger(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    // from_chars takes a minus but no plus, and would accept a second sign after a plus.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    int value = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace keystead
