// The keyboard state behind the Key object, and the codes that button
// key-press actions are bound to.
#include <gtest/gtest.h>
#include "player/stage/InputKeyboard.h"

using namespace tesmar::stage;

TEST(Keyboard, HeldKeysAndTheLastKeyFollowPressAndRelease) {
    Keyboard k;
    k.press('A', 'a');
    k.press(keys::Shift, 0);
    EXPECT_TRUE(k.isDown('A'));
    EXPECT_TRUE(k.isDown(keys::Shift));
    EXPECT_EQ(k.lastCode(), keys::Shift);
    k.release('A', 'a');
    EXPECT_FALSE(k.isDown('A'));
    EXPECT_EQ(k.lastCode(), 'A');
    EXPECT_EQ(k.lastAscii(), 'a');
    // Codes outside the keyboard are never down.
    EXPECT_FALSE(k.isDown(-1));
    EXPECT_FALSE(k.isDown(256));
}

TEST(Keyboard, KeysToggleOnPressButNotOnRepeat) {
    Keyboard k;
    EXPECT_FALSE(k.isToggled(keys::CapsLock));
    k.press(keys::CapsLock, 0);
    k.press(keys::CapsLock, 0);   // auto-repeat
    EXPECT_TRUE(k.isToggled(keys::CapsLock));
    k.release(keys::CapsLock, 0);
    EXPECT_TRUE(k.isToggled(keys::CapsLock));
    k.press(keys::CapsLock, 0);
    EXPECT_FALSE(k.isToggled(keys::CapsLock));
    // Any key toggles, and so does the mouse button, which leaves the last key alone.
    k.press('A', 'a');
    EXPECT_TRUE(k.isToggled('A'));
    k.mouseButton(true);
    EXPECT_TRUE(k.isDown(keys::MouseButton));
    EXPECT_TRUE(k.isToggled(keys::MouseButton));
    EXPECT_EQ(k.lastCode(), 'A');
    k.mouseButton(false);
    k.mouseButton(true);
    EXPECT_FALSE(k.isToggled(keys::MouseButton));
}

TEST(ButtonKeyCodes, KeysWithoutCharactersHaveTheirOwnCodesOthersTheirCharacter) {
    EXPECT_EQ(buttonKeyCode(keys::Left, 0), 1);
    EXPECT_EQ(buttonKeyCode(keys::Right, 0), 2);
    EXPECT_EQ(buttonKeyCode(keys::Delete, 127), 6);
    EXPECT_EQ(buttonKeyCode(keys::Enter, 13), 13);
    EXPECT_EQ(buttonKeyCode(keys::Up, 0), 14);
    EXPECT_EQ(buttonKeyCode(keys::Tab, 9), 18);
    EXPECT_EQ(buttonKeyCode(keys::Escape, 27), 19);
    EXPECT_EQ(buttonKeyCode('A', 'a'), 'a');
    EXPECT_EQ(buttonKeyCode('A', 'A'), 'A');
    EXPECT_EQ(buttonKeyCode(keys::Space, ' '), ' ');
    // A key that types nothing binds nothing.
    EXPECT_EQ(buttonKeyCode(keys::Shift, 0), 0);
}
