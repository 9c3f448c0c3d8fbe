#include "startup/portable/SettingsText.h"

#include <algorithm>
#include <limits>

namespace tesmar {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Any magnitude beyond this is out of range for every setting; stopping the
// accumulation here keeps long digit strings from overflowing.
constexpr int64_t MagnitudeCeiling = int64_t{1} << 40;

// The text's value rounded half to even, or nothing when the text is not a
// plain decimal number. Magnitudes past the ceiling are clamped to it.
std::optional<int64_t> RoundedDecimal(std::string_view text)
{
    size_t at = 0;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    size_t end = text.size();
    while (end > at && IsBlank(text[end - 1]))
        --end;
    text = text.substr(at, end - at);

    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }

    int64_t magnitude = 0;
    size_t digits = 0;
    size_t i = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits)
        magnitude = std::min(magnitude * 10 + (text[i] - '0'), MagnitudeCeiling);

    // The fraction decides the rounding: above a half rounds up, below down,
    // and an exact half goes to the even neighbour.
    int firstFractionDigit = 0;
    bool restNonZero = false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        for (size_t first = i; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
            if (i == first)
                firstFractionDigit = text[i] - '0';
            else if (text[i] != '0')
                restNonZero = true;
        }
    }
    if (digits == 0 || i != text.size())
        return std::nullopt;

    bool roundUp = firstFractionDigit > 5 || (firstFractionDigit == 5 && restNonZero) ||
                   (firstFractionDigit == 5 && !restNonZero && magnitude % 2 == 1);
    if (roundUp)
        magnitude = std::min(magnitude + 1, MagnitudeCeiling);
    return negative ? -magnitude : magnitude;
}

template <typename Integer>
std::optional<Integer> IntegerFromText(std::string_view text)
{
    std::optional<int64_t> value = RoundedDecimal(text);
    if (!value || *value < std::numeric_limits<Integer>::min() ||
        *value > std::numeric_limits<Integer>::max())
        return std::nullopt;
    return static_cast<Integer>(*value);
}

} // namespace

bool BooleanFromText(std::string_view text)
{
    return text == "True";
}

std::string TextFromBoolean(bool value)
{
    return value ? "True" : "False";
}

std::optional<int16_t> Int16FromText(std::string_view text)
{
    return IntegerFromText<int16_t>(text);
}

std::optional<int32_t> Int32FromText(std::string_view text)
{
    return IntegerFromText<int32_t>(text);
}

} // namespace tesmar
