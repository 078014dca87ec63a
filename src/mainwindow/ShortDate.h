#pragma once
// Whole-day dates in the short date form the main window sets for the process: two-digit day,
// two-digit month and four-digit year, joined by the system's date separator ("dd/mm/yyyy").

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace keystead {

std::string FormatShortDate(std::chrono::sys_days date, char separator);

// Reads a date written in that form under any locale: day, month and year joined by one separator
// of any kind ("/", ".", "-", a blank), the same both times, with a day and a month of one or two
// digits. Nothing when the text is not a real date in that form.
std::optional<std::chrono::sys_days> ParseShortDate(std::string_view text);

// Today's local date, and a monotonic time for how long the user has been away; tests fix the
// date so that the expiry countdown is repeatable, and drive the time so that a lock after minutes
// without input needs no minutes.
class Clock {
public:
    using Instant = std::chrono::steady_clock::time_point;

    std::chrono::sys_days today() const;
    void fixToday(std::chrono::sys_days date) { fixedToday_ = date; }
    Instant now() const { return drivenNow_ ? drivenNow_() : std::chrono::steady_clock::now(); }
    void driveNow(std::function<Instant()> now) { drivenNow_ = std::move(now); }

private:
    std::optional<std::chrono::sys_days> fixedToday_;
    std::function<Instant()> drivenNow_;
};

}  // namespace keystead
