#pragma once
// The commands that read or add entries: users, list, show, add, and clip, which copies one.

#include <ostream>

namespace keystead::cli {

struct CliArguments;
class TextInput;

class CliOutput;

void RunUsers(const CliArguments& arguments, const CliOutput& out);
void RunList(const CliArguments& arguments, const TextInput& input, const CliOutput& out);
// Entries that match alike are listed on err.
void RunShow(const CliArguments& arguments, const TextInput& input, const CliOutput& out, const CliOutput& err);
// Copies the entry's password or user name to the X clipboard and clears it after a while.
void RunClip(const CliArguments& arguments, const TextInput& input, const CliOutput& err);
void RunAdd(const CliArguments& arguments, const TextInput& input, std::ostream& out);

}  // namespace keystead::cli
