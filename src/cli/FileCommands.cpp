#include "cli/FileCommands.h"

#include <iostream>

#include "cli/BackupCommands.h"
#include "cli/CliArguments.h"
#include "cli/CliLogon.h"
#include "cli/TextInput.h"
#include "exchange/ExportFile.h"
#include "session/LogonCheck.h"
#include "session/PasswordChange.h"
#include "store/KeysteadError.h"
#include "store/TextRules.h"

namespace keystead::cli {

namespace {

constexpr std::string_view kLogonPrompt = "Password: ";

// The export window's warning; --plain is the answer to its question.
constexpr std::string_view kPlainWarningText =
    "Data in a plain text export file is NOT encrypted. You should take steps to securely wipe the export file "
    "from your hard disk when you have finished with it.";

SecretText trimmed(const SecretText& typed)
{
    return SecretText(trimText(typed.get()));
}

}  // namespace

void RunExport(const CliArguments& arguments, const TextInput& input)
{
    const SecretText password = input.askPassword(kLogonPrompt);
    CliLogon logon(arguments, password.get());
    if (arguments.plain) {
        std::cerr << kPlainWarningText << '\n';
        WritePlainExport(logon.store(), logon.state(), arguments.out);
    } else {
        WriteEncryptedExport(logon.store(), logon.state(), arguments.out);
    }
    logon.close();
}

void RunImport(const CliArguments& arguments, const TextInput& input)
{
    const SecretText password = input.askPassword(kLogonPrompt);
    const SecretText filePassword = input.askPassword("Password of the export file: ");
    CliLogon logon(arguments, password.get());
    BackUpBeforeChange(logon.store().file(), std::cerr);
    ImportExportFile(logon.store(), logon.state(), arguments.file, filePassword.get(),
                     arguments.overwrite ? ImportMode::Overwrite : ImportMode::Add);
    logon.close();
}

// The dialog's checks in the dialog's order; the old password is the logon.
void RunPasswd(const CliArguments& arguments, const TextInput& input)
{
    const SecretText oldPassword = trimmed(input.askPassword("Old password: "));
    const SecretText newPassword = trimmed(input.askPassword("New password: "));
    const SecretText verify = trimmed(input.askPassword("Verify new password: "));
    const auto store = OpenStore(arguments);
    StoreSession session(*store);
    CheckUserName(*store, arguments.user);
    TDiamond diamond;
    const bool opens = !oldPassword.get().empty() && PasswordOpens(*store, arguments.user, oldPassword.get(), diamond);
    if (const auto refusal = CheckPasswordChange(oldPassword.get(), newPassword.get(), verify.get(),
                                                 opens ? std::string_view(oldPassword.get()) : std::string_view()))
        throw KeysteadError(std::string(refusal->message));
    SessionState state;
    state.CurrentUsername = arguments.user;
    state.LogonPassword = oldPassword.get();
    BackUpBeforeChange(store->file(), std::cerr);
    ChangeLogonPassword(*store, state, newPassword.get());
    session.close();
}

}  // namespace keystead::cli
