#include "startup/portable/SettingsLoad.h"

#include "startup/portable/SettingsText.h"

#include <optional>

namespace tesmar {

namespace {

class Loader {
public:
    Loader(const ReadSettingText& read, const WriteSettingText& write) : read_(read), write_(write) {}

    bool Boolean(const std::string& key, std::string_view defaultText)
    {
        return BooleanFromText(Text(key, defaultText));
    }

    std::string Text(const std::string& key, std::string_view defaultText)
    {
        std::string text = read_(key);
        if (text != MissingSettingMarker)
            return text;
        write_(key, std::string(defaultText));
        return std::string(defaultText);
    }

    // The default text of every integer key converts, so only a stored text
    // can fall back to it.
    template <typename Integer>
    Integer Number(const std::string& key, std::string_view defaultText,
                   std::optional<Integer> (*convert)(std::string_view))
    {
        std::optional<Integer> value = convert(Text(key, defaultText));
        return value ? *value : *convert(defaultText);
    }

private:
    const ReadSettingText& read_;
    const WriteSettingText& write_;
};

} // namespace

SettingValues LoadSettingValues(const ReadSettingText& read, const WriteSettingText& write)
{
    Loader load(read, write);
    SettingValues values;
    values.showcase = load.Boolean("gDefault", "True");
    values.gameCollection = load.Boolean("gGame", "False");
    values.filePath = load.Text("gFilePath", "");
    values.fullScreen = load.Boolean("gFullScreen", "True");
    values.movieWidth = load.Number<int16_t>("gMovieWidth", "0", Int16FromText);
    values.movieHeight = load.Number<int16_t>("gMovieHeight", "0", Int16FromText);
    values.background = load.Number<int32_t>("gBackground", "0", Int32FromText);
    values.interaction = load.Boolean("gInteraction", "False");
    values.quitPosition = load.Number<int16_t>("gQuitPosition", "0", Int16FromText);
    return values;
}

} // namespace tesmar
