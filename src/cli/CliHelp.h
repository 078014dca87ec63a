#pragma once
// The texts of --help and --version; the manual page is made from them.

#include <string>

namespace keystead::cli {

// The tool's help without a command, a command's own help with one.
std::string HelpText(const std::string& command);
std::string VersionText();

}  // namespace keystead::cli
