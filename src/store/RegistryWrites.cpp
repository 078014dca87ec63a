#include "store/RegistryWrites.h"

#include "store/RegistryWriteFault.h"

namespace keystead {

namespace registryFault {

namespace {

struct FaultPlan {
    int position = 0;   // 0: nothing is refused
    Refuse how = Refuse::Once;
    int count = 0;
    bool fired = false;
};

FaultPlan& plan() {
    static FaultPlan current;
    return current;
}

}  // namespace

void refuseWriteAt(int position, Refuse how) {
    plan() = {position, how, 0, false};
}

void stopRefusing() {
    plan() = {};
}

bool refused() {
    return plan().fired;
}

bool refuseThisWrite() {
    FaultPlan& current = plan();
    if (current.position == 0) {
        return false;
    }
    ++current.count;
    const bool refuse = current.count == current.position ||
                        (current.how == Refuse::FromThenOn && current.count > current.position);
    current.fired = current.fired || refuse;
    return refuse;
}

}  // namespace registryFault

RegistryKey createSectionKey(HKEY root, const std::wstring& name, REGSAM access, LONG& rc) {
    if (registryFault::refuseThisWrite()) {
        rc = ERROR_ACCESS_DENIED;
        return {};
    }
    HKEY opened = nullptr;
    rc = RegCreateKeyExW(root, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                         &opened, nullptr);
    return rc == ERROR_SUCCESS ? RegistryKey(opened) : RegistryKey();
}

LONG deleteSectionKey(HKEY root, const std::wstring& name) {
    if (registryFault::refuseThisWrite()) {
        return ERROR_ACCESS_DENIED;
    }
    return RegDeleteKeyW(root, name.c_str());
}

LONG setRawValue(HKEY key, const std::wstring& ident, const RawValue& value) {
    if (registryFault::refuseThisWrite()) {
        return ERROR_ACCESS_DENIED;
    }
    return RegSetValueExW(key, ident.c_str(), 0, value.type, value.bytes.data(),
                          static_cast<DWORD>(value.bytes.size()));
}

LONG setTextValue(HKEY key, const std::wstring& ident, const std::wstring& text) {
    if (registryFault::refuseThisWrite()) {
        return ERROR_ACCESS_DENIED;
    }
    const auto bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, ident.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), bytes);
}

LONG deleteRegistryValue(HKEY key, const std::wstring& ident) {
    if (registryFault::refuseThisWrite()) {
        return ERROR_ACCESS_DENIED;
    }
    const LONG rc = RegDeleteValueW(key, ident.c_str());
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}

LONG readRawValue(HKEY key, const std::wstring& ident, std::optional<RawValue>& value) {
    for (;;) {
        RawValue raw;
        DWORD size = 0;
        LONG rc = RegQueryValueExW(key, ident.c_str(), nullptr, &raw.type, nullptr, &size);
        if (rc == ERROR_FILE_NOT_FOUND) {
            value.reset();
            return ERROR_SUCCESS;
        }
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
        raw.bytes.resize(size);
        rc = RegQueryValueExW(key, ident.c_str(), nullptr, &raw.type, raw.bytes.data(), &size);
        if (rc == ERROR_MORE_DATA) {
            continue;   // changed meanwhile by another instance
        }
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
        raw.bytes.resize(size);
        value = std::move(raw);
        return ERROR_SUCCESS;
    }
}

}  // namespace keystead
