#pragma once
// Keeping secrets out of what outlives their use: core dumps are switched off, and the bytes of
// passwords, key material and decrypted texts are overwritten before their memory is given back.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace keystead {

// No core file and no ptrace by other processes of the user for the rest of the run; the hard
// core limit is left as it was inherited.
void DisableCoreDumps() noexcept;

// Overwrites the bytes with zeros in a way the compiler may not drop as a dead store.
void WipeBytes(void* data, std::size_t size) noexcept;
// Overwrites the text's whole buffer and leaves it empty.
void WipeText(std::string& text) noexcept;

// Appends to a secret text; a buffer outgrown on the way is wiped before it is given back.
void AppendSecret(std::string& text, std::string_view more);

// A text that is wiped when it is released: a password read from the user, a decrypted value.
class SecretText {
public:
    SecretText() = default;
    explicit SecretText(std::string text) : text_(std::move(text)) {}
    ~SecretText() { WipeText(text_); }
    SecretText(SecretText&& other) noexcept : text_(std::move(other.text_)) {}
    SecretText(const SecretText&) = delete;
    SecretText& operator=(const SecretText&) = delete;
    SecretText& operator=(SecretText&&) = delete;

    const std::string& get() const { return text_; }
    std::string& get() { return text_; }

private:
    std::string text_;
};

}  // namespace keystead
