#pragma once
// The one error type of the program: it carries the text the user is shown.

#include <stdexcept>
#include <string>

namespace keystead {

class KeysteadError : public std::runtime_error {
public:
    explicit KeysteadError(const std::string& userText) : std::runtime_error(userText) {}
};

}  // namespace keystead
