#pragma once
// The text keystead-cli clip offers, in the encodings X programs ask for: UTF-8, read from the
// stored bytes as the program's forms read them, and Latin-1 where every character has one. Both
// are wiped with the object.

#include <string>
#include <string_view>

#include "crypto/SecretMemory.h"

namespace keystead::cli {

class SelectionText {
public:
    // Bytes that are not valid UTF-8 (older data in the Windows ANSI code page) are read as
    // Windows-1252.
    explicit SelectionText(std::string_view stored);

    const std::string& utf8() const { return utf8_.get(); }
    // Null when a character has no Latin-1 code: that text is not offered as Latin-1 at all,
    // since a password with a character lost would paste as another password.
    const std::string* latin1() const { return hasLatin1_ ? &latin1_.get() : nullptr; }

private:
    void add(char32_t character);

    SecretText utf8_;
    SecretText latin1_;
    bool hasLatin1_ = true;
};

}  // namespace keystead::cli
