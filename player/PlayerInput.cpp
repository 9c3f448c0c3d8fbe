// Player input: the stage turns pointer and keys into button states and
// queued events; the script side then hears about them in the order the
// reference player keeps: the focused object's key methods, then the Key
// and Mouse listeners, then the clip events and button actions the stage
// queued; Tab moves focus last.
#include "player/Player.h"
#include "player/bridge/KeyMouseObjects.h"
#include "player/bridge/ScriptBridge.h"
#include "player/stage/EditText.h"

namespace tesmar {

void Player::mouseMove(double x, double y) {
    if (!stage_.mouseMove(x, y)) return;
    runActions();
    bridge::broadcastToListeners(*scripts_, "Mouse", "onMouseMove");
    runActions();
}

void Player::mouseDown() {
    stage_.mouseDownEvents();
    runActions();
    // A click focuses the text field under it, or nothing.
    scripts_->focus().setFocus(stage_.textFieldAt(stage_.mouseX(), stage_.mouseY()));
    stage_.pressTarget();
    runActions();
    bridge::broadcastToListeners(*scripts_, "Mouse", "onMouseDown");
    runActions();
}

void Player::mouseUp() {
    stage_.mouseUp();
    runActions();
    bridge::broadcastToListeners(*scripts_, "Mouse", "onMouseUp");
    runActions();
}

void Player::keyDown(uint8_t keyCode, uint16_t ascii) {
    stage_.keyDown(keyCode, ascii);
    bridge::FocusManager& focus = scripts_->focus();
    if (stage::DisplayObject* focused = focus.focused()) bridge::callObjectMethod(*scripts_, *focused, "onKeyDown");
    bridge::broadcastToListeners(*scripts_, "Key", "onKeyDown");
    runActions();
    // Tab moves focus once everyone has heard the key.
    if (keyCode == stage::keys::Tab) focus.tab(stage_.keyboard().isDown(stage::keys::Shift));
    runActions();
}

void Player::keyUp(uint8_t keyCode, uint16_t ascii) {
    stage_.keyUp(keyCode, ascii);
    if (stage::DisplayObject* focused = scripts_->focus().focused())
        bridge::callObjectMethod(*scripts_, *focused, "onKeyUp");
    bridge::broadcastToListeners(*scripts_, "Key", "onKeyUp");
    runActions();
}

namespace {

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

void Player::textInput(char32_t character) {
    auto* field = dynamic_cast<stage::EditText*>(scripts_->focus().focused());
    if (!field || !field->editable || character > 0x10FFFF) return;
    // Control characters (Tab, Escape, Backspace) edit nothing here; Enter
    // starts a paragraph only in a multiline field.
    if (character == '\r' || character == '\n') {
        if (!field->multiline) return;
        character = '\r';
    } else if (character < 0x20 || character == 0x7F) {
        return;
    }
    std::string text = field->text();
    if (field->maxChars > 0 && int(field->styledText().size()) >= field->maxChars) return;
    appendUtf8(text, character);
    field->setText(text);
}

} // namespace tesmar
