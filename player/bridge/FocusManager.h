#pragma once
// Keyboard focus: the one button, clip or text field that keys go to.
// Moving it tells the old holder (onKillFocus), the new one (onSetFocus)
// and Selection's listeners (onSetFocus). Tab walks the tab order: the
// objects with a tabIndex by index when any has one, otherwise every
// tabbable object by position, top to bottom and left to right.
#include <cstdint>
#include <map>
#include <vector>
#include "player/script/Value.h"
#include "player/stage/DisplayObject.h"
#include "player/stage/EditText.h"

namespace tesmar::script {
class VM;
class Object;
}

namespace tesmar::bridge {

class ScriptBridge;

// The tabIndex property of buttons (on the given prototype) and clips.
void installTabIndex(script::VM& vm, script::Object* buttonPrototype);

class FocusManager {
public:
    explicit FocusManager(ScriptBridge& bridge) : bridge_(bridge) {}

    // The object holding focus; nullptr when none does or it has gone.
    stage::DisplayObject* focused() const;
    // Whether a script may give an object focus: a button, a text field, or
    // a clip other than a level's root that acts as a button (pointer
    // handlers) or has a true focusEnabled.
    bool focusable(const stage::DisplayObject& object);
    // A script removes or hides object: focus on it or inside it is lost
    // first, with the events above.
    void leaving(const stage::DisplayObject& object);
    // Focus on an object that has otherwise left the stage is lost, with the
    // events above. Callers check before they use focus.
    void dropRemoved();
    // Moves focus (nullptr clears it), with the events above, and rolls the
    // new holder over. A text field given focus this way has all its text
    // selected once the events have run, even when it held focus already.
    void setFocus(stage::DisplayObject* object);
    // Focus leaves the movie: the holder is rolled out, then told.
    void loseFocus();
    // Moves focus without selecting (a click places the caret itself).
    void moveFocus(stage::DisplayObject* object);
    // The focused text field while its selection counts (not yet while the
    // focus events of its arrival run); nullptr otherwise.
    stage::EditText* selectedField() const;
    // The Tab key: the next (or, backwards, the previous) object in tab order.
    void tab(bool backwards);
    // The objects that Tab visits, in order.
    std::vector<stage::DisplayObject*> tabOrder();

    // `_focusrect`: whether the yellow rectangle marks keyboard focus. A
    // level's root holds the player-wide setting; from SWF 6 on other
    // objects have their own (null: follow the player's).
    script::Value focusRect(const stage::DisplayObject& object, int swfVersion) const;
    void setFocusRect(script::VM& vm, const stage::DisplayObject& object, int swfVersion, const script::Value& value);
    // Whether the rectangle shows around a focused object.
    bool showsFocusRect(const stage::DisplayObject& object) const;
    // The object the yellow rectangle marks now: focus that Tab or a script
    // moved onto an object whose _focusrect allowed it then (text fields
    // show their caret instead). A click takes the mark away; up to SWF 8
    // so does any other use of the mouse.
    const stage::DisplayObject* highlighted() const { return highlight_ ? focused() : nullptr; }
    enum class MouseUse { Move, Press, Release };
    void mouseUsed(MouseUse use);
    // Whether the focused object hears keys through its own methods: from
    // the moment focus moves onto it until the mouse takes over, by the
    // same rule that takes the yellow rectangle away.
    bool keysReachFocus() const { return keysReachFocus_ && focused(); }

private:
    // Shows the yellow rectangle around object when it holds focus and its
    // _focusrect allows it (text fields show their caret instead).
    void markFocus(stage::DisplayObject* object);
    // Focus moving from old to object rolls the pointer's part over: see
    // Stage::rollByFocus. The events are queued.
    void rollOnto(const stage::DisplayObject* old, stage::DisplayObject* object);
    void collectTabbable(stage::DisplayObject& object, std::vector<stage::DisplayObject*>& out);

    ScriptBridge& bridge_;
    uint64_t focused_ = 0;
    bool selectionShown_ = false;
    bool focusRect_ = true;
    bool highlight_ = false;
    bool keysReachFocus_ = false;
    std::map<uint64_t, bool> ownFocusRects_;  // by serial
};

} // namespace tesmar::bridge
