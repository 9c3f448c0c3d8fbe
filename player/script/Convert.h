#pragma once
// Conversions between primitive values as the reference player makes them.

#include <cstdint>
#include <string>
#include <string_view>

namespace tesmar::script {

// Shortest form the player prints: 15 significant digits, exponent form from
// 1e15 and below 1e-5, "NaN", "Infinity", "-Infinity", and "0" for -0.
std::string numberToString(double n);
// Number.prototype.toString(radix) for radix 2..36 (integers only; others in radix 10).
std::string numberToRadix(double n, int radix);
// Number(string): whole string must be a number (after leading white space);
// hexadecimal "0x" from SWF 6; SWF 4 takes the numeric prefix and 0 otherwise.
double stringToNumber(std::string_view s, int swfVersion);
// parseFloat: the longest numeric prefix after leading white space.
double parseFloatPrefix(std::string_view s);
// ECMAScript ToInt32 / ToUint32.
int32_t toInt32(double n);
uint32_t toUint32(double n);
bool isWhiteSpace(char c);

} // namespace tesmar::script
