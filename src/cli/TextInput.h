#pragma once
// Where keystead-cli reads what it asks for: passwords from the terminal without echo, or one
// line each from standard input (--password-stdin, without echo too where that is a terminal);
// other texts from standard input. Every line is read byte by byte into a buffer that is wiped,
// so no stream buffer keeps a copy.

#include <string_view>

#include "crypto/SecretMemory.h"

namespace keystead::cli {

class TextInput {
public:
    explicit TextInput(bool passwordsFromStdin) : passwordsFromStdin_(passwordsFromStdin) {}

    // Shows the prompt on standard error; the answer without its line end. A missing line
    // throws UsageError, a line longer than 64 KiB KeysteadError.
    SecretText askPassword(std::string_view prompt) const;
    SecretText askLine(std::string_view prompt) const;

private:
    bool passwordsFromStdin_;
};

}  // namespace keystead::cli
