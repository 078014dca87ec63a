#pragma once
// The Windows store's calls that change the registry, each first asking RegistryWriteFault
// whether a test refuses it, and the exact reading of a value as the registry holds it.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "store/RegistryKey.h"

namespace keystead {

// A value's type and bytes as stored, whatever its type.
struct RawValue {
    DWORD type = REG_SZ;
    std::vector<BYTE> bytes;
};

// Opens the section below root for access, creating it when missing; empty on failure, with
// the error in rc.
RegistryKey createSectionKey(HKEY root, const std::wstring& name, REGSAM access, LONG& rc);
// Removes a section key that has no subkeys, with its values.
LONG deleteSectionKey(HKEY root, const std::wstring& name);
LONG setRawValue(HKEY key, const std::wstring& ident, const RawValue& value);
// A REG_SZ value with its terminating NUL.
LONG setTextValue(HKEY key, const std::wstring& ident, const std::wstring& text);
// A value already missing counts as deleted.
LONG deleteRegistryValue(HKEY key, const std::wstring& ident);

// Sets value to the value as stored, or to none when it is missing; the error code of a failed read.
LONG readRawValue(HKEY key, const std::wstring& ident, std::optional<RawValue>& value);

}  // namespace keystead
