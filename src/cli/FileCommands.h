#pragma once
// The commands on whole lists and on the logon password: export, import and passwd.

namespace keystead::cli {

struct CliArguments;
class TextInput;

void RunExport(const CliArguments& arguments, const TextInput& input);
void RunImport(const CliArguments& arguments, const TextInput& input);
void RunPasswd(const CliArguments& arguments, const TextInput& input);

}  // namespace keystead::cli
