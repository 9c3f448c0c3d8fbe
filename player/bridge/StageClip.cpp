#include "player/bridge/StageClip.h"
#include <algorithm>
#include "player/bridge/ClipEditing.h"
#include "player/bridge/ScriptBridge.h"
#include "player/stage/EditText.h"
#include "player/script/VM.h"

namespace tesmar::bridge {

StageClip::StageClip(script::Heap& heap, ScriptBridge& bridge, stage::DisplayObject& object)
    : ClipObject(heap), bridge_(bridge), serial_(object.serial()), version_(object.loadedMovie().version()),
      movieClip_(object.kind() == stage::DisplayObject::Kind::Clip) {
    targetPath();
    slashPath();
}

stage::DisplayObject* StageClip::object() const { return bridge_.stage().find(serial_); }

stage::MovieClip* StageClip::clip() const { return dynamic_cast<stage::MovieClip*>(object()); }

script::ClipObject* StageClip::parentClip() {
    stage::DisplayObject* self = object();
    return self && self->parent() ? bridge_.objectFor(self->parent()) : nullptr;
}

script::ClipObject* StageClip::rootClip() {
    stage::DisplayObject* top = object();
    if (!top) return this;
    // A clip with _lockroot set is the root of everything inside it.
    auto locksRoot = [this](stage::DisplayObject* o) {
        StageClip* clip = bridge_.objectFor(o);
        const script::Property* lock = clip ? clip->findOwn("_lockroot") : nullptr;
        return lock && bridge_.vm()->toBoolean(lock->value);
    };
    while (top->parent() && !locksRoot(top)) top = top->parent();
    return bridge_.objectFor(top);
}

script::ClipObject* StageClip::childClip(std::string_view name) {
    stage::MovieClip* self = clip();
    if (!self) return nullptr;
    const std::string key = heap().key(name);
    for (const auto& [depth, child] : self->children()) {
        if (child->name().empty() || heap().key(child->name()) != key) continue;
        // Shapes and static texts have no script object: their names lead
        // to the clip that holds them.
        const bool reachable = child->kind() == stage::DisplayObject::Kind::Clip ||
                               child->kind() == stage::DisplayObject::Kind::Button ||
                               dynamic_cast<const stage::EditText*>(child.get());
        return reachable ? bridge_.objectFor(child.get()) : this;
    }
    return nullptr;
}

std::vector<std::string> StageClip::names() {
    std::vector<std::string> parts;
    // A level is named by its number in paths, whatever its _name says.
    for (stage::DisplayObject* o = object(); o; o = o->parent())
        parts.push_back(o->parent() ? o->name() : "_level" + std::to_string(o->depth()));
    std::reverse(parts.begin(), parts.end());
    return parts;
}

std::string StageClip::targetPath() {
    if (!object()) return lastPath_;
    std::string path;
    for (const std::string& part : names()) path += (path.empty() ? "" : ".") + part;
    return lastPath_ = path;
}

std::string StageClip::slashPath() {
    if (!object()) return lastSlashPath_;
    std::vector<std::string> parts = names();
    // Level 0 is "/", other levels keep their name: "_level1/a".
    std::string path = parts.empty() || parts[0] == "_level0" ? "" : parts[0];
    for (size_t i = 1; i < parts.size(); ++i) path += "/" + parts[i];
    if (path.empty()) path = "/";
    return lastSlashPath_ = path;
}

int StageClip::currentFrame() {
    stage::MovieClip* self = clip();
    return self ? self->currentFrame() : 0;
}

int StageClip::totalFrames() {
    stage::MovieClip* self = clip();
    return self ? self->totalFrames() : 0;
}

int StageClip::framesLoaded() {
    stage::MovieClip* self = clip();
    return self ? self->framesLoaded() : 0;
}

void StageClip::gotoFrame(int frame, bool play) {
    if (stage::MovieClip* self = clip()) self->gotoFrame(frame, play);
}

int StageClip::labelFrame(std::string_view label) {
    stage::MovieClip* self = clip();
    return self ? self->labelFrame(label) : 0;
}

std::vector<script::ActionBytes> StageClip::frameScripts(int frame) {
    std::vector<script::ActionBytes> blocks;
    stage::MovieClip* self = clip();
    if (!self || frame < 1 || frame > self->totalFrames()) return blocks;
    const auto& movie = self->loadedMovie().shared();
    for (const swf::Bytes& bytes : self->timeline().frames[size_t(frame - 1)].actions)
        blocks.push_back(script::ActionBytes(movie, &bytes));
    return blocks;
}

void StageClip::play() {
    if (stage::MovieClip* self = clip()) self->play();
}

void StageClip::stop() {
    if (stage::MovieClip* self = clip()) self->stop();
}

void StageClip::duplicate(const std::string& name, int depth) {
    if (stage::DisplayObject* self = object()) duplicateClip(bridge_, *self, name, depth);
}

void StageClip::removeSelf() {
    stage::DisplayObject* self = object();
    if (!self || !removable(*self)) return;
    bridge_.focus().leaving(*self);
    removeClip(*self);
}

void StageClip::startDrag(bool lockCenter, std::optional<std::array<double, 4>> bounds) {
    if (stage::DisplayObject* self = object()) bridge_.stage().startDrag(*self, lockCenter, bounds);
}

} // namespace tesmar::bridge
