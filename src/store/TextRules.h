#pragma once
// Text rules shared by the store and the dialogs: trimming and the reading of integer texts.

#include <optional>
#include <string>
#include <string_view>

namespace keystead {

// The letter in lower case when it is an ASCII capital, whatever the locale; any other byte as it
// is. Section names and idents compare so.
char lowerAscii(char c);

// Whether two texts are equal when ASCII letters are compared without regard to case, as
// section names and idents are compared.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Removes every character with a code from 0 to 32 from both ends.
std::string trimText(std::string_view text);

// The integer a text holds when the whole text is one: an optional sign ("-" or "+") followed by
// decimal digits, within the range of int. Blanks, hexadecimal forms and any other character make
// it no integer.
std::optional<int> parseInteger(std::string_view text);

}  // namespace keystead
