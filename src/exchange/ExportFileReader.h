#pragma once
// The reading of an export file for the import, wholly in memory and apart from the store: its
// head checked against the file's password, and every entry decrypted and verified, so that a
// file is refused before anything of it is stored.

#include <string>
#include <string_view>
#include <vector>

#include "crypto/SecretMemory.h"

namespace keystead {

class TDiamond;

// The fixed lines of the encrypted form, and the end of every line.
inline constexpr std::string_view kExportVersionLine = "VERSION 3.0.0";
inline constexpr std::string_view kExportCheckText = "Keystead";   // the check token's text
inline constexpr std::string_view kExportEndLine = "*** End Password Information ***";
inline constexpr std::string_view kExportLineEnd = "\r\n";

// The refusals of an import, as the user reads them; either leaves the store untouched.
inline constexpr std::string_view kWrongFilePasswordText =
    "The password is incorrect or the password list is corrupt. Please re-type the password and try again.";
inline constexpr std::string_view kCorruptListText = "The password list is corrupted and cannot be imported.";

// One entry of the file in plain text, wiped when released. The user name and the comments are
// present when the file has them, though their text may be empty.
struct ImportedEntry {
    SecretText description;
    SecretText username;
    SecretText password;
    SecretText comments;   // the comment lines joined with CR LF
    std::string expiration;
    std::string daysTillExpiration;
    bool hasUsername = false;
    bool hasComments = false;
};

// fileCipher is keyed with the file's password. A check token that does not read "Keystead"
// throws kWrongFilePasswordText; a count that is not a number above 0, a file that ends before its
// entries do, or a cipher string that does not decrypt throws kCorruptListText.
std::vector<ImportedEntry> ReadExportFile(std::string_view bytes, const TDiamond& fileCipher);

}  // namespace keystead
