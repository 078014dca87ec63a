#include "mainwindow/ShortDate.h"

#include <charconv>
#include <cstdio>
#include <ctime>

namespace keystead {
namespace {

std::optional<unsigned> parseDigits(std::string_view text, std::size_t count)
{
    if (text.size() != count)
        return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
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

std::optional<std::chrono::sys_days> ParseShortDate(std::string_view text, char separator)
{
    if (text.size() != 10 || text[2] != separator || text[5] != separator)
        return std::nullopt;
    const auto day = parseDigits(text.substr(0, 2), 2);
    const auto month = parseDigits(text.substr(3, 2), 2);
    const auto year = parseDigits(text.substr(6, 4), 4);
    if (!day || !month || !year)
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
