#include "player/bridge/Loading.h"
#include "player/Player.h"
#include "player/bridge/Amf.h"
#include "player/bridge/LoadQueue.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/VM.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

LoadQueue& loadsOf(CallContext& c) { return bridgeOf(c).player().loads(); }

script::ClipObject* thisClip(CallContext& c) {
    if (!c.thisObject || c.thisObject->kind() != script::ObjectKind::Clip) return nullptr;
    return c.vm.liveClip(static_cast<script::ClipObject*>(c.thisObject));
}


// clip.loadMovie(url [, method]) and clip.loadVariables(url [, method]).
template <bool variables>
Value loadInto(CallContext& c) {
    script::ClipObject* clip = thisClip(c);
    if (!clip || c.count() == 0) return Value();
    script::UrlRequest request;
    request.url = c.vm.toString(c.arg(0));
    request.target = clip->targetPath();
    request.method = methodOf(c, 1);
    request.loadTarget = !variables;
    request.loadVariables = variables;
    loadsOf(c).getUrl(request, clip);
    return Value();
}

Value unloadMovie(CallContext& c) {
    script::ClipObject* clip = thisClip(c);
    if (!clip) return Value();
    if (auto target = loadsOf(c).targetOf(Value(static_cast<script::Object*>(clip)), clip)) loadsOf(c).unload(*target);
    return Value();
}

// getSWFVersion(): the version of the movie the clip shows; -1 for an image.
Value swfVersion(CallContext& c) {
    auto* clip = dynamic_cast<StageClip*>(thisClip(c));
    stage::DisplayObject* object = clip ? clip->object() : nullptr;
    if (!object) return Value();
    const swf::Movie& movie = object->loadedMovie().movie();
    return Value(loadsOf(c).isImage(movie) ? -1 : int(movie.header.version));
}

} // namespace

int methodOf(script::CallContext& c, size_t index, int otherwise) {
    if (index >= c.count()) return otherwise;
    std::string method = c.vm.toString(c.arg(index));
    for (char& ch : method) ch = char(ch >= 'a' && ch <= 'z' ? ch - 32 : ch);
    return method == "GET" ? 1 : method == "POST" ? 2 : otherwise;
}

void installLoading(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    script::Object* clip = vm.protos().movieClip;
    vm.defineNative(clip, "loadMovie", loadInto<false>);
    vm.defineNative(clip, "loadVariables", loadInto<true>);
    vm.defineNative(clip, "unloadMovie", unloadMovie);
    vm.defineNative(clip, "getSWFVersion", swfVersion);
    installMovieClipLoader(bridge);
    installLoadVars(bridge);
    installRemoting(bridge);
    installXmlSocket(bridge);
    installSharedObject(bridge);
}

} // namespace tesmar::bridge
