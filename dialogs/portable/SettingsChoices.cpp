#include "dialogs/portable/SettingsChoices.h"

namespace tesmar {
namespace {

const char* BooleanText(bool value) { return value ? "True" : "False"; }

std::string SizeText(int16_t pixels) { return pixels == 0 ? std::string() : std::to_string(pixels); }

std::string StoredSizeText(const std::string& boxText) { return boxText.empty() ? "0" : boxText; }

} // namespace

SettingsChoices ChoicesFromSettings(const StoredSettings& stored) {
  SettingsChoices choices;
  if (stored.showcase) return choices;
  if (stored.game) {
    choices.movie = MovieKind::GameCollection;
    return choices;
  }
  choices.movie = MovieKind::Custom;
  choices.filePath = stored.filePath;
  choices.fullScreen = stored.fullScreen;
  if (!stored.fullScreen) {
    choices.widthText = SizeText(stored.movieWidth);
    choices.heightText = SizeText(stored.movieHeight);
  }
  choices.colour = static_cast<uint32_t>(stored.background);
  choices.interaction = stored.interaction;
  if (stored.quitPosition >= 0 && stored.quitPosition <= 3) {
    choices.corner = static_cast<QuitCorner>(stored.quitPosition);
  }
  return choices;
}

std::vector<SettingWrite> SettingsToWrite(const SettingsChoices& choices) {
  std::vector<SettingWrite> writes;
  writes.push_back({"gDefault", BooleanText(choices.movie == MovieKind::Showcase)});
  writes.push_back({"gGame", BooleanText(choices.movie == MovieKind::GameCollection)});
  if (choices.movie != MovieKind::Custom) return writes;

  writes.push_back({"gFilePath", choices.filePath});
  writes.push_back({"gFullScreen", BooleanText(choices.fullScreen)});
  if (!choices.fullScreen) {
    writes.push_back({"gMovieWidth", StoredSizeText(choices.widthText)});
    writes.push_back({"gMovieHeight", StoredSizeText(choices.heightText)});
  }
  writes.push_back({"gBackground", ColourText(choices.colour)});
  writes.push_back({"gInteraction", BooleanText(choices.interaction)});
  if (choices.interaction) {
    writes.push_back({"gQuitPosition", std::to_string(static_cast<int>(choices.corner))});
  }
  return writes;
}

std::string ColourText(uint32_t colour) { return std::to_string(static_cast<int32_t>(colour)); }

} // namespace tesmar
