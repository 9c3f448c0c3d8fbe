// XMLSocket: a socket link that carries zero-terminated texts. connect asks
// the host for the link and onConnect hears whether it came; every text
// that arrives goes to onData, whose default makes an XML object of it for
// onXML; onClose hears that the other side ended the link. A link the
// movie closes itself is silent.
#include "player/Player.h"
#include "player/bridge/LoadQueue.h"
#include "player/bridge/Loading.h"
#include "player/bridge/ScriptBridge.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Object;
using script::Value;

class XmlSocketObject : public Object {
public:
    explicit XmlSocketObject(script::Heap& heap) : Object(heap) {}
    uint32_t link = 0;     // the open link, 0 for none
    std::string partial;   // a text whose terminating zero has not come yet
};

// A text may not grow without end while its zero never comes.
constexpr size_t kMaxText = 16u << 20;

LoadQueue& loadsOf(CallContext& c) { return bridgeOf(c).player().loads(); }

void closeLink(LoadQueue& loads, XmlSocketObject* socket) {
    if (socket->link) loads.closeSocket(socket->link);
    socket->link = 0;
    socket->partial.clear();
}

void received(script::VM& vm, XmlSocketObject* socket, std::span<const uint8_t> bytes) {
    const uint32_t link = socket->link;
    for (uint8_t byte : bytes) {
        if (byte != 0) {
            if (socket->partial.size() < kMaxText) socket->partial += char(byte);
            continue;
        }
        std::string text;
        text.swap(socket->partial);
        vm.callSafely(vm.get(socket, "onData"), Value(static_cast<Object*>(socket)), {Value(text)});
        // A handler that closed (or reopened) the link ends this delivery.
        if (socket->link != link) return;
    }
}

void onEvent(script::VM& vm, XmlSocketObject* socket, SocketEvent event, std::span<const uint8_t> bytes) {
    const Value self(static_cast<Object*>(socket));
    switch (event) {
    case SocketEvent::Connected: vm.callSafely(vm.get(socket, "onConnect"), self, {Value(true)}); break;
    case SocketEvent::Refused:
        socket->link = 0;
        vm.callSafely(vm.get(socket, "onConnect"), self, {Value(false)});
        break;
    case SocketEvent::Data: received(vm, socket, bytes); break;
    case SocketEvent::Closed:
        socket->link = 0;
        socket->partial.clear();
        vm.callSafely(vm.get(socket, "onClose"), self, {});
        break;
    }
}

// The host of the movie's own address, which connect(null) means.
std::string movieHost(const std::string& url) {
    const size_t scheme = url.find("://");
    if (scheme == std::string::npos || url.compare(0, scheme, "file") == 0) return "localhost";
    const size_t start = scheme + 3;
    return url.substr(start, url.find_first_of(":/", start) - start);
}

Value connect(CallContext& c) {
    auto* socket = dynamic_cast<XmlSocketObject*>(c.thisObject);
    if (!socket) return Value(false);
    LoadQueue& loads = loadsOf(c);
    closeLink(loads, socket);
    const std::string host =
        c.arg(0).isNullish() ? movieHost(bridgeOf(c).player().url()) : c.vm.toString(c.arg(0));
    const int port = c.vm.toInt32(c.arg(1));
    script::VM* vm = &c.vm;
    // The link's news comes with later ticks, when socket->link is set.
    socket->link = loads.openSocket(socket, host, port, [vm, socket](SocketEvent event, std::span<const uint8_t> bytes) {
        onEvent(*vm, socket, event, bytes);
    });
    return Value(true);
}

Value send(CallContext& c) {
    auto* socket = dynamic_cast<XmlSocketObject*>(c.thisObject);
    if (!socket || !socket->link || c.count() < 1) return Value();
    std::string text = c.vm.toString(c.arg(0));
    text += '\0';
    loadsOf(c).sendSocket(socket->link, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
    return Value();
}

Value close(CallContext& c) {
    if (auto* socket = dynamic_cast<XmlSocketObject*>(c.thisObject)) closeLink(loadsOf(c), socket);
    return Value();
}

// The default onData: the text as an XML document, for onXML.
Value onData(CallContext& c) {
    if (!c.thisObject) return Value();
    const Value xml = c.vm.construct(c.vm.get(c.vm.global(), "XML"), {c.arg(0)});
    c.vm.callMethod(c.thisValue, "onXML", {xml});
    return Value();
}

Value construct(CallContext& c) {
    if (!c.constructing || !c.thisObject) return Value();
    auto* socket = c.vm.heap().make<XmlSocketObject>();
    for (const script::Property& p : c.thisObject->properties()) socket->put(p.name, p.value, p.flags);
    return Value(static_cast<Object*>(socket));
}

} // namespace

void installXmlSocket(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    script::FunctionObject* cls = vm.newNative(construct);
    Object* proto = vm.attachPrototype(cls);
    vm.defineNative(proto, "connect", connect);
    vm.defineNative(proto, "send", send);
    vm.defineNative(proto, "close", close);
    vm.defineNative(proto, "onData", onData);
    vm.global()->put("XMLSocket", Value(static_cast<Object*>(cls)), script::DontEnum);
}

} // namespace tesmar::bridge
