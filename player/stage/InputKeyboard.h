#pragma once
// The keyboard as movies see it: which keys are down, the last key pressed
// (its virtual-key code and character) and each key's toggle, which flips
// whenever the key goes down. The left mouse button counts as key 1.
#include <array>
#include <cstddef>
#include <cstdint>

namespace tesmar::stage {

// Virtual-key codes that the player itself acts on.
namespace keys {
enum : uint8_t {
    MouseButton = 1, Backspace = 8, Tab = 9, Enter = 13, Shift = 16, Control = 17, CapsLock = 20, Escape = 27, Space = 32,
    PageUp = 33, PageDown = 34, End = 35, Home = 36, Left = 37, Up = 38, Right = 39, Down = 40,
    Insert = 45, Delete = 46, NumLock = 144, ScrollLock = 145,
};
} // namespace keys

class Keyboard {
public:
    void press(uint8_t code, uint16_t ascii);
    void release(uint8_t code, uint16_t ascii);
    // The mouse button goes down or up; the last key stays as it was.
    void mouseButton(bool down);

    bool isDown(int code) const { return code >= 0 && code < 256 && down_[std::size_t(code)]; }
    bool isToggled(int code) const { return code >= 0 && code < 256 && toggled_[std::size_t(code)]; }
    // The key most recently pressed or released.
    int lastCode() const { return lastCode_; }
    int lastAscii() const { return lastAscii_; }

private:
    std::array<bool, 256> down_{};
    int lastCode_ = 0;
    int lastAscii_ = 0;
    std::array<bool, 256> toggled_{};
};

// The code a button's key-press action names for a key: the keys that
// type no character have small codes of their own, the rest their character.
uint16_t buttonKeyCode(uint8_t code, uint16_t ascii);

} // namespace tesmar::stage
