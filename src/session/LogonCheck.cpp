#include "session/LogonCheck.h"

#include "crypto/Diamond.h"
#include "crypto/SecretMemory.h"
#include "store/RegistryStore.h"

namespace keystead {

bool PasswordOpens(RegistryStore& store, const std::string& name, std::string_view password, TDiamond& diamond)
{
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
