#include "player/bridge/ScriptBridge.h"
#include <cmath>
#include "player/Player.h"
#include "player/bridge/ButtonClass.h"
#include "player/bridge/ClipMethods.h"
#include "player/bridge/DrawingMethods.h"
#include "player/bridge/LoadQueue.h"
#include "player/bridge/Loading.h"
#include "player/bridge/KeyMouseObjects.h"
#include "player/bridge/GeomClasses.h"
#include "player/bridge/SoundObject.h"
#include "player/bridge/StageClip.h"
#include "player/bridge/SystemSecurity.h"
#include "player/bridge/TextField.h"
#include "player/swf/PlaceReader.h"

namespace tesmar::bridge {

namespace {

// Collect unreachable script objects every this many ticks.
constexpr uint64_t kCollectEvery = 30;

} // namespace

const char* eventMethodName(uint32_t clipEvent) {
    namespace e = swf::clipEvent;
    switch (clipEvent) {
    case e::Load: return "onLoad";
    case e::EnterFrame: return "onEnterFrame";
    case e::Unload: return "onUnload";
    case e::MouseMove: return "onMouseMove";
    case e::MouseDown: return "onMouseDown";
    case e::MouseUp: return "onMouseUp";
    case e::Data: return "onData";
    case e::Press: return "onPress";
    case e::Release: return "onRelease";
    case e::ReleaseOutside: return "onReleaseOutside";
    case e::RollOver: return "onRollOver";
    case e::RollOut: return "onRollOut";
    case e::DragOver: return "onDragOver";
    case e::DragOut: return "onDragOut";
    default: return nullptr;
    }
}

ScriptBridge::ScriptBridge(Player& player, stage::Stage& stage, Host& host)
    : player_(player), stage_(stage), host_(host) {}

ScriptBridge::~ScriptBridge() {
    // The machine's heap owns the clip objects.
    clips_.clear();
    vm_.reset();
}

void ScriptBridge::start(const swf::Movie& movie) {
    if (vm_) return;
    startMs_ = host_.nowMs();
    script::Limits limits;
    if (movie.maxRecursionDepth > 0) limits.maxCallDepth = movie.maxRecursionDepth;
    vm_ = std::make_unique<script::VM>(*this, movie.header.version, limits);
    installClipMethods(*this);
    installDrawingMethods(*vm_);
    installTextField(*this);
    installLoading(*this);
    installSound(*this);
    installSystemFromHost(*vm_);
    installInputObjects(*this);
    installGeomClasses(*this);
}

StageClip* ScriptBridge::objectFor(stage::DisplayObject* object) {
    if (!object || !vm_) return nullptr;
    auto it = clips_.find(object->serial());
    if (it != clips_.end()) return it->second;
    auto* clip = vm_->heap().make<StageClip>(*this, *object);
    clip->setProto(object->kind() == stage::DisplayObject::Kind::Clip ? vm_->protos().movieClip
                   : dynamic_cast<stage::EditText*>(object)          ? textFieldPrototype(*vm_)
                   : object->kind() == stage::DisplayObject::Kind::Button ? buttonPrototype(*vm_)
                                                                       : vm_->protos().object);
    object->setScripted();
    clips_[object->serial()] = clip;
    if (script::Value constructor = registeredClass(*object); constructor.isObject()) {
        script::Value prototype = vm_->get(constructor.object(), "prototype");
        if (prototype.isObject()) clip->setProto(prototype.object());
        unconstructed_[object->serial()] = constructor;
    }
    return clip;
}

namespace {

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

} // namespace

void ScriptBridge::registerClass(const std::string& exportName, const script::Value& constructor) {
    if (constructor.isObject()) classes_[lowerAscii(exportName)] = constructor;
    else classes_.erase(lowerAscii(exportName));
    // Names are case-sensitive from SWF 7 on.
    const bool caseless = vm_ && vm_->swfVersion() < 7;
    std::erase_if(aliases_, [&](const auto& alias) {
        return caseless ? lowerAscii(alias.first) == lowerAscii(exportName) : alias.first == exportName;
    });
    if (constructor.isObject()) aliases_.emplace_back(exportName, constructor);
}

std::string ScriptBridge::classAlias(script::Object* constructor) const {
    for (auto it = aliases_.rbegin(); it != aliases_.rend(); ++it)
        if (it->second.object() == constructor) return it->first;
    return {};
}

script::Value ScriptBridge::registeredClass(stage::DisplayObject& object) {
    if (classes_.empty() || object.characterId() == 0 || object.kind() != stage::DisplayObject::Kind::Clip)
        return {};
    for (const auto& [name, id] : object.loadedMovie().movie().exports) {
        if (id != object.characterId()) continue;
        auto it = classes_.find(lowerAscii(name));
        if (it != classes_.end()) return it->second;
    }
    return {};
}

void ScriptBridge::construct(StageClip* clip) {
    auto it = unconstructed_.find(clip->serial());
    if (it == unconstructed_.end()) return;
    script::Value constructor = it->second;
    unconstructed_.erase(it);
    vm_->callSafely(constructor, script::Value(static_cast<script::Object*>(clip)), {});
}

void ScriptBridge::beginTick() {
    if (vm_) vm_->beginFrame();
}

void ScriptBridge::run(const stage::QueuedActions& queued) {
    if (!vm_) return;
    stage::DisplayObject* object = stage_.find(queued.clip);
    StageClip* clip = nullptr;
    if (object) {
        // A load event of an unscripted clip matters only to a registered class.
        if (!queued.actions && !object->scripted() && registeredClass(*object).isUndefined()) return;
        clip = objectFor(object);
    } else if (queued.source == stage::QueuedActions::Source::ClipEvent &&
               queued.clipEvent == swf::clipEvent::Unload) {
        // Unload handlers run after the clip has gone, on what is left of it.
        auto it = clips_.find(queued.clip);
        if (it != clips_.end()) clip = it->second;
    }
    if (!clip) return;
    construct(clip);
    if (queued.source == stage::QueuedActions::Source::Frame) updateBoundFields(*this);
    if (queued.actions) {
        const std::shared_ptr<const void> owner =
            queued.clipActions ? std::shared_ptr<const void>(queued.clipActions) : std::shared_ptr<const void>(queued.movie);
        vm_->runActions(script::ActionBytes(owner, queued.actions), clip);
        return;
    }
    if (queued.source == stage::QueuedActions::Source::ClipEvent) callEventMethod(clip, queued.clipEvent);
}

void ScriptBridge::callEventMethod(StageClip* clip, uint32_t event) {
    const char* name = eventMethodName(event);
    if (!name || vm_->swfVersion() < 6 || vm_->stopped()) return;
    script::Value method = clip->removed() ? script::Value() : vm_->get(clip, name);
    if (!method.isObject() && event == swf::clipEvent::Unload) {
        script::Property* p = vm_->findProperty(clip, name);
        if (p && !p->accessor) method = p->value;
    }
    if (method.isObject() && method.object()->kind() == script::ObjectKind::Function)
        vm_->callSafely(method, script::Value(static_cast<script::Object*>(clip)), {});
}

void ScriptBridge::endTick() {
    if (!vm_) return;
    updateBoundFields(*this);
    vm_->runIntervals();
    if (++ticks_ % kCollectEvery != 0) return;
    for (auto it = clips_.begin(); it != clips_.end();) {
        if (!stage_.find(it->first)) {
            unconstructed_.erase(it->first);
            it = clips_.erase(it);
        } else {
            ++it;
        }
    }
    vm_->collectGarbage();
}

script::ClipObject* ScriptBridge::level(int number) { return objectFor(stage_.level(number)); }

void ScriptBridge::trace(const std::string& line) { host_.trace(line); }

double ScriptBridge::timeMs() { return host_.nowMs() - startMs_; }

double ScriptBridge::wallClockMs() { return host_.wallClockMs(); }

double ScriptBridge::localOffsetMinutes() { return host_.localOffsetMinutes(); }

void ScriptBridge::getUrl(const script::UrlRequest& request, script::ClipObject* caller) {
    player_.loads().getUrl(request, caller);
}

void ScriptBridge::fsCommand(const std::string& command, const std::string& args) { host_.fsCommand(command, args); }

void ScriptBridge::stopDrag() { stage_.stopDrag(); }

void ScriptBridge::traceRoots(script::Tracer& tracer) {
    for (const auto& [serial, clip] : clips_) tracer.mark(clip);
    for (const auto& [name, constructor] : classes_) tracer.mark(constructor);
    for (const auto& [name, constructor] : aliases_) tracer.mark(constructor);
    for (const auto& [serial, constructor] : unconstructed_) tracer.mark(constructor);
    player_.loads().traceRoots(tracer);
}

} // namespace tesmar::bridge
