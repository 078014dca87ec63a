#pragma once
// The one place where the forms' texts meet the core's bytes: UTF-8 both ways, with bytes that
// are not valid UTF-8 (older data in the Windows ANSI code page) read as Windows-1252.

#include <QString>

#include <string>
#include <string_view>

namespace keystead {

QString toQString(std::string_view bytes);
// Whether toQString reads the bytes as UTF-8 rather than as Windows-1252.
bool isUtf8(std::string_view bytes);
std::string toBytes(const QString& text);

// Multi-line texts (comments) are kept with CR LF line breaks; the edit boxes use LF.
QString toMultiLineQString(std::string_view bytes);
std::string toMultiLineBytes(const QString& text);

// A text typed into a dialog, as it is checked and stored: bytes with every character with a
// code from 0 to 32 removed from both ends.
std::string trimmedBytes(const QString& typed);

}  // namespace keystead
