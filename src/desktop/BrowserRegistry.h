#pragma once
// Windows: the browser command registered for web pages, read below a classes root that is
// HKEY_CLASSES_ROOT for the program and a scratch key for the tests.

#include <windows.h>

#include <optional>
#include <string>

namespace keystead {

// The default value of "<class>\shell\open\command", where <class> is the default value of
// ".htm"; none when either key cannot be opened or holds no text.
std::optional<std::string> registeredBrowserCommand(HKEY classesRoot);

}  // namespace keystead
