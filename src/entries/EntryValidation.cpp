#include "entries/EntryValidation.h"

#include "store/TextRules.h"

namespace keystead {
namespace {

// A count of days must be a whole integer text above 0: "3a", "0" and "-5" are refused.
bool isDayCount(std::string_view text)
{
    const std::optional<int> days = parseInteger(text);
    return days && *days > 0;
}

std::optional<EntryRefusal> firstRefusal(EntryTexts& texts, bool expires, std::string_view noDescriptionText)
{
    if (texts.description.empty())
        return EntryRefusal{noDescriptionText, EntryInput::Description};
    if (texts.password.empty())
        return EntryRefusal{kNoPasswordText, EntryInput::Password};
    if (!expires)
        return std::nullopt;
    if (texts.expiration.empty())
        return EntryRefusal{kNoIntervalText, EntryInput::Expiration};
    if (!isDayCount(texts.expiration))
        return EntryRefusal{kBadIntervalText, EntryInput::Expiration};
    if (texts.daysTillExpiration.empty())
        texts.daysTillExpiration = texts.expiration;
    if (!isDayCount(texts.daysTillExpiration))
        return EntryRefusal{kBadDaysLeftText, EntryInput::DaysTillExpiration};
    return std::nullopt;
}

}  // namespace

EntryCheck CheckEntryTexts(const EntryTexts& typed, bool expires, std::string_view noDescriptionText)
{
    EntryCheck check{std::nullopt,
                     {trimText(typed.description), trimText(typed.username), trimText(typed.password),
                      typed.comments, expires ? trimText(typed.expiration) : std::string(),
                      expires ? trimText(typed.daysTillExpiration) : std::string()}};
    check.refusal = firstRefusal(check.texts, expires, noDescriptionText);
    return check;
}

}  // namespace keystead
