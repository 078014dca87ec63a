#pragma once
// The rules of the password list that work on texts alone: the expiry countdown and its texts,
// the order of the rows, the status text and the expired-passwords warning.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keystead {

// A DaysTillExpiration value holds days left when it is a whole number. Any other text (a damaged
// value) is treated as no expiry: it shows nothing and is never counted down.
std::optional<int> DaysLeft(std::string_view storedValue);

// "Expires in 12 Days", "Expires in 1 Day", "Expired Today", "Expired 1 Day Ago",
// "Expired 7 Days Ago"; empty for no expiry.
std::string ExpiryText(std::string_view storedValue);

// Days left after elapsedDays more days, as the store keeps it; nothing for no expiry.
std::optional<std::string> CountDown(std::string_view storedValue, int elapsedDays);

// -1, 0 or 1: ASCII letters compared without case, all other bytes by unsigned value, a prefix
// before the longer text.
int CompareListKeys(std::string_view a, std::string_view b);

// The start of a value that the list shows: no column on any screen shows more than 1024
// characters, and drawing a longer text (a damaged or pasted 10 MB value) would measure all of
// it on every repaint. At most kShownListBytes bytes, never ending inside a UTF-8 sequence.
constexpr std::size_t kShownListBytes = 4096;
std::string_view ShownListText(std::string_view value);

// "1 password in list", otherwise "<n> passwords in list".
std::string PasswordCountText(int count);

// The warning shown after the first load: one expired description per line.
std::string ExpiredWarningText(const std::vector<std::string>& descriptions);

}  // namespace keystead
