#include "cli/CliLogon.h"

#include "cli/CliArguments.h"
#include "session/LogonCheck.h"
#include "store/DataUpgrade.h"
#include "store/KeysteadError.h"
#include "store/StoreSeal.h"
#include "store/TextRules.h"

namespace keystead::cli {

namespace {

// The logon window asks whether to create the user; a script cannot answer, so the question
// becomes a refusal.
constexpr std::string_view kNoSuchUserText = "Your username does not exist.";

[[noreturn]] void refuse(std::string_view message)
{
    throw KeysteadError(std::string(message == kUnknownUserText ? kNoSuchUserText : message));
}

// The window program upgrades earlier data after asking; here it is left to the window.
void checkUpgraded(RegistryStore& store, const std::string& user)
{
    if (needsUpgrade(store.ReadInteger(user, "MajorVersion", 0), store.ReadInteger(user, "TotalPasswords", 0)))
        throw KeysteadError("Data from your previous version of Keystead must be updated before you can use "
                            "this new version. Log on once in Keystead to perform the update.");
}

}  // namespace

std::unique_ptr<RegistryStore> OpenStore(const CliArguments& arguments)
{
    return RegistryStore::OpenExistingFile(arguments.store.empty() ? RegistryStore::DefaultFile() : arguments.store);
}

void CheckUserName(RegistryStore& store, const std::string& name)
{
    if (name.empty())
        refuse(kNoUsernameText);
    if (!store.UserExists(name))
        refuse(kUnknownUserText);
}

CliLogon::CliLogon(const CliArguments& arguments, std::string_view typedPassword)
    : store_(OpenStore(arguments)), session_(*store_)
{
    const SecretText password(trimText(typedPassword));
    if (const auto refusal = CheckLogon(*store_, arguments.user, password.get(), diamond_))
        refuse(refusal->message);
    checkUpgraded(*store_, arguments.user);
    // As at the window's logon: a section not sealed yet is sealed now, with the command's work.
    SealUser(*store_, arguments.user, password.get());
    state_.CurrentUsername = arguments.user;
    state_.LogonPassword = password.get();
    state_.Seal = OpenedSeal(*store_, arguments.user);
    state_.PasswordCount = store_->ReadInteger(arguments.user, "TotalPasswords", 0);
}

}  // namespace keystead::cli
