#pragma once
// The key that opens a user's sealed section: Argon2id of the logon password under the user's own
// salt and cost, kept in locked memory and wiped when it goes, on a lock and on a password change.
// It seals each value under its section and ident, so a value moved to another name does not open.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace keystead {

// How a seal key is derived; stored open beside the sealed values.
struct SealParameters {
    std::string saltHex;        // 16 random bytes as 32 lower-case hex digits
    std::uint64_t ops = 0;      // Argon2id passes
    std::uint64_t memory = 0;   // Argon2id memory in bytes
};

class SealKey {
public:
    // Throws KeysteadError when the derivation cannot run (too little memory, bad parameters).
    SealKey(std::string_view logonPassword, SealParameters parameters);
    ~SealKey();
    SealKey(const SealKey&) = delete;
    SealKey& operator=(const SealKey&) = delete;

    const SealParameters& parameters() const { return parameters_; }
    bool wiped() const { return bytes_ == nullptr; }

    // The value's text sealed under a fresh random nonce, as printable text.
    std::string seal(std::string_view section, std::string_view ident, std::string_view text) const;
    // None when the stored text is no value sealed under this key for this name.
    std::optional<std::string> open(std::string_view section, std::string_view ident,
                                    std::string_view stored) const;
    // The same in place, for long lists: value, as stored, becomes its text in the room it has
    // (the text is shorter). False when it does not open; value then holds nothing usable.
    bool openInPlace(std::string_view section, std::string_view ident, std::string& value) const;

    // Forgets the key at once; a wiped key seals and opens nothing (KeysteadError).
    void wipe() noexcept;
    // The key again from the logon password, under the same salt and cost (after a lock).
    void rederive(std::string_view logonPassword);
    // Becomes other, which is left wiped: every holder of this key then uses the new one.
    void takeFrom(SealKey& other) noexcept;

private:
    void requireKey() const;

    SealParameters parameters_;
    unsigned char* bytes_ = nullptr;   // in locked memory from sodium_malloc
};

// A fresh random salt in its stored form.
std::string newSealSalt();

// Runs libsodium's one-time start; throws KeysteadError when it cannot start.
void startSodium();

}  // namespace keystead
