#pragma once
// The size fields' test of what the user types: does the text read as one
// number in the user's locale?
#include <string>
#include <string_view>

namespace tesmar {

// The locale's separators, as the system reports them (each may be more than
// one character, or empty when the locale has none).
struct NumberSeparators {
  std::string decimal = ".";
  std::string group = ",";
};

// Accepts optional blanks around the number, an optional sign, digits with
// group separators between them, a decimal separator with or without fraction
// digits and an optional exponent: "640", "-12.5", " 7 ", "1,024", "1e3"; also
// the steps of typing those, such as "12." and "1e".
// At least one digit must stand before any exponent, so a lone sign or a lone
// separator fails, as does anything with another character ("12a", "6 4").
bool IsLocaleNumber(std::string_view text, const NumberSeparators& separators);

} // namespace tesmar
