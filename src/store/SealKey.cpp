#include "store/SealKey.h"

#include <sodium.h>

#include <array>
#include <utility>

#include "store/KeysteadError.h"
#include "store/TextRules.h"

namespace keystead {

namespace {

constexpr std::size_t kKeyBytes = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
constexpr std::size_t kNonceBytes = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr std::size_t kTagBytes = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr int kBase64 = sodium_base64_VARIANT_ORIGINAL;

// Names compare without regard to ASCII letter case in the store, so they do here: ASCII only,
// whatever the locale, so that the program and the command-line tool, and one machine and the
// next, seal a name alike.
void associatedData(std::string_view section, std::string_view ident, std::string& data) {
    data.clear();
    for (const char c : section) {
        data += lowerAscii(c);
    }
    data += '\0';   // a section name never holds a control character
    for (const char c : ident) {
        data += lowerAscii(c);
    }
}

std::string associatedData(std::string_view section, std::string_view ident) {
    std::string data;
    data.reserve(section.size() + ident.size() + 1);
    associatedData(section, ident, data);
    return data;
}

const unsigned char* bytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

std::array<unsigned char, crypto_pwhash_SALTBYTES> saltBytes(const std::string& saltHex) {
    std::array<unsigned char, crypto_pwhash_SALTBYTES> salt{};
    std::size_t length = 0;
    if (saltHex.size() != 2 * salt.size() ||
        sodium_hex2bin(salt.data(), salt.size(), saltHex.data(), saltHex.size(), nullptr, &length,
                       nullptr) != 0 ||
        length != salt.size()) {
        throw KeysteadError("The seal of the store holds no valid salt.");
    }
    return salt;
}

std::string base64(const std::string& bytes) {
    std::string text(sodium_base64_ENCODED_LEN(bytes.size(), kBase64), '\0');
    sodium_bin2base64(text.data(), text.size(), bytesOf(bytes), bytes.size(), kBase64);
    text.resize(text.size() - 1);   // the terminating zero
    return text;
}

// Into bytes, whose room is kept from one value to the next.
bool fromBase64(std::string_view text, std::string& bytes) {
    bytes.resize(text.size());
    std::size_t length = 0;
    const char* end = nullptr;
    if (sodium_base642bin(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size(), text.data(),
                          text.size(), nullptr, &length, &end, kBase64) != 0 ||
        end != text.data() + text.size()) {
        return false;
    }
    bytes.resize(length);
    return true;
}

}  // namespace

void startSodium() {
    if (sodium_init() < 0) {
        throw KeysteadError("The cryptographic library could not be started.");
    }
}

std::string newSealSalt() {
    startSodium();
    std::array<unsigned char, crypto_pwhash_SALTBYTES> salt{};
    randombytes_buf(salt.data(), salt.size());
    std::string hex(2 * salt.size() + 1, '\0');
    sodium_bin2hex(hex.data(), hex.size(), salt.data(), salt.size());
    hex.pop_back();
    return hex;
}

SealKey::SealKey(std::string_view logonPassword, SealParameters parameters)
    : parameters_(std::move(parameters)) {
    rederive(logonPassword);
}

SealKey::~SealKey() {
    wipe();
}

void SealKey::wipe() noexcept {
    sodium_free(bytes_);   // zeroes the memory before giving it back
    bytes_ = nullptr;
}

void SealKey::rederive(std::string_view logonPassword) {
    startSodium();
    const auto salt = saltBytes(parameters_.saltHex);
    if (parameters_.ops < crypto_pwhash_argon2id_OPSLIMIT_MIN ||
        parameters_.ops > crypto_pwhash_argon2id_OPSLIMIT_MAX ||
        parameters_.memory < crypto_pwhash_argon2id_MEMLIMIT_MIN ||
        parameters_.memory > crypto_pwhash_argon2id_MEMLIMIT_MAX) {
        throw KeysteadError("The seal of the store holds no valid cost.");
    }
    auto* const bytes = static_cast<unsigned char*>(sodium_malloc(kKeyBytes));
    if (bytes == nullptr) {
        throw KeysteadError("There is not enough memory to open the store's seal.");
    }
    if (crypto_pwhash(bytes, kKeyBytes, logonPassword.data(), logonPassword.size(), salt.data(),
                      parameters_.ops, static_cast<std::size_t>(parameters_.memory),
                      crypto_pwhash_ALG_ARGON2ID13) != 0) {
        sodium_free(bytes);
        throw KeysteadError("There is not enough memory to open the store's seal.");
    }
    wipe();
    bytes_ = bytes;
}

void SealKey::takeFrom(SealKey& other) noexcept {
    wipe();
    parameters_ = other.parameters_;
    bytes_ = std::exchange(other.bytes_, nullptr);
}

void SealKey::requireKey() const {
    if (wiped()) {
        throw KeysteadError("The store is locked; log on again to use it.");
    }
}

std::string SealKey::seal(std::string_view section, std::string_view ident,
                          std::string_view text) const {
    requireKey();
    const std::string data = associatedData(section, ident);
    std::string sealed(kNonceBytes + text.size() + kTagBytes, '\0');
    auto* const out = reinterpret_cast<unsigned char*>(sealed.data());
    randombytes_buf(out, kNonceBytes);
    unsigned long long length = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(out + kNonceBytes, &length, bytesOf(text),
                                               text.size(), bytesOf(data), data.size(), nullptr,
                                               out, bytes_);
    return base64(sealed);
}

std::optional<std::string> SealKey::open(std::string_view section, std::string_view ident,
                                         std::string_view stored) const {
    std::string value(stored);
    if (!openInPlace(section, ident, value)) {
        return std::nullopt;
    }
    return value;
}

bool SealKey::openInPlace(std::string_view section, std::string_view ident, std::string& value) const {
    requireKey();
    // A long list opens hundreds of thousands of values, on two threads: each thread keeps the
    // room for the sealed bytes and the names. Neither holds anything secret.
    thread_local std::string sealed;
    thread_local std::string data;
    if (!fromBase64(value, sealed) || sealed.size() < kNonceBytes + kTagBytes) {
        return false;
    }
    associatedData(section, ident, data);
    const auto* const in = bytesOf(sealed);
    // The text is shorter than its sealed form: it takes the value's own room.
    value.resize(sealed.size() - kNonceBytes - kTagBytes);
    unsigned long long length = 0;
    return crypto_aead_xchacha20poly1305_ietf_decrypt(
               reinterpret_cast<unsigned char*>(value.data()), &length, nullptr, in + kNonceBytes,
               sealed.size() - kNonceBytes, bytesOf(data), data.size(), in, bytes_) == 0;
}

}  // namespace keystead
