#include "startup/portable/StartMode.h"

namespace tesmar {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// True when the arguments start with the letter in either case, or with
// '/' or '-' followed by it: "/s" "-s" "/S" "-S" "s" "S" for the letter s.
bool SelectsSwitch(std::string_view arguments, char lower, char upper)
{
    auto isLetter = [&](char c) { return c == lower || c == upper; };
    if (!arguments.empty() && isLetter(arguments[0]))
        return true;
    return arguments.size() >= 2 && (arguments[0] == '/' || arguments[0] == '-') &&
           isLetter(arguments[1]);
}

} // namespace

std::string_view ArgumentsOf(std::string_view commandLine)
{
    size_t at = 0;
    if (!commandLine.empty() && commandLine[0] == '"') {
        size_t closing = commandLine.find('"', 1);
        at = closing == std::string_view::npos ? commandLine.size() : closing + 1;
    } else {
        while (at < commandLine.size() && !IsBlank(commandLine[at]))
            ++at;
    }
    while (at < commandLine.size() && IsBlank(commandLine[at]))
        ++at;
    return commandLine.substr(at);
}

StartMode StartModeOf(std::string_view arguments)
{
    if (SelectsSwitch(arguments, 'p', 'P'))
        return StartMode::Preview;
    if (SelectsSwitch(arguments, 's', 'S'))
        return StartMode::Run;
    return StartMode::Configure;
}

StartWindow StartWindowOf(StartMode mode, const WindowChoiceSettings& settings)
{
    switch (mode) {
    case StartMode::Preview:
        return StartWindow::None;
    case StartMode::Configure:
        return StartWindow::SettingsDialog;
    case StartMode::Run:
        break;
    }
    if (settings.showcase)
        return StartWindow::DefaultForm;
    if (settings.gameCollection)
        return StartWindow::GameForm;
    if (settings.interaction)
        return StartWindow::CustomInteractForm;
    return StartWindow::CustomNoInteractForm;
}

} // namespace tesmar
