// The checks of the entry dialogs on texts alone: their order, the field each sends the user
// to, trimming, and the current days taken from the interval.

#include "entries/EntryValidation.h"

#include <gtest/gtest.h>

namespace keystead {
namespace {

EntryTexts typed(std::string description, std::string password, std::string interval = "",
                 std::string current = "")
{
    return {std::move(description), " user\t", std::move(password), "  notes \r\n", std::move(interval),
            std::move(current)};
}

void expectRefused(const EntryTexts& texts, bool expires, std::string_view message, EntryInput input)
{
    const EntryCheck check = CheckEntryTexts(texts, expires, kNoSystemNameText);
    ASSERT_TRUE(check.refusal.has_value()) << message;
    EXPECT_EQ(check.refusal->message, message);
    EXPECT_EQ(check.refusal->input, input) << message;
}

TEST(EntryValidationTest, ChecksRunInTheirOrder)
{
    expectRefused(typed("", "", "x", "x"), true, kNoSystemNameText, EntryInput::Description);
    expectRefused(typed("\x01\x1f ", "pw"), false, kNoSystemNameText, EntryInput::Description);
    expectRefused(typed("Bank", " \r\n", "x", "x"), true, kNoPasswordText, EntryInput::Password);
    expectRefused(typed("Bank", "pw", " ", "x"), true, kNoIntervalText, EntryInput::Expiration);
    expectRefused(typed("Bank", "pw", "0", "x"), true, kBadIntervalText, EntryInput::Expiration);
    expectRefused(typed("Bank", "pw", "30", "x"), true, kBadDaysLeftText, EntryInput::DaysTillExpiration);
}

TEST(EntryValidationTest, TheFirstMessageIsTheDialogsOwn)
{
    const EntryCheck check = CheckEntryTexts(typed(" ", "pw"), false, kNoDescriptionText);
    ASSERT_TRUE(check.refusal.has_value());
    EXPECT_EQ(check.refusal->message, "You must enter a description.");
}

TEST(EntryValidationTest, DayCountsAreWholeNumbersAboveZero)
{
    for (const char* bad : {"0", "-5", "3a", "a3", "1.5", "0x1", "+", "-", "--1", "1 2", "99999999999"})
        expectRefused(typed("Bank", "pw", bad, "5"), true, kBadIntervalText, EntryInput::Expiration);
    for (const char* bad : {"0", "-1", "2b", "+-2"})
        expectRefused(typed("Bank", "pw", "30", bad), true, kBadDaysLeftText, EntryInput::DaysTillExpiration);
    for (const char* good : {"1", "999", "+5", "007", " 12\t"}) {
        const EntryCheck check = CheckEntryTexts(typed("Bank", "pw", good, good), true, kNoSystemNameText);
        EXPECT_FALSE(check.refusal.has_value()) << good;
    }
}

TEST(EntryValidationTest, AcceptedTextsAreTrimmedButTheComments)
{
    const EntryCheck check = CheckEntryTexts(typed(" Bank\t", "\npw ", " 30 ", " 4"), true, kNoSystemNameText);
    ASSERT_FALSE(check.refusal.has_value());
    EXPECT_EQ(check.texts.description, "Bank");
    EXPECT_EQ(check.texts.username, "user");
    EXPECT_EQ(check.texts.password, "pw");
    EXPECT_EQ(check.texts.comments, "  notes \r\n");
    EXPECT_EQ(check.texts.expiration, "30");
    EXPECT_EQ(check.texts.daysTillExpiration, "4");
}

TEST(EntryValidationTest, EmptyCurrentDaysTakeTheTrimmedInterval)
{
    const EntryCheck check = CheckEntryTexts(typed("Bank", "pw", " 30\t", " \t"), true, kNoSystemNameText);
    ASSERT_FALSE(check.refusal.has_value());
    EXPECT_EQ(check.texts.expiration, "30");
    EXPECT_EQ(check.texts.daysTillExpiration, "30");
}

TEST(EntryValidationTest, AnEntryThatDoesNotExpireHasNoExpirationValues)
{
    const EntryCheck check = CheckEntryTexts(typed("Bank", "pw", "0", "x"), false, kNoSystemNameText);
    ASSERT_FALSE(check.refusal.has_value());
    EXPECT_EQ(check.texts.expiration, "");
    EXPECT_EQ(check.texts.daysTillExpiration, "");
}

}  // namespace
}  // namespace keystead
