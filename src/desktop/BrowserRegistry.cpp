#include "desktop/BrowserRegistry.h"

#include <vector>

#include "store/RegistryText.h"

namespace keystead {

namespace {

// The whole default value, however long; the registry's wide calls, so a class or a program path
// outside the ANSI code page is read as it is.
std::optional<std::wstring> defaultValue(HKEY root, const std::wstring& subkey) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::optional<std::wstring> text;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        (type == REG_SZ || type == REG_EXPAND_SZ)) {
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
        DWORD got = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        if (RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                             &got) == ERROR_SUCCESS) {
            text = std::wstring(buffer.data());
        }
    }
    RegCloseKey(key);
    return text;
}

}  // namespace

std::optional<std::string> registeredBrowserCommand(HKEY classesRoot) {
    const auto pageClass = defaultValue(classesRoot, L".htm");
    if (!pageClass || pageClass->empty()) {
        return std::nullopt;
    }
    const auto command = defaultValue(classesRoot, *pageClass + L"\\shell\\open\\command");
    if (!command) {
        return std::nullopt;
    }
    return utf8Text(*command);
}

}  // namespace keystead
