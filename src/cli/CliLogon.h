#pragma once
// The logon of one keystead-cli command: the store opened, one store session begun, and the
// logon window's checks run on --user and the password asked.

#include <memory>
#include <string>
#include <string_view>

#include "crypto/Diamond.h"
#include "store/RegistryStore.h"
#include "store/SessionState.h"
#include "store/StoreSession.h"

namespace keystead::cli {

struct CliArguments;

// The store of --store, or the one the window program uses. It must exist: no command of the tool
// can make a user, so a store it created would only hide a mistyped path.
std::unique_ptr<RegistryStore> OpenStore(const CliArguments& arguments);

// The logged-on user within one store session, which ends (committed) with close().
class CliLogon {
public:
    // typedPassword is trimmed as the logon window trims it. Throws KeysteadError with the logon
    // window's message when the checks refuse.
    CliLogon(const CliArguments& arguments, std::string_view typedPassword);

    RegistryStore& store() { return *store_; }
    SessionState& state() { return state_; }
    const TDiamond& diamond() const { return diamond_; }
    void close() { session_.close(); }

private:
    std::unique_ptr<RegistryStore> store_;
    StoreSession session_;
    SessionState state_;
    TDiamond diamond_;
};

// The name refusal both the logon and the password change give.
void CheckUserName(RegistryStore& store, const std::string& name);

}  // namespace keystead::cli
