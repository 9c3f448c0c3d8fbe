#pragma once
// The choices that the settings window holds, how the stored settings fill
// them when the window loads, and which store writes OK makes from them.
#include <cstdint>
#include <string>
#include <vector>

namespace tesmar {

enum class MovieKind { Showcase, GameCollection, Custom };

// Quit-button corners in the order of their stored numbers 0 to 3.
enum class QuitCorner { TopLeft, TopRight, BottomLeft, BottomRight };

// The values of the window's controls. The defaults are the controls'
// values before anything is loaded into them.
struct SettingsChoices {
  MovieKind movie = MovieKind::Showcase;
  std::string filePath;
  bool fullScreen = true;
  std::string widthText;
  std::string heightText;
  uint32_t colour = 0;  // 0x00BBGGRR
  bool interaction = false;
  QuitCorner corner = QuitCorner::TopLeft;
};

// The settings variables as start-up loaded them.
struct StoredSettings {
  bool showcase = false;
  bool game = false;
  std::string filePath;
  bool fullScreen = false;
  int16_t movieWidth = 0;
  int16_t movieHeight = 0;
  int32_t background = 0;
  bool interaction = false;
  int16_t quitPosition = 0;
};

// The showcase wins over the game collection; in either web mode the custom
// controls keep their initial values, so stored custom values stay unseen.
SettingsChoices ChoicesFromSettings(const StoredSettings& stored);

struct SettingWrite {
  std::string key;
  std::string text;
  bool operator==(const SettingWrite&) const = default;
};

// The keys OK writes, in order: only those of the chosen kind of movie, so
// every other key keeps its stored text.
std::vector<SettingWrite> SettingsToWrite(const SettingsChoices& choices);

// A colour as the store keeps it: the value taken as signed 32-bit, in decimal.
std::string ColourText(uint32_t colour);

} // namespace tesmar
