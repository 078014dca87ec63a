#pragma once
// The commands that read or add entries: users, list, show and add.

#include <ostream>

namespace keystead::cli {

struct CliArguments;
class TextInput;

void RunUsers(const CliArguments& arguments, std::ostream& out);
void RunList(const CliArguments& arguments, const TextInput& input, std::ostream& out);
void RunShow(const CliArguments& arguments, const TextInput& input, std::ostream& out);
void RunAdd(const CliArguments& arguments, const TextInput& input, std::ostream& out);

}  // namespace keystead::cli
