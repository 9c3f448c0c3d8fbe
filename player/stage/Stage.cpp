#include "player/stage/Stage.h"
#include <algorithm>
#include <cmath>
#include "player/swf/PlaceReader.h"

namespace tesmar::stage {

Stage::~Stage() {
    // Clips refer to their level's movie: drop them first.
    for (auto& [number, level] : levels_) level.root.reset();
}

MovieClip& Stage::setLevel(int number, std::shared_ptr<const swf::Movie> movie, std::string url) {
    removeLevel(number);
    if (number == 0) {
        const Rect& size = movie->header.frameSize;
        if (!size.empty() && size.width() > 0 && size.height() > 0) stageRect_ = size;
        if (movie->hasBackground) background_ = movie->background;
    }
    Level& level = levels_[number];
    level.movie = std::make_unique<LoadedMovie>(std::move(movie), std::move(url));
    level.root = std::make_unique<MovieClip>(context_, *level.movie, 0, level.movie->movie().timeline);
    level.root->setDepth(number);
    level.root->setName("_level" + std::to_string(number));
    context_.changed();
    return *level.root;
}

void Stage::removeLevel(int number) {
    auto it = levels_.find(number);
    if (it == levels_.end()) return;
    it->second.root->removed();
    it->second.root.reset();
    levels_.erase(it);
    context_.changed();
}

MovieClip* Stage::level(int number) const {
    auto it = levels_.find(number);
    return it == levels_.end() ? nullptr : it->second.root.get();
}

const std::map<int, MovieClip*> Stage::levels() const {
    std::map<int, MovieClip*> all;
    for (const auto& [number, level] : levels_) all[number] = level.root.get();
    return all;
}

void Stage::tick() {
    ++context_.tick;
    std::vector<int> numbers;
    for (const auto& [number, level] : levels_) numbers.push_back(number);
    // Every clip and button steps once, newest first and the level roots
    // last, as the reference player orders its frame scripts and events.
    // Objects made during the tick start on the next one.
    const std::vector<uint64_t> order = executionOrder();
    std::vector<uint64_t> entered;
    for (int number : numbers) {
        MovieClip* root = level(number);
        if (root && root->currentFrame() == 0) {
            root->enterFirstFrame();
            entered.push_back(root->serial());
        }
    }
    for (uint64_t serial : order) {
        DisplayObject* object = find(serial);
        if (!object || object->born() >= context_.tick) continue;
        if (std::find(entered.begin(), entered.end(), serial) != entered.end()) continue;
        if (auto* clip = dynamic_cast<MovieClip*>(object)) {
            if (clip->currentFrame() > 0) clip->step();
        } else {
            object->advance();
        }
    }
    // Objects may have moved under a resting pointer.
    updateHover();
}

std::vector<QueuedActions> Stage::takeActions() {
    std::vector<QueuedActions> actions;
    actions.swap(context_.actions);
    return actions;
}

void Stage::setViewSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == viewWidth_ && height == viewHeight_) return;
    viewWidth_ = width;
    viewHeight_ = height;
    context_.changed();
}

Matrix Stage::viewMatrix() const {
    const double stageW = stageRect_.width() / 20, stageH = stageRect_.height() / 20;
    const double scale = std::min(viewWidth_ / stageW, viewHeight_ / stageH);
    const double offsetX = (viewWidth_ - stageW * scale) / 2, offsetY = (viewHeight_ - stageH * scale) / 2;
    const double s = scale / 20;
    return {s, 0, 0, s, offsetX - stageRect_.xMin * s, offsetY - stageRect_.yMin * s};
}

void Stage::render(Image& target, render::Renderer& renderer) {
    renderer.begin(target);
    renderer.setAntialiasing(antialiasing_);
    renderer.clear(background_);
    const Matrix view = viewMatrix();
    for (const auto& [number, level] : levels_) {
        const MovieClip& root = *level.root;
        if (!root.visible()) continue;
        root.draw(renderer, view * root.matrix(), root.colorTransform());
    }
    renderer.finish();
    context_.dirty = false;
}

namespace {

// The topmost button under a point given in clip space.
ButtonObject* findButton(const MovieClip& clip, Point local) {
    const auto& children = clip.children();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        DisplayObject& child = *it->second;
        if (!child.visible() || child.clipDepth() > 0) continue;
        const Point inner = child.matrix().inverse().apply(local);
        if (auto* button = dynamic_cast<ButtonObject*>(&child)) {
            if (button->hitTest(inner)) return button;
        } else if (auto* sub = dynamic_cast<MovieClip*>(&child)) {
            if (ButtonObject* found = findButton(*sub, inner)) return found;
        }
    }
    return nullptr;
}

} // namespace

ButtonObject* Stage::buttonAt(double x, double y) const {
    const Point stagePoint = viewMatrix().inverse().apply({x, y});
    for (auto it = levels_.rbegin(); it != levels_.rend(); ++it) {
        const MovieClip& root = *it->second.root;
        if (!root.visible()) continue;
        if (ButtonObject* found = findButton(root, root.matrix().inverse().apply(stagePoint))) return found;
    }
    return nullptr;
}

ButtonObject* Stage::button(uint64_t serial) const {
    return dynamic_cast<ButtonObject*>(context_.find(serial));
}

Point Stage::mouseOnStage() const { return viewMatrix().inverse().apply({mouseX_, mouseY_}); }

Matrix Stage::stageMatrix(const DisplayObject& object) {
    Matrix m = object.matrix();
    for (const DisplayObject* p = object.parent(); p; p = p->parent()) m = p->matrix() * m;
    return m;
}

Point Stage::mouseIn(const DisplayObject& object) const {
    return stageMatrix(object).inverse().apply(mouseOnStage());
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

void Stage::mouseMove(double x, double y) {
    // A pointer that did not move sends no event (hosts report a position
    // with each press and release).
    if (x == mouseX_ && y == mouseY_) return;
    mouseX_ = x;
    mouseY_ = y;
    followDrag();
    updateHover();
    broadcastClipEvent(swf::clipEvent::MouseMove);
}

void Stage::updateHover() {
    ButtonObject* under = buttonAt(mouseX_, mouseY_);
    if (ButtonObject* pressed = button(context_.pressed)) {
        const bool inside = under == pressed;
        if (inside != pressedInside_) {
            pressedInside_ = inside;
            if (inside) pressed->transition(ButtonObject::State::Down, swf::button::OutDownToOverDown);
            else pressed->transition(pressed->trackAsMenu() ? ButtonObject::State::Up : ButtonObject::State::Over,
                                     swf::button::OverDownToOutDown);
        }
        return;
    }
    ButtonObject* hovered = button(context_.hovered);
    if (under == hovered) return;
    if (hovered) hovered->transition(ButtonObject::State::Up, swf::button::OverUpToIdle);
    context_.hovered = under ? under->serial() : 0;
    if (under) under->transition(ButtonObject::State::Over, swf::button::IdleToOverUp);
}

void Stage::mouseDown() {
    updateHover();
    if (ButtonObject* hovered = button(context_.hovered)) {
        context_.pressed = hovered->serial();
        pressedInside_ = true;
        hovered->transition(ButtonObject::State::Down, swf::button::OverUpToOverDown);
    }
    broadcastClipEvent(swf::clipEvent::MouseDown);
}

void Stage::mouseUp() {
    ButtonObject* pressed = button(context_.pressed);
    context_.pressed = 0;
    if (pressed) {
        if (pressedInside_) {
            pressed->transition(ButtonObject::State::Over, swf::button::OverDownToOverUp);
        } else {
            pressed->transition(ButtonObject::State::Up, swf::button::OutDownToIdle);
            if (context_.hovered == pressed->serial()) context_.hovered = 0;
        }
    }
    updateHover();
    broadcastClipEvent(swf::clipEvent::MouseUp);
}

// Calls visit on every clip of every level, parents before children.
template <class Visit> void Stage::forEachClip(Visit visit) const {
    std::vector<MovieClip*> clips;
    for (auto it = levels_.rbegin(); it != levels_.rend(); ++it) clips.push_back(it->second.root.get());
    while (!clips.empty()) {
        MovieClip* clip = clips.back();
        clips.pop_back();
        visit(*clip);
        const auto& children = clip->children();
        for (auto it = children.rbegin(); it != children.rend(); ++it)
            if (auto* sub = dynamic_cast<MovieClip*>(it->second.get())) clips.push_back(sub);
    }
}

std::vector<uint64_t> Stage::executionOrder() const {
    std::vector<uint64_t> order;
    forEachClip([&order](MovieClip& clip) {
        order.push_back(clip.serial());
        for (const auto& [depth, child] : clip.children())
            if (child->kind() == DisplayObject::Kind::Button) order.push_back(child->serial());
    });
    std::sort(order.rbegin(), order.rend());
    return order;
}

void Stage::broadcastClipEvent(uint32_t event) {
    for (uint64_t serial : executionOrder())
        if (auto* clip = dynamic_cast<MovieClip*>(find(serial))) clip->queueClipEvent(event);
}

void Stage::keyPressed(uint8_t keyCode) {
    // Every button on stage that binds the key.
    forEachClip([keyCode](MovieClip& clip) {
        for (const auto& [depth, child] : clip.children())
            if (auto* button = dynamic_cast<ButtonObject*>(child.get())) button->keyPressed(keyCode);
    });
    broadcastClipEvent(swf::clipEvent::KeyDown);
}

void Stage::keyReleased() { broadcastClipEvent(swf::clipEvent::KeyUp); }

} // namespace tesmar::stage
