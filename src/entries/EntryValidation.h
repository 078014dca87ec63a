#pragma once
// The checks the entry dialogs run on Done, on the typed texts alone: their order, their
// messages, the field to correct, and the texts as they are then saved.

#include "store/EntryStore.h"

#include <optional>
#include <string_view>

namespace keystead {

// The fields a refused entry sends the user back to.
enum class EntryInput { Description, Password, Expiration, DaysTillExpiration };

struct EntryRefusal {
    std::string_view message;
    EntryInput input;
};

struct EntryCheck {
    std::optional<EntryRefusal> refusal;   // the first check that failed; none: save texts
    // Trimmed, the comments as typed; empty current days take the interval; no expiration
    // values when the entry does not expire.
    EntryTexts texts;
};

inline constexpr std::string_view kNoSystemNameText = "You must enter a system name.";
inline constexpr std::string_view kNoDescriptionText = "You must enter a description.";
inline constexpr std::string_view kNoPasswordText = "You must enter a password.";
inline constexpr std::string_view kNoIntervalText = "You must specify the expiration interval.";
inline constexpr std::string_view kBadIntervalText = "The expiration interval must be a number greater than zero.";
inline constexpr std::string_view kBadDaysLeftText =
    "The current days till expiration must be a number greater than zero.";

// typed: the dialog's texts as typed. expires: the expiration box is checked. noDescriptionText:
// the first message, which the new-entry and the edit dialog word differently.
EntryCheck CheckEntryTexts(const EntryTexts& typed, bool expires, std::string_view noDescriptionText);

}  // namespace keystead
