#pragma once
// Form encoding of variables ("a=1&b=two%20words"), as the player writes
// them into requests and reads them from loaded text.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tesmar::bridge {

using FormVariables = std::vector<std::pair<std::string, std::string>>;

// Letters and digits stay; every other byte becomes %XX (upper-case hex),
// or a space '+' when plusForSpace (as requests send form data).
std::string urlEscape(std::string_view text, bool plusForSpace = false);
// Undoes the escaping: %XX gives its byte and '+' a space; a '%' without two
// hex digits stays as it is.
std::string urlUnescape(std::string_view text);
// "a=1&b=2" into its pairs, in order. A pair without '=' has an empty value;
// empty pieces are skipped.
FormVariables decodeForm(std::string_view text);
// Pairs into "a=1&b=2", names and values escaped.
std::string encodeForm(const FormVariables& variables, bool plusForSpace = false);

} // namespace tesmar::bridge
