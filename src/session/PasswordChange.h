#pragma once
// The change of the logon password: every encrypted value of the user is keyed by it, so the
// change re-encrypts them all, in one store session, so that no interruption leaves some values
// under the old password and some under the new.

#include <optional>
#include <string_view>

#include "store/WorkProgress.h"

namespace keystead {

class RegistryStore;
struct SessionState;

enum class PasswordChangeInput { Old, New, Verify };

struct PasswordChangeRefusal {
    std::string_view message;
    PasswordChangeInput input;
};

// The checks before a change, in their order, on the three passwords trimmed as typed; none
// when the change may go ahead.
std::optional<PasswordChangeRefusal> CheckPasswordChange(std::string_view oldPassword, std::string_view newPassword,
                                                         std::string_view verify, std::string_view logonPassword);

// Rewrites MainPassword and every entry under newPassword and seals a sealed section anew under
// it; sets state.LogonPassword, and state.Seal holds the new key. A stored value
// that does not decrypt under the old password refuses the change, naming its entry, with nothing
// written.
void ChangeLogonPassword(RegistryStore& store, SessionState& state,
                         std::string_view newPassword, const Progress& progress = {});

}  // namespace keystead
