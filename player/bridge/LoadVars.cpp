// LoadVars: variables sent and loaded as form-encoded text; and the text
// loading that XML shares (load, sendAndLoad): the answer reaches the
// object's onData, which decodes (or parses) it and calls onLoad.
#include "player/Player.h"
#include "player/bridge/LoadQueue.h"
#include "player/bridge/Loading.h"
#include "player/bridge/ScriptBridge.h"
#include "player/script/VM.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

LoadQueue& loadsOf(CallContext& c) { return bridgeOf(c).player().loads(); }


// What the object sends: LoadVars its variables, XML its text.
std::string bodyOf(CallContext& c, bool variables) {
    if (variables) return encodeForm(formVariables(c.vm, c.thisObject));
    return c.vm.toString(Value(c.thisObject));
}

void startText(CallContext& c, script::Object* receiver, FetchRequest request) {
    receiver->put("_bytesLoaded", Value(0), script::DontEnum | script::DontDelete);
    receiver->put("_bytesTotal", Value(), script::DontEnum | script::DontDelete);
    c.vm.set(receiver, "loaded", Value(false));
    loadsOf(c).loadText(receiver, request);
}

Value load(CallContext& c) {
    if (!c.thisObject || c.count() < 1) return Value(false);
    LoadQueue& loads = loadsOf(c);
    startText(c, c.thisObject, loads.request(c.vm.toString(c.arg(0)), 0, {}));
    return Value(true);
}

// sendAndLoad(url, receiver [, method]): the answer goes to receiver.
template <bool variables>
Value sendAndLoad(CallContext& c) {
    if (!c.thisObject || c.count() < 2 || !c.arg(1).isObject()) return Value(false);
    LoadQueue& loads = loadsOf(c);
    const int method = methodOf(c, 2, 2);
    const std::string url = c.vm.toString(c.arg(0));
    FetchRequest request;
    if (variables) {
        request = loads.request(url, method, formVariables(c.vm, c.thisObject));
    } else {
        request = loads.request(url, 2, {});
        const std::string body = bodyOf(c, false);
        request.body.assign(body.begin(), body.end());
        request.contentType = c.vm.toString(c.vm.get(c.thisObject, "contentType"));
    }
    startText(c, c.arg(1).object(), std::move(request));
    return Value(true);
}

// send(url [, window, method]): shows the answer in the browser.
Value send(CallContext& c) {
    if (!c.thisObject || c.count() < 1) return Value(false);
    const std::string target = c.count() > 1 ? c.vm.toString(c.arg(1)) : "";
    loadsOf(c).navigate(c.vm.toString(c.arg(0)), target, methodOf(c, 2, 2), formVariables(c.vm, c.thisObject));
    return Value(true);
}

Value decode(CallContext& c) {
    if (!c.thisObject || c.count() < 1) return Value();
    for (const auto& [name, value] : decodeForm(c.vm.toString(c.arg(0)))) c.vm.set(c.thisObject, name, Value(value));
    return Value();
}

Value toString(CallContext& c) {
    if (!c.thisObject) return Value("");
    return Value(encodeForm(formVariables(c.vm, c.thisObject)));
}

template <bool loaded>
Value getBytes(CallContext& c) {
    if (!c.thisObject) return Value();
    return c.vm.get(c.thisObject, loaded ? "_bytesLoaded" : "_bytesTotal");
}

// The answer: decoded into the object, then onLoad(success).
Value onData(CallContext& c) {
    if (!c.thisObject) return Value();
    const bool ok = c.count() > 0 && !c.arg(0).isUndefined();
    if (ok) {
        c.vm.callMethod(Value(c.thisObject), "decode", {c.arg(0)});
        c.vm.set(c.thisObject, "loaded", Value(true));
    }
    c.vm.callMethod(Value(c.thisObject), "onLoad", {Value(ok)});
    return Value();
}

Value nothing(CallContext&) { return Value(); }

} // namespace

void installLoadVars(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    script::FunctionObject* loadVars = vm.newNative(nothing);
    script::Object* proto = vm.attachPrototype(loadVars);
    vm.defineNative(proto, "load", load);
    vm.defineNative(proto, "send", send);
    vm.defineNative(proto, "sendAndLoad", sendAndLoad<true>);
    vm.defineNative(proto, "decode", decode);
    vm.defineNative(proto, "toString", toString);
    vm.defineNative(proto, "getBytesLoaded", getBytes<true>);
    vm.defineNative(proto, "getBytesTotal", getBytes<false>);
    vm.defineNative(proto, "onData", onData);
    vm.defineNative(proto, "onLoad", nothing);
    proto->put("contentType", Value("application/x-www-form-urlencoded"), script::DontEnum);
    vm.global()->put("LoadVars", Value(static_cast<script::Object*>(loadVars)), script::DontEnum);

    // XML loads its text the same way; its own onData parses it.
    const Value xml = vm.get(vm.global(), "XML");
    if (!xml.isObject()) return;
    const Value xmlProto = vm.get(xml.object(), "prototype");
    if (!xmlProto.isObject()) return;
    vm.defineNative(xmlProto.object(), "load", load);
    vm.defineNative(xmlProto.object(), "sendAndLoad", sendAndLoad<false>);
}

} // namespace tesmar::bridge
