#pragma once
// Scripted input for headless runs: the corpus's input.json, a JSON list of
// events such as {"type": "MouseDown", "pos": [10, 20], "btn": "Left"}.
#include <optional>
#include <string>
#include <vector>

namespace tesmar::host {

struct InputEvent {
    enum class Type { MouseMove, MouseDown, MouseUp, KeyDown, KeyUp, Wait, Other };
    Type type = Type::Other;
    double x = 0, y = 0;   // stage pixels, for mouse events
    int keyCode = 0;       // for key events with a character key
};

// The events of a JSON event list, or nullopt (and error) when malformed.
std::optional<std::vector<InputEvent>> parseInputEvents(const std::string& json, std::string& error);

} // namespace tesmar::host
