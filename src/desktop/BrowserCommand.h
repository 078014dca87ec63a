#pragma once
// The command line that opens an address in the browser registered for web pages, made from the
// command Windows keeps for the ".htm" class.

#include <string>
#include <string_view>

namespace keystead {

// Cuts the registered command just before its placeholder, "%1" in double quotes or else a bare
// %1, and appends a blank and the address; a command without a placeholder keeps all of it.
std::string browserCommandLine(std::string_view registeredCommand, std::string_view url);

}  // namespace keystead
