#include "player/script/Strings.h"

#include <cstdint>

namespace tesmar::script {

std::u16string toUtf16(std::string_view s)
{
    std::u16string out;
    out.reserve(s.size());
    size_t i = 0;
    while (i < s.size()) {
        unsigned char c = static_cast<unsigned char>(s[i]);
        uint32_t cp = c;
        size_t extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : 9;
        bool valid = extra != 9 && i + extra < s.size();
        if (valid && extra) {
            cp = c & (0x3F >> extra);
            for (size_t k = 1; k <= extra; ++k) {
                unsigned char cc = static_cast<unsigned char>(s[i + k]);
                if ((cc & 0xC0) != 0x80) { valid = false; break; }
                cp = (cp << 6) | (cc & 0x3F);
            }
        }
        if (!valid) {
            // A stray byte stays as the Latin-1 code unit of the same value.
            out.push_back(char16_t(c));
            ++i;
            continue;
        }
        i += extra + 1;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(char16_t(0xD800 + (cp >> 10)));
            out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(char16_t(cp));
        }
    }
    return out;
}

std::string toUtf8(std::u16string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (size_t i = 0; i < s.size(); ++i) {
        uint32_t cp = s[i];
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;   // a lone surrogate has no UTF-8 form
        }
        if (cp < 0x80) {
            out += char(cp);
        } else if (cp < 0x800) {
            out += char(0xC0 | (cp >> 6));
            out += char(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += char(0xE0 | (cp >> 12));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        } else {
            out += char(0xF0 | (cp >> 18));
            out += char(0x80 | ((cp >> 12) & 0x3F));
            out += char(0x80 | ((cp >> 6) & 0x3F));
            out += char(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

size_t utf16Length(std::string_view s)
{
    bool ascii = true;
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) { ascii = false; break; }
    return ascii ? s.size() : toUtf16(s).size();
}

int compareCodePoints(std::string_view a, std::string_view b)
{
    // Valid UTF-8 already orders by code point byte by byte; only surrogate
    // halves (kept as three-byte sequences) need the UTF-16 detour.
    auto hasSurrogate = [](std::string_view s) {
        for (size_t i = 0; i + 1 < s.size(); ++i)
            if (static_cast<unsigned char>(s[i]) == 0xED && static_cast<unsigned char>(s[i + 1]) >= 0xA0) return true;
        return false;
    };
    if (!hasSurrogate(a) && !hasSurrogate(b)) return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
    std::u16string x = toUtf16(a), y = toUtf16(b);
    // Surrogates move above the rest of the basic plane.
    auto rank = [](char16_t u) { return u >= 0xE000 ? u - 0x800 : u >= 0xD800 ? u + 0x2000 : u; };
    for (size_t i = 0; i < x.size() && i < y.size(); ++i)
        if (x[i] != y[i]) return rank(x[i]) < rank(y[i]) ? -1 : 1;
    return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

std::string lowerAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

std::string upperAscii(std::string_view s)
{
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return out;
}

} // namespace tesmar::script
