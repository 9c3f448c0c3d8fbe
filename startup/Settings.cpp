// The process-wide settings variables and their one writer, LoadSettings.
#include "startup/Settings.h"

#include "startup/portable/SettingsLoad.h"

namespace tesmar {

bool gDefault = false;
bool gGame = false;
std::string gFilePath;
bool gFullScreen = false;
int16_t gMovieWidth = 0;
int16_t gMovieHeight = 0;
int32_t gBackground = 0;
bool gInteraction = false;
int16_t gQuitPosition = 0;

void LoadSettings()
{
    // A store that cannot be read yields the marker, one that cannot be
    // written is left as it is: either way the program goes on with the defaults.
    SettingValues values = LoadSettingValues(
        [](const std::string& key) {
            return ReadSetting(SettingsApplicationName, SettingsSection, key,
                               std::string(MissingSettingMarker));
        },
        [](const std::string& key, const std::string& text) {
            WriteSetting(SettingsApplicationName, SettingsSection, key, text);
        });
    gDefault = values.showcase;
    gGame = values.gameCollection;
    gFilePath = values.filePath;
    gFullScreen = values.fullScreen;
    gMovieWidth = values.movieWidth;
    gMovieHeight = values.movieHeight;
    gBackground = values.background;
    gInteraction = values.interaction;
    gQuitPosition = values.quitPosition;
}

} // namespace tesmar
