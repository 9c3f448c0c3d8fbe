// NetConnection: the link to a media or remoting server. connect(null) makes
// the local connection that progressive streams use; an http address names
// a remoting gateway, whose calls the bridge sends. Status changes reach
// `onStatus`.

#include "player/script/BuiltinNetConnection.h"
#include "player/script/VM.h"

namespace tesmar::script {

void NetConnectionObject::reset()
{
    link = Link::None;
    gateway.clear();
    headers.clear();
    queued.clear();
    responders.clear();
    nextCall = 1;
}

void NetConnectionObject::trace(Tracer& tracer)
{
    Object::trace(tracer);
    for (const Header& header : headers) tracer.mark(header.value);
    for (const Call& call : queued)
        for (const Value& arg : call.args) tracer.mark(arg);
    for (const auto& [id, responder] : responders) tracer.mark(responder);
}

namespace {

using Link = NetConnectionObject::Link;

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
    connection->reset();
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
        connection->gateway = address;
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
