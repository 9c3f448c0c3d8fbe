#pragma once
// What the command line asks for, and which window start-up opens for it.
#include <string_view>

namespace tesmar {

enum class StartMode { Preview, Run, Configure };

// The argument text of a full command line: what follows the program's
// path (quoted or not) and the blanks after it.
std::string_view ArgumentsOf(std::string_view commandLine);

// Looks only at the first one and two characters of the arguments, case
// significant: "/p" "-p" "/P" "-P" or a leading "p" "P" preview; the same
// with s run; anything else, the empty text included, configure.
StartMode StartModeOf(std::string_view arguments);

enum class StartWindow {
    None,  // preview: nothing is opened
    DefaultForm,
    GameForm,
    CustomInteractForm,
    CustomNoInteractForm,
    SettingsDialog,
};

// The settings that decide which display window the run mode opens.
struct WindowChoiceSettings {
    bool showcase = false;        // gDefault
    bool gameCollection = false;  // gGame
    bool interaction = false;     // gInteraction
};

// Preview opens nothing, configure the settings dialog, and run the first
// of showcase, game collection, interactive or non-interactive custom movie
// that the settings select.
StartWindow StartWindowOf(StartMode mode, const WindowChoiceSettings& settings);

} // namespace tesmar
