#include "store/RegistryText.h"

#include <windows.h>

#include <climits>

#include "store/KeysteadError.h"

namespace keystead {

namespace {

constexpr UINT kWindows1252 = 1252;

int checkedLength(std::size_t size) {
    if (size > static_cast<std::size_t>(INT_MAX / 4)) {
        throw KeysteadError("The text is too long for the registry");
    }
    return static_cast<int>(size);
}

std::wstring decoded(UINT codePage, DWORD flags, std::string_view text) {
    const int length = checkedLength(text.size());
    const int wide = MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (wide <= 0) {
        return {};
    }
    std::wstring result(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(codePage, flags, text.data(), length, result.data(), wide);
    return result;
}

}  // namespace

std::wstring wideText(std::string_view text) {
    if (text.empty()) {
        return {};
    }
    std::wstring result = decoded(CP_UTF8, MB_ERR_INVALID_CHARS, text);
    return result.empty() ? decoded(kWindows1252, 0, text) : result;
}

std::string utf8Text(std::wstring_view text) {
    if (text.empty()) {
        return {};
    }
    const int length = checkedLength(text.size());
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(bytes > 0 ? bytes : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, result.data(), bytes, nullptr, nullptr);
    return result;
}

std::wstring foldedName(std::wstring_view name) {
    std::wstring folded(name);
    if (!folded.empty()) {
        const int length = checkedLength(folded.size());
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, folded.data(), length,
                      folded.data(), length, nullptr, nullptr, 0);
    }
    return folded;
}

}  // namespace keystead
