#include "player/bridge/SystemSecurity.h"

#include "player/Player.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/VM.h"
#include "player/stage/Context.h"

namespace tesmar::bridge {

namespace {

// Read for the movie whose code asks: a movie loaded from a server into a
// local one is still remote.
script::Value getSandboxType(script::CallContext& c) {
    script::ClipObject* asking = c.vm.currentClip();
    if (!asking) asking = c.vm.host().level(0);
    auto* clip = dynamic_cast<StageClip*>(asking);
    stage::DisplayObject* object = clip ? clip->object() : nullptr;
    if (!object) return script::Value();
    return script::Value(sandboxType(object->loadedMovie()));
}

} // namespace

std::string sandboxType(const stage::LoadedMovie& movie) {
    const std::string& url = movie.url();
    if (url.rfind("http://", 0) == 0 || url.rfind("https://", 0) == 0) return "remote";
    return movie.movie().useNetwork ? "localWithNetwork" : "localWithFile";
}

void installSystemFromHost(script::VM& vm) {
    script::Value system = vm.get(vm.global(), "System");
    script::Value capabilities = vm.getOf(system, "capabilities");
    if (capabilities.isObject()) {
        const auto [width, height] = static_cast<ScriptBridge&>(vm.host()).player().host().screenResolution();
        capabilities.object()->put("screenResolutionX", script::Value(width));
        capabilities.object()->put("screenResolutionY", script::Value(height));
    }
    script::Value security = vm.getOf(system, "security");
    if (!security.isObject()) return;
    script::Property& p = security.object()->put("sandboxType", script::Value());
    p.accessor = true;
    p.getter = vm.newNative(getSandboxType);
}

} // namespace tesmar::bridge
