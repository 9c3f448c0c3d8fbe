// Player input: the stage turns pointer and keys into button states and
// queued events; the script side then hears about them in the order the
// reference player keeps: the focused object's key methods, then the Key
// and Mouse listeners, then the clip events and button actions the stage
// queued; Tab moves focus last.
#include "player/Player.h"
#include "player/bridge/KeyMouseObjects.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/TextField.h"
#include "player/stage/EditText.h"

namespace tesmar {

void Player::mouseMove(double x, double y, bool reportStill) {
    if (!stage_.mouseMove(x, y, reportStill)) return;
    scripts_->focus().mouseUsed(bridge::FocusManager::MouseUse::Move);
    runActions();
    bridge::broadcastToListeners(*scripts_, "Mouse", "onMouseMove");
    runActions();
}

void Player::mouseDown() {
    stage_.mouseDownEvents();
    runActions();
    // A click focuses the text field under it, or nothing; the caret goes
    // to the end of the field's text.
    bridge::FocusManager& focus = scripts_->focus();
    focus.dropRemoved();
    focus.mouseUsed(bridge::FocusManager::MouseUse::Press);
    auto* clicked = dynamic_cast<stage::EditText*>(stage_.textFieldAt(stage_.mouseX(), stage_.mouseY()));
    focus.moveFocus(clicked);
    if (clicked && focus.selectedField() == clicked)
        clicked->setSelection(clicked->styledText().size(), clicked->styledText().size());
    stage_.pressTarget();
    runActions();
    bridge::broadcastToListeners(*scripts_, "Mouse", "onMouseDown");
    runActions();
}

void Player::mouseUp() {
    scripts_->focus().mouseUsed(bridge::FocusManager::MouseUse::Release);
    stage_.mouseUp();
    runActions();
    bridge::broadcastToListeners(*scripts_, "Mouse", "onMouseUp");
    runActions();
}

namespace {

// The focused button or clip while it hears keys through its own methods
// (text fields have none).
stage::DisplayObject* keyTarget(bridge::ScriptBridge& scripts) {
    if (!scripts.focus().keysReachFocus()) return nullptr;
    stage::DisplayObject* focused = scripts.focus().focused();
    return dynamic_cast<stage::EditText*>(focused) ? nullptr : focused;
}

} // namespace

void Player::keyDown(uint8_t keyCode, uint16_t ascii) {
    bridge::FocusManager& focus = scripts_->focus();
    focus.dropRemoved();
    const bool takenByButton = stage_.keyDown(keyCode, ascii);
    if (stage::DisplayObject* target = keyTarget(*scripts_)) bridge::callObjectMethod(*scripts_, *target, "onKeyDown");
    bridge::broadcastToListeners(*scripts_, "Key", "onKeyDown");
    runActions();
    // Once everyone has heard the key, unless a button's key action took
    // it: Tab moves focus, and Enter or Space clicks the focused button or
    // clip while focus is marked with the yellow rectangle.
    if (takenByButton) return;
    if (keyCode == stage::keys::Tab) focus.tab(stage_.keyboard().isDown(stage::keys::Shift));
    const bool clickKey = keyCode == stage::keys::Enter || keyCode == stage::keys::Space;
    stage::DisplayObject* target = keyTarget(*scripts_);
    if (clickKey && target && focus.showsFocusRect(*target)) stage_.keyboardClick(*target);
    runActions();
}

void Player::keyUp(uint8_t keyCode, uint16_t ascii) {
    stage_.keyUp(keyCode, ascii);
    if (stage::DisplayObject* target = keyTarget(*scripts_)) bridge::callObjectMethod(*scripts_, *target, "onKeyUp");
    bridge::broadcastToListeners(*scripts_, "Key", "onKeyUp");
    runActions();
}

void Player::focusLost() {
    scripts_->focus().loseFocus();
    runActions();
}

namespace {

// The focused field when it takes typing.
stage::EditText* typingField(bridge::ScriptBridge& scripts) {
    auto* field = dynamic_cast<stage::EditText*>(scripts.focus().focused());
    return field && field->editable ? field : nullptr;
}

} // namespace

void Player::textInput(char32_t character) {
    if (stage_.characterTyped(character)) {
        runActions();
        return;
    }
    stage::EditText* field = typingField(*scripts_);
    if (!field || character > 0x10FFFF) return;
    // Enter starts a paragraph in a multiline field; other control
    // characters (Tab, Escape, Backspace) type nothing.
    if (character == '\n') character = '\r';
    if (character != '\r' && (character < 0x20 || character == 0x7F)) return;
    const char32_t typed[] = {character};
    if (field->typeText(std::u32string_view(typed, 1))) bridge::announceTyping(*scripts_, *field);
    runActions();
}

void Player::textCommand(TextCommand command) {
    using Key = stage::EditText::EditKey;
    auto* field = dynamic_cast<stage::EditText*>(scripts_->focus().focused());
    if (!field) return;
    const size_t begin = field->selectionBegin(), end = field->selectionEnd();
    // A password field never gives its text away.
    const bool mayCopy = !field->password && begin < end;
    bool changed = false;
    switch (command) {
    case TextCommand::SelectAll: field->setSelection(0, field->styledText().size()); return;
    case TextCommand::Copy:
        if (mayCopy) clipboard_ = stage::encodeUtf8(field->styledText().chars.substr(begin, end - begin));
        return;
    case TextCommand::MoveLeft: field->editKey(Key::Left); return;
    case TextCommand::MoveRight: field->editKey(Key::Right); return;
    case TextCommand::LineStart: field->editKey(Key::Home); return;
    case TextCommand::LineEnd: field->editKey(Key::End); return;
    default: break;
    }
    if (!field->editable) return;
    switch (command) {
    case TextCommand::Enter: changed = field->editKey(Key::Enter); break;
    case TextCommand::Backspace: changed = field->editKey(Key::Backspace); break;
    case TextCommand::Delete: changed = field->editKey(Key::Delete); break;
    case TextCommand::Cut:
        if (!mayCopy) return;
        clipboard_ = stage::encodeUtf8(field->styledText().chars.substr(begin, end - begin));
        changed = field->typeText({});
        break;
    case TextCommand::Paste:
        // Pasting nothing leaves the selection as it is.
        if (!clipboard_.empty()) changed = field->typeText(stage::decodeText(clipboard_));
        break;
    default: break;
    }
    if (changed) bridge::announceTyping(*scripts_, *field);
    runActions();
}

} // namespace tesmar
