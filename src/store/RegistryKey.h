#pragma once
// An open registry key, closed when released; the Windows store's handle on its key and sections.

#include <windows.h>

#include <utility>

namespace keystead {

class RegistryKey {
public:
    RegistryKey() = default;
    explicit RegistryKey(HKEY key) : key_(key) {}
    ~RegistryKey() { close(); }
    RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept {
        if (this != &other) {
            close();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

private:
    void close() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }

    HKEY key_ = nullptr;
};

}  // namespace keystead
