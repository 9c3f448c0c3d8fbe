#include "player/bridge/LoadedText.h"

#include "player/script/Strings.h"

namespace tesmar::bridge {

namespace {

// Windows-1252 at 0x80..0x9F; the five unassigned bytes keep their value.
constexpr char16_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void append(std::u16string& out, int64_t codePoint) {
    if (codePoint >= 0x10000 && codePoint <= 0x10FFFF) {
        codePoint -= 0x10000;
        out += char16_t(0xD800 + (codePoint >> 10));
        out += char16_t(0xDC00 + (codePoint & 0x3FF));
        return;
    }
    out += char16_t(codePoint & 0xFFFF);
}

} // namespace

std::string decodeLoadedText(std::string_view bytes, bool codepage) {
    std::u16string units;
    units.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        const uint8_t lead = uint8_t(bytes[i]);
        if (codepage) {
            units += lead >= 0x80 && lead < 0xA0 ? kWindows1252High[lead - 0x80] : char16_t(lead);
            continue;
        }
        const size_t following = lead >= 0xF0 && lead < 0xF8 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        if (following == 0 || lead >= 0xF8) {
            units += char16_t(lead);
            continue;
        }
        if (i + following >= bytes.size()) break;
        static constexpr uint8_t leadBits[4] = {0, 0x1F, 0x0F, 0x07};
        int64_t codePoint = lead & leadBits[following];
        for (size_t k = 1; k <= following; ++k) codePoint = (codePoint << 6) + (int64_t(uint8_t(bytes[i + k])) - 0x80);
        append(units, codePoint);
        i += following;
    }
    return script::toUtf8(units);
}

} // namespace tesmar::bridge
