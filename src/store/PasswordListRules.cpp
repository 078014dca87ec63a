#include "store/PasswordListRules.h"

#include "store/TextRules.h"

#include <algorithm>

namespace keystead {
namespace {

unsigned char asciiLower(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

}  // namespace

std::optional<int> DaysLeft(std::string_view storedValue)
{
    return parseInteger(storedValue);
}

std::string ExpiryText(std::string_view storedValue)
{
    const auto days = DaysLeft(storedValue);
    if (!days)
        return {};
    if (*days >= 2)
        return "Expires in " + std::string(storedValue) + " Days";
    if (*days == 1)
        return "Expires in 1 Day";
    if (*days == 0)
        return "Expired Today";
    if (*days == -1)
        return "Expired 1 Day Ago";
    return "Expired " + std::to_string(-static_cast<long long>(*days)) + " Days Ago";
}

std::optional<std::string> CountDown(std::string_view storedValue, int elapsedDays)
{
    const auto days = DaysLeft(storedValue);
    if (!days)
        return std::nullopt;
    // Held in 64 bits so that no stored value and no clock jump can overflow.
    const long long left = static_cast<long long>(*days) - elapsedDays;
    return std::to_string(std::clamp<long long>(left, -2147483647LL, 2147483647LL));
}

int CompareListKeys(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const unsigned char x = asciiLower(static_cast<unsigned char>(a[i]));
        const unsigned char y = asciiLower(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

std::string_view ShownListText(std::string_view value)
{
    if (value.size() <= kShownListBytes)
        return value;
    std::size_t end = kShownListBytes;
    // A byte 10xxxxxx continues the sequence before it; UTF-8 sequences are at most four bytes.
    for (int back = 0; back < 3 && (static_cast<unsigned char>(value[end]) & 0xC0) == 0x80; ++back)
        --end;
    return value.substr(0, end);
}

std::string PasswordCountText(int count)
{
    return count == 1 ? "1 password in list" : std::to_string(count) + " passwords in list";
}

std::string ExpiredWarningText(const std::vector<std::string>& descriptions)
{
    std::string text = "The following passwords have expired:\r\n\r\n";
    for (const auto& description : descriptions)
        text += description + "\r\n";
    return text;
}

}  // namespace keystead
