// Texts and order of the password list, and the short date form of the countdown.

#include "mainwindow/ShortDate.h"
#include "store/PasswordListRules.h"

#include <gtest/gtest.h>

namespace keystead {
namespace {

using namespace std::chrono;

TEST(ExpiryTextTest, EveryRangeOfDaysLeft)
{
    EXPECT_EQ(ExpiryText(""), "");
    EXPECT_EQ(ExpiryText("12"), "Expires in 12 Days");
    EXPECT_EQ(ExpiryText("2"), "Expires in 2 Days");
    EXPECT_EQ(ExpiryText("1"), "Expires in 1 Day");
    EXPECT_EQ(ExpiryText("0"), "Expired Today");
    EXPECT_EQ(ExpiryText("-1"), "Expired 1 Day Ago");
    EXPECT_EQ(ExpiryText("-7"), "Expired 7 Days Ago");
    EXPECT_EQ(ExpiryText("-2147483648"), "Expired 2147483648 Days Ago");
}

TEST(ExpiryTextTest, DamagedValuesMeanNoExpiry)
{
    for (const char* damaged : {"3a", "abc", " 5", "5 ", "1.5", "99999999999", "0x10"}) {
        EXPECT_EQ(ExpiryText(damaged), "") << damaged;
        EXPECT_EQ(CountDown(damaged, 3), std::nullopt) << damaged;
    }
}

TEST(CountDownTest, LowersByElapsedDaysAndRaisesForAFutureDate)
{
    EXPECT_EQ(CountDown("5", 3), "2");
    EXPECT_EQ(CountDown("5", 0), "5");
    EXPECT_EQ(CountDown("1", 8), "-7");
    EXPECT_EQ(CountDown("-4", -6), "2");
    EXPECT_EQ(CountDown("-2147483647", 10), "-2147483647");
    EXPECT_EQ(CountDown("", 3), std::nullopt);
}

TEST(CompareListKeysTest, AsciiCaseOnlyAndUnsignedBytes)
{
    EXPECT_EQ(CompareListKeys("Bank", "bank"), 0);
    EXPECT_EQ(CompareListKeys("apple", "Zebra"), -1);
    EXPECT_EQ(CompareListKeys("Zebra", "apple"), 1);
    EXPECT_EQ(CompareListKeys("mail", "mailbox"), -1);
    EXPECT_EQ(CompareListKeys("", ""), 0);
    // Bytes above 127 sort after every ASCII letter, and their case is not folded.
    EXPECT_EQ(CompareListKeys("\xc3\x89t\xc3\xa9", "zoo"), 1);
    EXPECT_EQ(CompareListKeys("\xc3\x89", "\xc3\xa9"), -1);
    // '_' lies between the upper and the lower case letters in byte order.
    EXPECT_EQ(CompareListKeys("_", "a"), -1);
    EXPECT_EQ(CompareListKeys("_", "A"), -1);
}

TEST(StatusTextTest, SingularOnlyForOne)
{
    EXPECT_EQ(PasswordCountText(0), "0 passwords in list");
    EXPECT_EQ(PasswordCountText(1), "1 password in list");
    EXPECT_EQ(PasswordCountText(12), "12 passwords in list");
}

TEST(ExpiredWarningTest, OneDescriptionPerLine)
{
    EXPECT_EQ(ExpiredWarningText({"Bank", "Mail"}),
              "The following passwords have expired:\r\n\r\nBank\r\nMail\r\n");
}

TEST(ShortDateTest, FormatsAndParsesTheProcessForm)
{
    const sys_days date = sys_days(year(2026) / 3 / 7);
    EXPECT_EQ(FormatShortDate(date, '/'), "07/03/2026");
    EXPECT_EQ(FormatShortDate(date, '.'), "07.03.2026");
    EXPECT_EQ(ParseShortDate("07/03/2026"), date);
    EXPECT_EQ(ParseShortDate("29/02/2024"), sys_days(year(2024) / 2 / 29));
}

// A date written while another locale was in force must still count the days down.
TEST(ShortDateTest, ReadsADateWrittenUnderAnyLocale)
{
    const sys_days date = sys_days(year(2026) / 3 / 7);
    for (const char* text : {"07.03.2026", "07-03-2026", "07 03 2026", "7/3/2026", "7.03.2026", "07-3-2026"})
        EXPECT_EQ(ParseShortDate(text), date) << text;
}

TEST(ShortDateTest, AnythingElseIsNoDate)
{
    for (const char* text : {"", "31/02/2026", "07/13/2026", "00/01/2026", "aa/bb/cccc", "07/03/2026 ", "2026-03-07",
                             "07/03.2026", "007/03/2026", "07/03/26", "07//03/2026", "/07/03/2026"})
        EXPECT_EQ(ParseShortDate(text), std::nullopt) << text;
}

TEST(ClockTest, FixedTodayForTests)
{
    Clock clock;
    const sys_days date = sys_days(year(2030) / 1 / 1);
    clock.fixToday(date);
    EXPECT_EQ(clock.today(), date);
}

}  // namespace
}  // namespace keystead
