#include "player/stage/InputKeyboard.h"

namespace tesmar::stage {

void Keyboard::press(uint8_t code, uint16_t ascii) {
    // A key toggles when it goes down, not while it repeats.
    if (!down_[code]) toggled_[code] = !toggled_[code];
    down_[code] = true;
    lastCode_ = code;
    lastAscii_ = ascii;
}

void Keyboard::release(uint8_t code, uint16_t ascii) {
    down_[code] = false;
    lastCode_ = code;
    lastAscii_ = ascii;
}

void Keyboard::mouseButton(bool down) {
    if (down && !down_[keys::MouseButton]) toggled_[keys::MouseButton] = !toggled_[keys::MouseButton];
    down_[keys::MouseButton] = down;
}

uint16_t buttonKeyCode(uint8_t code, uint16_t ascii) {
    switch (code) {
    case keys::Left: return 1;
    case keys::Right: return 2;
    case keys::Home: return 3;
    case keys::End: return 4;
    case keys::Insert: return 5;
    case keys::Delete: return 6;
    case keys::Backspace: return 8;
    case keys::Enter: return 13;
    case keys::Up: return 14;
    case keys::Down: return 15;
    case keys::PageUp: return 16;
    case keys::PageDown: return 17;
    case keys::Tab: return 18;
    case keys::Escape: return 19;
    default: return ascii >= 32 ? ascii : 0;
    }
}

} // namespace tesmar::stage
