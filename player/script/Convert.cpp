#include "player/script/Convert.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace tesmar::script {

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();

// Digits and decimal exponent of n rounded to 15 significant digits, with
// trailing zeros removed.
void significantDigits(double n, std::string& digits, int& exponent)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.14e", n);
    // The player rounds by adding half a unit of the last digit, which
    // overflows next to the largest number: that one is cut off instead.
    const bool cut = std::isinf(std::strtod(buf, nullptr));
    if (cut) std::snprintf(buf, sizeof buf, "%.20e", n);
    digits.clear();
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9' && !(cut && digits.size() == 15)) digits += *p;
    exponent = std::atoi(p + 1);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
}

int digitValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

// Length of the decimal number at the start of s (sign, digits, fraction,
// exponent); 0 when there is none.
size_t decimalPrefix(std::string_view s)
{
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        size_t expDigits = 0;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') ++j, ++expDigits;
        if (expDigits) i = j;
    }
    return i;
}

double parseDecimal(std::string_view s)
{
    return std::strtod(std::string(s).c_str(), nullptr);
}

} // namespace

bool isWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string numberToString(double n)
{
    if (std::isnan(n)) return "NaN";
    if (std::isinf(n)) return n < 0 ? "-Infinity" : "Infinity";
    if (n == 0) return "0";
    std::string digits;
    int exponent;
    significantDigits(n, digits, exponent);
    std::string out = n < 0 ? "-" : "";
    int count = int(digits.size());
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (count > 1) out += "." + digits.substr(1);
        out += exponent < 0 ? "e-" : "e+";
        out += std::to_string(std::abs(exponent));
    } else if (exponent < 0) {
        out += "0." + std::string(size_t(-exponent - 1), '0') + digits;
    } else if (count <= exponent + 1) {
        out += digits + std::string(size_t(exponent + 1 - count), '0');
    } else {
        out += digits.substr(0, size_t(exponent + 1)) + "." + digits.substr(size_t(exponent + 1));
    }
    return out;
}

std::string numberToRadix(double n, int radix)
{
    if (radix == 10 || radix < 2 || radix > 36) return numberToString(n);
    // The player prints the integer part of the 32-bit value; NaN and the
    // infinities become the smallest one. Its sign cannot be taken off, so
    // the digits of that one come out of negative remainders, below '0'.
    int32_t i = std::isfinite(n) ? toInt32(n) : INT32_MIN;
    bool negative = i < 0;
    if (negative) i = int32_t(0u - uint32_t(i));
    std::string out;
    do {
        int digit = i % radix;
        out.insert(out.begin(), char(digit < 10 ? '0' + digit : 'a' + digit - 10));
        i /= radix;
    } while (i);
    return negative ? "-" + out : out;
}

double stringToNumber(std::string_view s, int swfVersion)
{
    if (swfVersion < 5) {
        size_t i = 0;
        while (i < s.size() && isWhiteSpace(s[i])) ++i;
        size_t length = decimalPrefix(s.substr(i));
        return length ? parseDecimal(s.substr(i, length)) : 0;
    }
    size_t i = 0;
    while (i < s.size() && isWhiteSpace(s[i])) ++i;
    std::string_view rest = s.substr(i);
    if (rest.empty()) return NaN;
    if (swfVersion >= 6 && rest.size() > 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        // Hexadecimal text reads as a 32-bit signed integer; longer text
        // keeps its last eight digits. A sign may follow the "0x".
        size_t j = 2;
        bool negative = rest[j] == '-';
        if (rest[j] == '-' || rest[j] == '+') ++j;
        if (j == rest.size()) return NaN;
        uint32_t value = 0;
        for (; j < rest.size(); ++j) {
            int d = digitValue(rest[j]);
            if (d >= 16) return NaN;
            value = value * 16 + uint32_t(d);
        }
        return negative ? -double(int32_t(value)) : double(int32_t(value));
    }
    // From SWF 6 a leading zero with only octal digits after it reads as a
    // 32-bit octal integer, unless white space comes first.
    if (swfVersion >= 6 && i == 0) {
        size_t j = (rest[0] == '-' || rest[0] == '+') ? 1 : 0;
        if (j + 1 < rest.size() && rest[j] == '0') {
            uint32_t value = 0;
            size_t k = j;
            while (k < rest.size() && rest[k] >= '0' && rest[k] <= '7') value = value * 8 + uint32_t(rest[k++] - '0');
            double n = double(int32_t(value));
            if (k == rest.size()) return rest[0] == '-' ? -n : n;
        }
    }
    size_t length = decimalPrefix(rest);
    if (length == 0 || length != rest.size()) return NaN;
    return parseDecimal(rest);
}

double parseFloatPrefix(std::string_view s)
{
    size_t i = 0;
    while (i < s.size() && isWhiteSpace(s[i])) ++i;
    // The player reads on past further decimal points, dropping them (and
    // then any exponent), and wraps the exponent as a 32-bit integer.
    std::string text;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) text += s[i++];
    size_t digits = 0, points = 0;
    for (; i < s.size(); ++i) {
        if (s[i] >= '0' && s[i] <= '9') {
            text += s[i];
            ++digits;
        } else if (s[i] == '.') {
            if (points++ == 0) text += '.';
        } else {
            break;
        }
    }
    if (digits == 0) return NaN;
    bool hasExponent = points <= 1 && i < s.size() && (s[i] == 'e' || s[i] == 'E');
    size_t point = text.find('.');
    if (!hasExponent && point != std::string::npos) {
        // Without an exponent the player adds the fraction digit by digit,
        // each divided by its power of ten: ".1499999" ends one unit in the
        // last place above the nearest double.
        double whole = point > 0 && text.find_first_of("0123456789") < point
                     ? parseDecimal(text.substr(0, point)) : 0;
        double fraction = 0;
        for (size_t k = point + 1; k < text.size(); ++k)
            if (text[k] != '0') fraction += (text[k] - '0') / std::pow(10.0, double(k - point));
        bool negative = text[0] == '-';
        return negative ? -(std::fabs(whole) + fraction) : whole + fraction;
    }
    if (hasExponent) {
        size_t j = i + 1;
        bool negative = j < s.size() && s[j] == '-';
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        uint32_t exponent = 0;
        size_t start = j;
        while (j < s.size() && s[j] >= '0' && s[j] <= '9') exponent = exponent * 10 + uint32_t(s[j++] - '0');
        if (j > start) {
            int32_t e = int32_t(exponent);
            text += "e" + std::to_string(negative ? -int64_t(e) : int64_t(e));
        }
    }
    return parseDecimal(text);
}

int32_t toInt32(double n)
{
    return int32_t(toUint32(n));
}

uint32_t toUint32(double n)
{
    if (!std::isfinite(n)) return 0;
    double t = std::trunc(n);
    double m = std::fmod(t, 4294967296.0);
    if (m < 0) m += 4294967296.0;
    return uint32_t(m);
}

} // namespace tesmar::script
