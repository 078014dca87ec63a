#include "session/LogonCheck.h"

#include "crypto/Diamond.h"
#include "crypto/SecretMemory.h"
#include "store/KeysteadError.h"
#include "store/RegistryStore.h"
#include "store/StoreSeal.h"

namespace keystead {

namespace {

// A seal the password does not open is a wrong password like any other.
bool sealOpens(RegistryStore& store, const std::string& name, std::string_view password)
{
    try {
        OpenSeal(store, name, password);
        return true;
    } catch (const KeysteadError& error) {
        if (error.what() != kWrongLogonPasswordText)
            throw;
        return false;
    }
}

}  // namespace

bool PasswordOpens(RegistryStore& store, const std::string& name, std::string_view password, TDiamond& diamond)
{
    if (!sealOpens(store, name, password))
        return false;
    const std::string stored = store.ReadString(name, "MainPassword", "");
    diamond.SetKey(password);
    SecretText opened(diamond.DecryptCipherString(stored));
    return opened.get() == name;
}

std::optional<LogonRefusal> CheckLogon(RegistryStore& store, const std::string& name, std::string_view password,
                                       TDiamond& diamond)
{
    if (name.empty())
        return LogonRefusal{kNoUsernameText, LogonInput::Username};
    if (!store.UserExists(name))
        return LogonRefusal{kUnknownUserText, LogonInput::Username};
    if (password.empty())
        return LogonRefusal{kNoLogonPasswordText, LogonInput::Password};
    if (!PasswordOpens(store, name, password, diamond))
        return LogonRefusal{kWrongLogonPasswordText, LogonInput::Password};
    return std::nullopt;
}

}  // namespace keystead
