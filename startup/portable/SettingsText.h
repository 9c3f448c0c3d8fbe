#pragma once
// The text encodings of the settings store: booleans as "True"/"False",
// integers as decimal text. Reading never fails loudly: a text that is not a
// number of the wanted width gives no value, and the caller decides.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tesmar {

// True exactly when the whole text is "True" (case significant).
bool BooleanFromText(std::string_view text);
std::string TextFromBoolean(bool value);

// An optionally signed decimal number with blanks (spaces, tabs) around it
// and an optional fraction after a '.', rounded to the nearest integer with
// halves going to the even neighbour. No value for anything else (empty
// text, exponents, hexadecimal, separators, currency signs) or for a result
// outside the type's range.
std::optional<int16_t> Int16FromText(std::string_view text);
std::optional<int32_t> Int32FromText(std::string_view text);

} // namespace tesmar
