#include "mainwindow/ShortDate.h"

#include <charconv>
#include <cstdio>
#include <ctime>

namespace keystead {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Takes a number of minDigits to maxDigits digits from the front of text.
std::optional<unsigned> takeNumber(std::string_view& text, std::size_t minDigits, std::size_t maxDigits)
{
    std::size_t length = 0;
    while (length < text.size() && length < maxDigits && isDigit(text[length]))
        ++length;
    if (length < minDigits)
        return std::nullopt;
    unsigned value = 0;
    std::from_chars(text.data(), text.data() + length, value);
    text.remove_prefix(length);
    return value;
}

}  // namespace

std::string FormatShortDate(std::chrono::sys_days date, char separator)
{
    const std::chrono::year_month_day ymd(date);
    char text[16];
    std::snprintf(text, sizeof text, "%02u%c%02u%c%04d", static_cast<unsigned>(ymd.day()), separator,
                  static_cast<unsigned>(ymd.month()), separator, static_cast<int>(ymd.year()));
    return text;
}

std::optional<std::chrono::sys_days> ParseShortDate(std::string_view text)
{
    const auto day = takeNumber(text, 1, 2);
    if (!day || text.empty() || isDigit(text.front()))
        return std::nullopt;
    const char separator = text.front();
    text.remove_prefix(1);
    const auto month = takeNumber(text, 1, 2);
    if (!month || text.empty() || text.front() != separator)
        return std::nullopt;
    text.remove_prefix(1);
    const auto year = takeNumber(text, 4, 4);
    if (!year || !text.empty())
        return std::nullopt;
    const std::chrono::year_month_day ymd{std::chrono::year(static_cast<int>(*year)), std::chrono::month(*month),
                                          std::chrono::day(*day)};
    if (!ymd.ok())
        return std::nullopt;
    return std::chrono::sys_days(ymd);
}

std::chrono::sys_days Clock::today() const
{
    if (fixedToday_)
        return *fixedToday_;
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return std::chrono::sys_days(std::chrono::year_month_day{std::chrono::year(local.tm_year + 1900),
                                                             std::chrono::month(static_cast<unsigned>(local.tm_mon + 1)),
                                                             std::chrono::day(static_cast<unsigned>(local.tm_mday))});
}

}  // namespace keystead
