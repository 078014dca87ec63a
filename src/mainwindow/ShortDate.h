#pragma once
// Whole-day dates in the short date form the main window sets for the process: two-digit day,
// two-digit month and four-digit year, joined by the system's date separator ("dd/mm/yyyy").

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

namespace keystead {

std::string FormatShortDate(std::chrono::sys_days date, char separator);

// Reads a date written in that form under any locale: day, month and year joined by one separator
// of any kind ("/", ".", "-", a blank), the same both times, with a day and a month of one or two
// digits. Nothing when the text is not a real date in that form.
std::optional<std::chrono::sys_days> ParseShortDate(std::string_view text);

// Today's local date; tests fix it so that the expiry countdown is repeatable.
class Clock {
public:
    std::chrono::sys_days today() const;
    void fixToday(std::chrono::sys_days date) { fixedToday_ = date; }

private:
    std::optional<std::chrono::sys_days> fixedToday_;
};

}  // namespace keystead
