#pragma once
// The nine user settings: the process-wide settings variables, filled once by
// LoadSettings at start-up and only read afterwards, and the per-user store
// they come from (text values under HKEY_CURRENT_USER).
#include <cstdint>
#include <string>

namespace tesmar {

inline constexpr const char* SettingsApplicationName = "Tesmar Flash Screen Saver";
inline constexpr const char* SettingsSection = "Movie";

extern bool gDefault;
extern bool gGame;
extern std::string gFilePath;
extern bool gFullScreen;
extern int16_t gMovieWidth;
extern int16_t gMovieHeight;
extern int32_t gBackground;
extern bool gInteraction;
extern int16_t gQuitPosition;

// The stored text of a key, or defaultText when the key does not exist or
// the store cannot be read.
std::string ReadSetting(const std::string& application, const std::string& section,
                        const std::string& key, const std::string& defaultText);

// Creates or replaces a key's text. Returns false (with a description of the
// failure in *error when given) when the store cannot be written.
bool WriteSetting(const std::string& application, const std::string& section,
                  const std::string& key, const std::string& text, std::string* error = nullptr);

// Fills the nine settings variables and writes the default text of every missing key.
void LoadSettings();

} // namespace tesmar
