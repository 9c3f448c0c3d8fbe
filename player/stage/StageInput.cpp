#include <algorithm>
#include <cmath>
#include "player/stage/EditText.h"
#include "player/stage/Stage.h"
#include "player/swf/PlaceReader.h"

// The stage's pointer and keyboard input: which button or clip is under the
// pointer, the events its moves and presses send, drags, and keys.

namespace tesmar::stage {

bool Stage::takesMouse(const DisplayObject& object) const {
    if (mouseTest_) return mouseTest_(object);
    return object.kind() == DisplayObject::Kind::Button;
}

// The topmost target under a point given in clip space. A clip that takes
// pointer events answers for everything inside it.
DisplayObject* Stage::findMouseTarget(const MovieClip& clip, Point local) const {
    const auto& children = clip.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        DisplayObject& child = *it->second;
        if (!child.visible() || child.clipDepth() > 0) continue;
        const Point inner = child.matrix().inverse().apply(local);
        if (child.kind() == DisplayObject::Kind::Button) {
            if (takesMouse(child) && child.hitTest(inner)) return &child;
        } else if (auto* sub = dynamic_cast<MovieClip*>(&child)) {
            if (takesMouse(*sub)) {
                if (sub->hitTest(inner)) return sub;
            } else if (DisplayObject* found = findMouseTarget(*sub, inner)) {
                return found;
            }
        }
    }
    return nullptr;
}

DisplayObject* Stage::buttonAt(double x, double y) const {
    const Point stagePoint = viewMatrix().inverse().apply({x, y});
    for (auto it = levels_.rbegin(); it != levels_.rend(); ++it) {
        const MovieClip& root = *it->second.root;
        if (!root.visible()) continue;
        // A level's root never takes pointer events itself, handlers or not.
        if (DisplayObject* found = findMouseTarget(root, root.matrix().inverse().apply(stagePoint))) return found;
    }
    return nullptr;
}

namespace {

DisplayObject* findTextField(const MovieClip& clip, Point local) {
    const auto& children = clip.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        DisplayObject& child = *it->second;
        if (!child.visible() || child.clipDepth() > 0) continue;
        const Point inner = child.matrix().inverse().apply(local);
        if (auto* text = dynamic_cast<EditText*>(&child)) {
            if (text->selectable && text->hitTest(inner)) return text;
        } else if (auto* sub = dynamic_cast<MovieClip*>(&child)) {
            if (DisplayObject* found = findTextField(*sub, inner)) return found;
        }
    }
    return nullptr;
}

} // namespace

DisplayObject* Stage::textFieldAt(double x, double y) const {
    const Point stagePoint = viewMatrix().inverse().apply({x, y});
    for (auto it = levels_.rbegin(); it != levels_.rend(); ++it) {
        const MovieClip& root = *it->second.root;
        if (!root.visible()) continue;
        if (DisplayObject* found = findTextField(root, root.matrix().inverse().apply(stagePoint))) return found;
    }
    return nullptr;
}

DisplayObject* Stage::mouseTarget(uint64_t serial) const { return serial ? context_.find(serial) : nullptr; }

namespace {

// Sends a pointer event: a button changes state and runs the actions of
// the transition, then (both for buttons and clips) the event's handlers.
void sendPointerEvent(DisplayObject& target, uint32_t clipEvent, ButtonObject::State state, uint16_t condition) {
    if (auto* button = dynamic_cast<ButtonObject*>(&target)) {
        button->transition(state, condition);
        if (button->scripted())
            target.context().actions.push_back(
                {QueuedActions::Source::ClipEvent, target.serial(), target.loadedMovie().shared(), nullptr, clipEvent, {}});
    } else if (auto* clip = dynamic_cast<MovieClip*>(&target)) {
        clip->queueClipEvent(clipEvent);
    }
}

bool tracksAsMenu(const DisplayObject& target) {
    auto* button = dynamic_cast<const ButtonObject*>(&target);
    return button && button->trackAsMenu();
}

} // namespace

Point Stage::mouseOnStage() const { return viewMatrix().inverse().apply({mouseX_, mouseY_}); }

Matrix Stage::stageMatrix(const DisplayObject& object) {
    Matrix m = object.matrix();
    for (const DisplayObject* p = object.parent(); p; p = p->parent()) m = p->matrix() * m;
    return m;
}

// The pointer in an object's space as the reference player reports it: the
// object's origin snapped to whole view pixels (as it is drawn), the inverse
// offset and the answer in whole twips. Through a collapsed (zero-scale)
// object the pointer keeps its view pixels, read as the object's twips.
Point Stage::mouseIn(const DisplayObject& object) const {
    const Matrix view = viewMatrix();
    Matrix toView = view * stageMatrix(object);
    if (toView.determinant() == 0) return {mouseX_, mouseY_};
    toView.tx = std::nearbyint(toView.tx);
    toView.ty = std::nearbyint(toView.ty);
    Matrix fromStage = (view.inverse() * toView).inverse();
    fromStage.tx = std::nearbyint(fromStage.tx);
    fromStage.ty = std::nearbyint(fromStage.ty);
    const Point local = fromStage.apply(mouseOnStage());
    return {std::nearbyint(local.x), std::nearbyint(local.y)};
}

void Stage::startDrag(DisplayObject& object, bool lockCenter, std::optional<std::array<double, 4>> bounds) {
    drag_ = {};
    drag_.serial = object.serial();
    if (bounds) {
        auto& b = *bounds;
        drag_.bounds = std::array<double, 4>{std::min(b[0], b[2]) * 20, std::min(b[1], b[3]) * 20,
                                             std::max(b[0], b[2]) * 20, std::max(b[1], b[3]) * 20};
    }
    if (!lockCenter) {
        const Point pointer = object.parent() ? mouseIn(*object.parent()) : mouseOnStage();
        drag_.offset = {object.matrix().tx - pointer.x, object.matrix().ty - pointer.y};
    }
    followDrag();
}

void Stage::followDrag() {
    DisplayObject* object = find(drag_.serial);
    if (!object) return;
    const Point pointer = object->parent() ? mouseIn(*object->parent()) : mouseOnStage();
    double x = pointer.x + drag_.offset.x, y = pointer.y + drag_.offset.y;
    if (drag_.bounds) {
        const auto& b = *drag_.bounds;
        x = std::clamp(x, b[0], b[2]);
        y = std::clamp(y, b[1], b[3]);
    }
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    Matrix m = object->matrix();
    m.tx = x;
    m.ty = y;
    object->setMatrix(m);
}

bool Stage::mouseMove(double x, double y, bool reportStill) {
    const bool moved = x != mouseX_ || y != mouseY_;
    if (!moved && !reportStill) return false;
    // The pointer takes the hovered object back from focus once it moves.
    if (moved) hoverByFocus_ = false;
    mouseX_ = x;
    mouseY_ = y;
    followDrag();
    broadcastClipEvent(swf::clipEvent::MouseMove);
    updateHover();
    return true;
}

void Stage::updateHover() {
    namespace e = swf::clipEvent;
    namespace b = swf::button;
    if (hoverByFocus_) return;
    DisplayObject* under = buttonAt(mouseX_, mouseY_);
    if (DisplayObject* pressed = mouseTarget(context_.pressed)) {
        // While pressed, only the pressed target hears about the pointer.
        const bool inside = under == pressed;
        if (inside == pressedInside_) return;
        pressedInside_ = inside;
        if (inside) sendPointerEvent(*pressed, e::DragOver, ButtonObject::State::Down, b::OutDownToOverDown);
        else
            sendPointerEvent(*pressed, e::DragOut, tracksAsMenu(*pressed) ? ButtonObject::State::Up : ButtonObject::State::Over,
                             b::OverDownToOutDown);
        return;
    }
    DisplayObject* hovered = mouseTarget(context_.hovered);
    if (under == hovered) return;
    context_.hovered = under ? under->serial() : 0;
    if (hovered) sendPointerEvent(*hovered, e::RollOut, ButtonObject::State::Up, b::OverUpToIdle);
    if (under) sendPointerEvent(*under, e::RollOver, ButtonObject::State::Over, b::IdleToOverUp);
}

void Stage::rollByFocus(const DisplayObject* from, DisplayObject* to) {
    namespace e = swf::clipEvent;
    namespace b = swf::button;
    DisplayObject* hovered = mouseTarget(context_.hovered);
    // Focus leaving for nothing rolls out only what focus rolled over; an
    // object that the pointer rolled over is rolled out and over again.
    if ((hovered == to && hoverByFocus_) || (!to && hovered != from) || context_.pressed) return;
    context_.hovered = to ? to->serial() : 0;
    hoverByFocus_ = true;
    if (hovered) sendPointerEvent(*hovered, e::RollOut, ButtonObject::State::Up, b::OverUpToIdle);
    if (to) sendPointerEvent(*to, e::RollOver, ButtonObject::State::Over, b::IdleToOverUp);
}

void Stage::mouseDownEvents() {
    keyboard_.mouseButton(true);
    broadcastClipEvent(swf::clipEvent::MouseDown);
}

void Stage::pressTarget() {
    hoverByFocus_ = false;
    updateHover();
    if (DisplayObject* hovered = mouseTarget(context_.hovered)) {
        context_.pressed = hovered->serial();
        pressedInside_ = true;
        sendPointerEvent(*hovered, swf::clipEvent::Press, ButtonObject::State::Down, swf::button::OverUpToOverDown);
    }
}

void Stage::mouseUp() {
    keyboard_.mouseButton(false);
    broadcastClipEvent(swf::clipEvent::MouseUp);
    DisplayObject* pressed = mouseTarget(context_.pressed);
    context_.pressed = 0;
    if (pressed) {
        if (pressedInside_) {
            sendPointerEvent(*pressed, swf::clipEvent::Release, ButtonObject::State::Over, swf::button::OverDownToOverUp);
        } else {
            sendPointerEvent(*pressed, swf::clipEvent::ReleaseOutside, ButtonObject::State::Up, swf::button::OutDownToIdle);
            if (context_.hovered == pressed->serial()) context_.hovered = 0;
        }
    }
    updateHover();
}

namespace {

bool shownOnStage(const DisplayObject& object) {
    for (const DisplayObject* o = &object; o; o = o->parent())
        if (!o->visible()) return false;
    return true;
}

} // namespace

bool Stage::pressBoundButton(uint16_t code) {
    // The first shown button that binds the key takes it.
    if (code == 0) return false;
    for (uint64_t serial : executionOrder()) {
        auto* button = dynamic_cast<ButtonObject*>(find(serial));
        if (button && shownOnStage(*button) && button->keyPressed(code)) return true;
    }
    return false;
}

bool Stage::keyDown(uint8_t keyCode, uint16_t ascii) {
    keyboard_.press(keyCode, ascii);
    // Keys that type a character reach buttons through the character typed.
    const uint16_t code = buttonKeyCode(keyCode, ascii);
    const bool taken = code <= ' ' && pressBoundButton(code);
    broadcastClipEvent(swf::clipEvent::KeyDown);
    return taken;
}

bool Stage::characterTyped(char32_t character) {
    return character > ' ' && character < 0x80 && pressBoundButton(uint16_t(character));
}

void Stage::keyboardClick(DisplayObject& target) {
    const bool hovered = context_.hovered == target.serial();
    sendPointerEvent(target, swf::clipEvent::Press, ButtonObject::State::Down, swf::button::OverUpToOverDown);
    sendPointerEvent(target, swf::clipEvent::Release, hovered ? ButtonObject::State::Over : ButtonObject::State::Up,
                     swf::button::OverDownToOverUp);
}

void Stage::keyUp(uint8_t keyCode, uint16_t ascii) {
    keyboard_.release(keyCode, ascii);
    broadcastClipEvent(swf::clipEvent::KeyUp);
}

} // namespace tesmar::stage
