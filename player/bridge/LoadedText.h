#pragma once
// The characters of loaded text (variables, LoadVars and XML data): the
// bytes as the player reads them into its strings, which are UTF-8 inside.
#include <string>
#include <string_view>

namespace tesmar::bridge {

// With codepage (SWF 5 and older, or System.useCodepage) every byte is a
// Windows-1252 character. Otherwise the bytes are UTF-8, read leniently: a
// lead byte takes as many following bytes as it announces, whatever they
// are, and makes one character of their bits; a byte that cannot lead
// stands for the character of its own value, and a lead cut short by the
// end of the text is dropped.
std::string decodeLoadedText(std::string_view bytes, bool codepage);

} // namespace tesmar::bridge
