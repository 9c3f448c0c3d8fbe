#pragma once
// Text helpers: script strings are UTF-8; lengths and indices count UTF-16
// code units as the player does.

#include <string>
#include <string_view>

namespace tesmar::script {

std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);
size_t utf16Length(std::string_view utf8);
std::string lowerAscii(std::string_view s);
// Case mapping of ASCII and Latin-1 letters, on UTF-16 text.
char16_t toLowerLatin1(char16_t c);
char16_t toUpperLatin1(char16_t c);
std::string upperAscii(std::string_view s);

} // namespace tesmar::script
