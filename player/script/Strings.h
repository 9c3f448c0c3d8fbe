#pragma once
// Text helpers: script strings are UTF-8; lengths and indices count UTF-16
// code units as the player does.

#include <string>
#include <string_view>

namespace tesmar::script {

std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);
size_t utf16Length(std::string_view utf8);
// Orders two strings by code point, a surrogate pair counting as the
// character it encodes: <0, 0 or >0.
int compareCodePoints(std::string_view a, std::string_view b);
std::string lowerAscii(std::string_view s);
// Case mapping of one UTF-16 code unit (letters of every script the
// player knows; others stay as they are).
char16_t toLowerCase(char16_t c);
char16_t toUpperCase(char16_t c);
std::string upperAscii(std::string_view s);

} // namespace tesmar::script
