#include "display/PlayerStartState.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "display/movies/StoredPlayerState.h"

namespace tesmar {

namespace {

// Positions of the properties in the record.
enum StoredValue { kPlay = 4, kLoop = 5, kQuality = 6, kBackground = 14 };

std::span<const uint8_t> ResourceBytes(int resourceId)
{
    HMODULE program = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(program, MAKEINTRESOURCEW(resourceId), MAKEINTRESOURCEW(10));  // RT_RCDATA
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(program, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {static_cast<const uint8_t*>(data), SizeofResource(program, found)};
}

bool FlagOf(const movies::StoredPlayerState& state, int index, bool otherwise)
{
    const bool* flag = std::get_if<bool>(&state.values[size_t(index)]);
    return flag ? *flag : otherwise;
}

std::u16string TextOf(const movies::StoredPlayerState& state, int index)
{
    const std::u16string* text = std::get_if<std::u16string>(&state.values[size_t(index)]);
    return text ? *text : std::u16string();
}

// "#RRGGBB" (the hash optional); nothing for any other text.
std::optional<Rgba> ColourOf(std::u16string text)
{
    if (!text.empty() && text.front() == u'#')
        text.erase(text.begin());
    if (text.size() != 6)
        return std::nullopt;
    uint32_t value = 0;
    for (char16_t c : text) {
        int digit = c >= u'0' && c <= u'9' ? c - u'0'
                  : c >= u'a' && c <= u'f' ? c - u'a' + 10
                  : c >= u'A' && c <= u'F' ? c - u'A' + 10
                                           : -1;
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | uint32_t(digit);
    }
    return Rgba{uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value), 255};
}

int HimetricToPixels(uint32_t extent, int dotsPerInch)
{
    return MulDiv(int(std::min<uint32_t>(extent, 1'000'000)), dotsPerInch, 2540);
}

} // namespace

PlayerStartState LoadPlayerStartState(int resourceId)
{
    PlayerStartState start;
    std::string error;
    const auto state = movies::decodeStoredState(ResourceBytes(resourceId), error);
    if (!state)
        return start;
    HDC screen = GetDC(nullptr);
    start.designWidthPixels = HimetricToPixels(state->extentX, GetDeviceCaps(screen, LOGPIXELSX));
    start.designHeightPixels = HimetricToPixels(state->extentY, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
    start.movie = state->movie;
    start.play = FlagOf(*state, kPlay, true);
    start.loop = FlagOf(*state, kLoop, true);
    const std::u16string quality = TextOf(*state, kQuality);
    if (quality == u"Low" || quality == u"AutoLow") start.quality = render::Quality::Low;
    else if (quality == u"Medium") start.quality = render::Quality::Medium;
    else if (quality == u"Best") start.quality = render::Quality::Best;
    start.background = ColourOf(TextOf(*state, kBackground));
    return start;
}

} // namespace tesmar
