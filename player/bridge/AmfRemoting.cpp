// NetConnection.call and addHeader: calls to a remoting gateway. The calls
// a frame makes go together in one AMF0 request after the frame; the
// gateway's answer names each call's responder method ("/2/onResult"),
// which then hears the value. A request that fails tells the connection's
// onStatus, without details.
#include "player/Player.h"
#include "player/bridge/Amf.h"
#include "player/bridge/LoadQueue.h"
#include "player/bridge/Loading.h"
#include "player/bridge/ScriptBridge.h"
#include "player/script/AmfReader.h"
#include "player/script/AmfWriter.h"
#include "player/script/BuiltinNetConnection.h"

#include <charconv>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::NetConnectionObject;
using script::Object;
using script::Value;

// A framed value: its length, then the value.
void framedValue(script::AmfWriter& out, script::VM& vm, ScriptBridge& bridge, const Value& value) {
    script::AmfWriter inner = amfWriter(vm, bridge);
    inner.value(value);
    out.u32(uint32_t(inner.bytes().size()));
    out.bytes().insert(out.bytes().end(), inner.bytes().begin(), inner.bytes().end());
}

std::vector<uint8_t> requestBody(script::VM& vm, ScriptBridge& bridge, NetConnectionObject& connection) {
    script::AmfWriter out = amfWriter(vm, bridge);
    out.u16(0);   // AMF0
    out.u16(uint16_t(std::min<size_t>(connection.headers.size(), 0xFFFF)));
    for (const auto& header : connection.headers) {
        out.name(header.name);
        out.u8(header.mustUnderstand ? 1 : 0);
        framedValue(out, vm, bridge, header.value);
    }
    out.u16(uint16_t(std::min<size_t>(connection.queued.size(), 0xFFFF)));
    for (const auto& call : connection.queued) {
        out.name(call.method);
        out.name("/" + std::to_string(call.id));
        framedValue(out, vm, bridge, Value(static_cast<Object*>(vm.newArray(call.args))));
    }
    return std::move(out.bytes());
}

// "/12/onResult": the call number and the responder's method.
bool responseTarget(const std::string& target, int& id, std::string& method) {
    if (target.size() < 2 || target[0] != '/') return false;
    const size_t slash = target.find('/', 1);
    if (slash == std::string::npos) return false;
    const auto [end, error] = std::from_chars(target.data() + 1, target.data() + slash, id);
    if (error != std::errc() || end != target.data() + slash) return false;
    method = target.substr(slash + 1);
    return true;
}

void answer(script::VM& vm, NetConnectionObject* connection, std::span<const uint8_t> bytes) {
    script::AmfReader in(vm, bytes);
    in.u16();
    const uint16_t headers = in.u16();
    for (uint16_t i = 0; i < headers && in.ok(); ++i) {
        in.name();
        in.u8();
        in.u32();
        in.value();
    }
    const uint16_t messages = in.u16();
    for (uint16_t i = 0; i < messages && in.ok(); ++i) {
        const std::string target = in.name();
        in.name();
        in.u32();
        const Value result = in.value();
        int id = 0;
        std::string method;
        if (!in.ok() || !responseTarget(target, id, method)) break;
        auto it = connection->responders.find(id);
        if (it == connection->responders.end()) continue;
        const Value responder = it->second;
        connection->responders.erase(it);
        vm.callSafely(vm.getOf(responder, method), responder, {result});
    }
}

void send(script::VM& vm, ScriptBridge& bridge, NetConnectionObject* connection) {
    connection->sendScheduled = false;
    if (connection->queued.empty() || connection->link != NetConnectionObject::Link::Remote) return;
    LoadQueue& loads = bridge.player().loads();
    FetchRequest request = loads.request(connection->gateway, 0, {});
    request.post = true;
    request.contentType = "application/x-amf";
    request.body = requestBody(vm, bridge, *connection);
    connection->queued.clear();
    loads.loadBytes(connection, request, [&vm, connection](bool ok, std::span<const uint8_t> bytes) {
        if (ok) answer(vm, connection, bytes);
        else vm.callSafely(vm.get(connection->owner, "onStatus"), Value(connection->owner), {});
    });
}

// call(method, responder, args...): queued for the request at the end of the tick.
Value call(CallContext& c) {
    auto* connection = script::connectionOf(c.vm, c.thisObject);
    if (!connection || connection->link != NetConnectionObject::Link::Remote || c.count() < 1) return Value();
    NetConnectionObject::Call queued;
    queued.method = c.vm.toString(c.arg(0));
    queued.id = connection->nextCall++;
    for (size_t i = 2; i < c.count(); ++i) queued.args.push_back(c.arg(i));
    if (c.arg(1).isObject()) connection->responders[queued.id] = c.arg(1);
    connection->queued.push_back(std::move(queued));
    if (!connection->sendScheduled) {
        connection->sendScheduled = true;
        script::VM* vm = &c.vm;
        ScriptBridge* bridge = &bridgeOf(c);
        bridge->player().loads().sendAtEndOfTick(connection, [vm, bridge, connection] { send(*vm, *bridge, connection); });
    }
    return Value(true);
}

// addHeader(name, mustUnderstand, value): replaces a header of that name.
Value addHeader(CallContext& c) {
    auto* connection = script::connectionOf(c.vm, c.thisObject);
    if (!connection || c.count() < 1) return Value();
    const std::string name = c.vm.toString(c.arg(0));
    NetConnectionObject::Header* header = nullptr;
    for (auto& h : connection->headers)
        if (h.name == name) header = &h;
    if (!header) {
        connection->headers.push_back({name, false, Value()});
        header = &connection->headers.back();
    }
    if (c.count() >= 2) header->mustUnderstand = c.vm.toBoolean(c.arg(1));
    header->value = c.arg(2).isUndefined() ? Value::null() : c.arg(2);
    return Value();
}

} // namespace

script::AmfWriter amfWriter(script::VM& vm, ScriptBridge& bridge) {
    return script::AmfWriter(vm, [&bridge](Object* constructor) { return bridge.classAlias(constructor); });
}

void installRemoting(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    const Value cls = vm.get(vm.global(), "NetConnection");
    if (!cls.isObject()) return;
    const Value proto = vm.get(cls.object(), "prototype");
    if (!proto.isObject()) return;
    vm.defineNative(proto.object(), "call", call);
    vm.defineNative(proto.object(), "addHeader", addHeader);
}

} // namespace tesmar::bridge
