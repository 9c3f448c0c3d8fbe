#pragma once
// Loading the nine settings from a text store: the keys, their default
// texts and how each text becomes a value. The store itself is passed in,
// so that the rules can be checked without a registry.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tesmar {

// The text a read returns for a key that the store does not hold. A key
// whose stored text is exactly this counts as missing too.
inline constexpr std::string_view MissingSettingMarker = "None";

struct SettingValues {
    bool showcase = false;        // gDefault
    bool gameCollection = false;  // gGame
    std::string filePath;         // gFilePath
    bool fullScreen = false;      // gFullScreen
    int16_t movieWidth = 0;       // gMovieWidth
    int16_t movieHeight = 0;      // gMovieHeight
    int32_t background = 0;       // gBackground
    bool interaction = false;     // gInteraction
    int16_t quitPosition = 0;     // gQuitPosition
};

// The stored text of a key, or MissingSettingMarker when it has none.
using ReadSettingText = std::function<std::string(const std::string& key)>;
// Stores a key's text; failures are the store's own business.
using WriteSettingText = std::function<void(const std::string& key, const std::string& text)>;

// Reads the nine keys in their fixed order. A missing key gets its default
// text written, and its value is the default text's value, so a first start
// behaves as the written defaults say. A stored integer text that does not
// convert gives the default value and stays in the store as it is.
SettingValues LoadSettingValues(const ReadSettingText& read, const WriteSettingText& write);

} // namespace tesmar
