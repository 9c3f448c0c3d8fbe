#pragma once
// Scripted input for headless runs: the corpus's input.json, a JSON list of
// events such as {"type": "MouseDown", "pos": [10, 20], "btn": "Left"}.
#include <optional>
#include <string>
#include <vector>
#include "player/Player.h"

namespace tesmar::host {

struct InputEvent {
    enum class Type {
        MouseMove, MouseDown, MouseUp, KeyDown, KeyUp, TextInput, TextControl, SetClipboardText, FocusLost, Wait, Other
    };
    Type type = Type::Other;
    double x = 0, y = 0;   // stage pixels, for mouse events
    bool buttonUnheard = false;   // MouseMove standing for a button the player does not hear
    int keyCode = 0;       // key events: the virtual-key code, 0 for a key we do not know
    int ascii = 0;         // key events: the character the key types
    char32_t codepoint = 0; // TextInput: the character typed
    Player::TextCommand command = Player::TextCommand::Enter;   // TextControl
    std::string text;       // SetClipboardText
};

// The events of a JSON event list, or nullopt (and error) when malformed.
std::optional<std::vector<InputEvent>> parseInputEvents(const std::string& json, std::string& error);

} // namespace tesmar::host
