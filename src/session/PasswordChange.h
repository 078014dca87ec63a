#pragma once
// The change of the logon password: every encrypted value of the user is keyed by it, so the
// change re-encrypts them all, in one store session, so that no interruption leaves some values
// under the old password and some under the new.

#include <string_view>

#include "store/WorkProgress.h"

namespace keystead {

class RegistryStore;
struct SessionState;

// Rewrites MainPassword and every entry under newPassword; sets state.LogonPassword.
void ChangeLogonPassword(RegistryStore& store, SessionState& state,
                         std::string_view newPassword, const Progress& progress = {});

}  // namespace keystead
