#pragma once
// The player control's stored state as the display windows carry it: an
// optional embedded movie, the control's design size and its 16 property
// values. The loader builder writes these records; the player host reads
// them when a window is created. Header-only so that both can use it.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace tesmar::movies {

struct StoredPlayerState {
    using Value = std::variant<std::u16string, bool>;   // a text or a true/false
    std::vector<uint8_t> movie;                         // empty: no movie embedded
    uint32_t extentX = 4471, extentY = 3625;            // 0.01 mm
    // In order: an unnamed text, Movie, Src, WMode, Play, Loop, Quality,
    // SAlign, Menu, Base, AllowScriptAccess, Scale, DeviceFont, EmbedMovie,
    // BGColor, SWRemote.
    std::vector<Value> values;
};

constexpr size_t kStoredValueCount = 16;
constexpr uint32_t kStoredStateConstant = 0x300;

// The values the display windows store. With a design-time path the
// player embeds a movie (the loader windows); without one it starts empty
// and plays (the custom-movie players).
inline std::vector<StoredPlayerState::Value> storedValues(const std::u16string& designPath,
                                                          const std::u16string& designFolder) {
    const bool embedded = !designPath.empty();
    return {u"", designPath, designPath, u"Window", !embedded, true, u"High", u"", true,
            designFolder, u"always", u"ShowAll", false, embedded, u"", u""};
}

inline std::vector<uint8_t> encodeStoredState(const StoredPlayerState& state) {
    const char* magic = state.movie.empty() ? "gUfU" : "fUfU";
    std::vector<uint8_t> out(magic, magic + 4);
    auto u16 = [&](uint16_t v) { out.push_back(uint8_t(v)); out.push_back(uint8_t(v >> 8)); };
    auto u32 = [&](uint32_t v) { u16(uint16_t(v)); u16(uint16_t(v >> 16)); };
    if (!state.movie.empty()) {
        u32(uint32_t(state.movie.size()));
        out.insert(out.end(), state.movie.begin(), state.movie.end());
    }
    u32(kStoredStateConstant);
    u32(state.extentX);
    u32(state.extentY);
    for (const StoredPlayerState::Value& value : state.values) {
        if (const auto* text = std::get_if<std::u16string>(&value)) {
            u16(8);
            u32(uint32_t((text->size() + 1) * 2));   // bytes, the terminating zero included
            for (char16_t c : *text) u16(uint16_t(c));
            u16(0);
        } else {
            u16(11);
            u16(std::get<bool>(value) ? 0xFFFF : 0);
        }
    }
    return out;
}

// Reads a record; nullopt, with error set, when it is cut short or malformed.
inline std::optional<StoredPlayerState> decodeStoredState(std::span<const uint8_t> bytes, std::string& error) {
    size_t pos = 0;
    auto need = [&](size_t count) { return bytes.size() - pos >= count; };
    auto u16 = [&] { uint16_t v = uint16_t(bytes[pos] | bytes[pos + 1] << 8); pos += 2; return v; };
    auto u32 = [&] { uint32_t lo = u16(); return lo | uint32_t(u16()) << 16; };
    auto fail = [&](const char* why) { error = why; return std::nullopt; };

    StoredPlayerState state;
    if (!need(4)) return fail("stored player state: too short");
    const std::string magic(bytes.begin(), bytes.begin() + 4);
    pos = 4;
    if (magic == "fUfU") {
        if (!need(4)) return fail("stored player state: movie length missing");
        const uint32_t length = u32();
        if (length == 0 || !need(length)) return fail("stored player state: movie length exceeds the record");
        state.movie.assign(bytes.begin() + long(pos), bytes.begin() + long(pos + length));
        pos += length;
    } else if (magic != "gUfU") {
        return fail("stored player state: unknown signature");
    }
    if (!need(12)) return fail("stored player state: header cut short");
    if (u32() != kStoredStateConstant) return fail("stored player state: unexpected header constant");
    state.extentX = u32();
    state.extentY = u32();
    while (state.values.size() < kStoredValueCount) {
        if (!need(2)) return fail("stored player state: property values cut short");
        const uint16_t type = u16();
        if (type == 11) {
            if (!need(2)) return fail("stored player state: property values cut short");
            state.values.emplace_back(u16() != 0);
        } else if (type == 8) {
            if (!need(4)) return fail("stored player state: property values cut short");
            const uint32_t length = u32();
            if (length < 2 || length % 2 != 0 || !need(length)) return fail("stored player state: bad text length");
            std::u16string text;
            for (uint32_t i = 0; i + 2 < length; i += 2) text.push_back(char16_t(u16()));
            if (u16() != 0) return fail("stored player state: text without its terminating zero");
            state.values.emplace_back(std::move(text));
        } else {
            return fail("stored player state: unknown property type");
        }
    }
    return state;
}

} // namespace tesmar::movies
