#include "dialogs/portable/NumericText.h"

namespace tesmar {
namespace {

// Reads the text from the front, one element of the number at a time.
class NumberScanner {
public:
  explicit NumberScanner(std::string_view text) : rest_(text) {}

  bool AtEnd() const { return rest_.empty(); }

  bool Take(std::string_view token) {
    if (token.empty() || !rest_.starts_with(token)) return false;
    rest_.remove_prefix(token.size());
    return true;
  }

  bool TakeOneOf(std::string_view characters) {
    if (rest_.empty() || characters.find(rest_.front()) == std::string_view::npos) return false;
    rest_.remove_prefix(1);
    return true;
  }

  void SkipBlanks() {
    while (TakeOneOf(" \t")) {
    }
  }

  // Digits, allowing a group separator after a digit; returns how many digits.
  int TakeDigits(std::string_view groupSeparator) {
    int digits = 0;
    for (;;) {
      if (TakeOneOf("0123456789")) {
        ++digits;
      } else if (digits > 0 && Take(groupSeparator)) {
        continue;
      } else {
        return digits;
      }
    }
  }

private:
  std::string_view rest_;
};

} // namespace

bool IsLocaleNumber(std::string_view text, const NumberSeparators& separators) {
  NumberScanner scanner(text);
  scanner.SkipBlanks();
  scanner.TakeOneOf("+-");
  int mantissaDigits = scanner.TakeDigits(separators.group);
  if (scanner.Take(separators.decimal)) mantissaDigits += scanner.TakeDigits({});
  if (mantissaDigits == 0) return false;
  // The exponent's digits may still be missing: "1e" and "1e-" pass, so that
  // an exponent can be typed one key at a time.
  if (scanner.TakeOneOf("eE")) {
    scanner.TakeOneOf("+-");
    scanner.TakeDigits({});
  }
  scanner.SkipBlanks();
  return scanner.AtEnd();
}

} // namespace tesmar
