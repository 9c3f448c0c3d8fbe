// NetConnection: the link to a media or remoting server. connect(null) makes
// the local connection that progressive streams use; an http address names
// a remoting gateway, which the player records but does not call (a screen
// saver has no server to talk to). Status changes reach `onStatus`.

#include "player/script/VM.h"

namespace tesmar::script {

namespace {

enum class Link { None, Local, Remote };

// Kept on the object itself, hidden from scripts, so that a copied or
// inherited object has no link of its own.
class NetConnectionObject : public Object {
public:
    explicit NetConnectionObject(Heap& heap) : Object(heap) {}
    Link link = Link::None;
};

void reportStatus(VM& vm, Object* connection, const char* code)
{
    Object* info = vm.newObject();
    info->put("code", Value(code));
    info->put("level", Value("status"));
    vm.callMethod(Value(connection), "onStatus", {Value(info)});
}

// Ends the current link, telling the movie when there was one.
void closeLink(VM& vm, NetConnectionObject* connection)
{
    Link was = connection->link;
    connection->link = Link::None;
    if (was == Link::None) return;
    reportStatus(vm, connection, "NetConnection.Connect.Closed");
    // A gateway link also ends its call queue, which reports without details.
    if (was == Link::Remote) vm.callMethod(Value(static_cast<Object*>(connection)), "onStatus", {});
}

Value connect(CallContext& c)
{
    auto* connection = dynamic_cast<NetConnectionObject*>(c.thisObject);
    if (!connection) return Value();
    closeLink(c.vm, connection);
    if (c.arg(0).isNull()) {
        connection->link = Link::Local;
        reportStatus(c.vm, connection, "NetConnection.Connect.Success");
        return Value(true);
    }
    std::string address = c.vm.toString(c.arg(0));
    if (address.rfind("http://", 0) == 0 || address.rfind("https://", 0) == 0) {
        connection->link = Link::Remote;
        return Value(true);
    }
    return Value(false);
}

Value close(CallContext& c)
{
    if (auto* connection = dynamic_cast<NetConnectionObject*>(c.thisObject)) closeLink(c.vm, connection);
    return Value();
}

Value construct(CallContext& c)
{
    if (!c.constructing || !c.thisObject) return Value();
    auto* connection = c.vm.heap().make<NetConnectionObject>();
    for (const Property& p : c.thisObject->properties()) connection->put(p.name, p.value, p.flags);
    return Value(static_cast<Object*>(connection));
}

} // namespace

void installNetConnection(VM& vm)
{
    FunctionObject* cls = vm.newNative(construct);
    Object* proto = vm.attachPrototype(cls);
    vm.defineNative(proto, "connect", connect, DontEnum | DontDelete);
    vm.defineNative(proto, "close", close, DontEnum | DontDelete);
    vm.global()->put("NetConnection", Value(static_cast<Object*>(cls)), DontEnum);
}

} // namespace tesmar::script
