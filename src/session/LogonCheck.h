#pragma once
// The logon's checks on a typed name and password, in their order and with their messages,
// shared by the logon window and keystead-cli.

#include <optional>
#include <string>
#include <string_view>

namespace keystead {

class RegistryStore;
class TDiamond;

enum class LogonInput { Username, Password };

struct LogonRefusal {
    std::string_view message;
    LogonInput input;
};

inline constexpr std::string_view kNoUsernameText = "You must enter a username.";
inline constexpr std::string_view kNoLogonPasswordText = "You must enter a password.";
inline constexpr std::string_view kWrongLogonPasswordText = "Your password is incorrect.";
inline constexpr std::string_view kUnknownUserText =
    "Your username does not exist. Would you like to create a new user?";

// The user's section holds the user's own name encrypted under the logon password; only the
// right password gives the name back, letter case and all. Leaves diamond keyed by password and
// a sealed section open for this store.
bool PasswordOpens(RegistryStore& store, const std::string& name, std::string_view password, TDiamond& diamond);

// name and password trimmed as typed. A name the store does not hold is refused with
// kUnknownUserText, which the logon window turns into its question.
std::optional<LogonRefusal> CheckLogon(RegistryStore& store, const std::string& name, std::string_view password,
                                       TDiamond& diamond);

}  // namespace keystead
