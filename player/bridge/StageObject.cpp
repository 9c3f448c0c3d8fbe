// The Stage object's own properties: its size, scale mode, alignment and
// display state. The object and its listener methods come from the script
// machine; a change of the size or of the display state is broadcast to
// the listeners (onResize, onFullScreen).
#include <cmath>
#include "player/bridge/ScriptBridge.h"
#include "player/script/VM.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

stage::Stage& stageOf(CallContext& c) { return static_cast<ScriptBridge&>(c.vm.host()).stage(); }

// The stage size scripts see: the movie's, or the view's when it is not scaled.
std::pair<double, double> visibleSize(const stage::Stage& stage) {
    if (stage.fit().scale == stage::ViewFit::Scale::NoScale) return {stage.viewWidth(), stage.viewHeight()};
    return {std::round(stage.stageRect().width() / 20), std::round(stage.stageRect().height() / 20)};
}

void broadcast(CallContext& c, const char* message, std::vector<Value> args) {
    if (!c.thisObject) return;
    const Value send = c.vm.get(c.thisObject, "broadcastMessage");
    args.insert(args.begin(), Value(message));
    c.vm.callSafely(send, Value(c.thisObject), args);
}

// Applies a new fit; a change of the visible size tells the listeners.
void refit(CallContext& c, const stage::ViewFit& fit) {
    stage::Stage& stage = stageOf(c);
    const auto before = visibleSize(stage);
    stage.setFit(fit);
    if (visibleSize(stage) != before) broadcast(c, "onResize", {});
}

Value getWidth(CallContext& c) { return Value(visibleSize(stageOf(c)).first); }
Value getHeight(CallContext& c) { return Value(visibleSize(stageOf(c)).second); }

Value getScaleMode(CallContext& c) { return Value(stage::scaleName(stageOf(c).fit().scale)); }

Value setScaleMode(CallContext& c) {
    stage::ViewFit fit = stageOf(c).fit();
    fit.scale = stage::scaleFromName(c.vm.toString(c.arg(0)));
    refit(c, fit);
    return Value();
}

Value getAlign(CallContext& c) { return Value(stage::alignText(stageOf(c).fit().align)); }

Value setAlign(CallContext& c) {
    stage::ViewFit fit = stageOf(c).fit();
    fit.align = stage::alignFromText(c.vm.toString(c.arg(0)));
    refit(c, fit);
    return Value();
}

Value getDisplayState(CallContext& c) { return Value(stageOf(c).fit().fullScreen ? "fullScreen" : "normal"); }

// Only the two known names (in any case) change the state.
Value setDisplayState(CallContext& c) {
    std::string name = c.vm.toString(c.arg(0));
    for (char& ch : name) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    if (name != "fullscreen" && name != "normal") return Value();
    stage::ViewFit fit = stageOf(c).fit();
    const bool full = name == "fullscreen";
    if (fit.fullScreen == full) return Value();
    fit.fullScreen = full;
    stageOf(c).setFit(fit);
    broadcast(c, "onFullScreen", {Value(full)});
    return Value();
}

void defineAccessor(script::VM& vm, script::Object* on, const char* name, script::NativeFunction get,
                    script::NativeFunction set) {
    script::Property& p = on->put(name, Value(), script::DontEnum | script::DontDelete);
    p.accessor = true;
    p.getter = vm.newNative(get);
    if (set) p.setter = vm.newNative(set);
}

} // namespace

void installStageObject(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    const Value stageObject = vm.get(vm.global(), "Stage");
    if (!stageObject.isObject()) return;
    script::Object* on = stageObject.object();
    defineAccessor(vm, on, "width", getWidth, nullptr);
    defineAccessor(vm, on, "height", getHeight, nullptr);
    defineAccessor(vm, on, "scaleMode", getScaleMode, setScaleMode);
    defineAccessor(vm, on, "align", getAlign, setAlign);
    defineAccessor(vm, on, "displayState", getDisplayState, setDisplayState);
}

} // namespace tesmar::bridge
