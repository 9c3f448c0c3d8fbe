// NetConnection: the link to a media or remoting server. connect(null) makes
// the local connection that progressive streams use; an http address names
// a remoting gateway, whose calls the bridge sends. Status changes reach
// `onStatus`.

#include "player/script/BuiltinNetConnection.h"
#include "player/script/VM.h"

#include <unordered_map>

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
    tracer.mark(owner);
    for (const Header& header : headers) tracer.mark(header.value);
    for (const Call& call : queued)
        for (const Value& arg : call.args) tracer.mark(arg);
    for (const auto& [id, responder] : responders) tracer.mark(responder);
}

namespace {

using Link = NetConnectionObject::Link;

// The constructor keeps the state of subclass instances, which are plain
// objects: super() cannot make them connections themselves.
class NetConnectionClass : public FunctionObject {
public:
    NetConnectionClass(Heap& heap, NativeFunction native) : FunctionObject(heap, native) {}
    std::unordered_map<Object*, NetConnectionObject*> subclassed;
    void trace(Tracer& tracer) override
    {
        FunctionObject::trace(tracer);
        for (const auto& [owner, state] : subclassed) tracer.mark(state);
    }
};

NetConnectionClass* connectionClass(VM& vm)
{
    const Value cls = vm.get(vm.global(), "NetConnection");
    return cls.isObject() ? dynamic_cast<NetConnectionClass*>(cls.object()) : nullptr;
}

void reportStatus(VM& vm, Object* connection, const char* code)
{
    Object* info = vm.newObject();
    info->put("code", Value(code));
    info->put("level", Value("status"));
    vm.callMethod(Value(connection), "onStatus", {Value(info)});
}

// Ends the current link, telling the movie when there was one.
// byClose: close() ended it, rather than a new connect().
void closeLink(VM& vm, NetConnectionObject* connection, bool byClose)
{
    Link was = connection->link;
    connection->reset();
    if (was == Link::None) return;
    reportStatus(vm, connection->owner, "NetConnection.Connect.Closed");
    // close() also ends a gateway link's call queue, which reports without details.
    if (was == Link::Remote && byClose) vm.callMethod(Value(connection->owner), "onStatus", {});
}

Value connect(CallContext& c)
{
    auto* connection = connectionOf(c.vm, c.thisObject);
    if (!connection) return Value();
    closeLink(c.vm, connection, false);
    if (c.arg(0).isNull()) {
        connection->link = Link::Local;
        reportStatus(c.vm, connection->owner, "NetConnection.Connect.Success");
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
    if (auto* connection = connectionOf(c.vm, c.thisObject)) closeLink(c.vm, connection, true);
    return Value();
}

Value construct(CallContext& c)
{
    if (!c.constructing || !c.thisObject) return Value();
    // super() from a subclass's constructor: the instance, made for the
    // subclass, keeps its state beside it.
    auto* cls = dynamic_cast<NetConnectionClass*>(c.callee);
    if (cls && c.thisObject->proto() != c.vm.get(cls, "prototype").object()) {
        if (!connectionOf(c.vm, c.thisObject)) {
            auto* state = c.vm.heap().make<NetConnectionObject>();
            state->owner = c.thisObject;
            cls->subclassed[c.thisObject] = state;
        }
        return Value();
    }
    auto* connection = c.vm.heap().make<NetConnectionObject>();
    for (const Property& p : c.thisObject->properties()) connection->put(p.name, p.value, p.flags);
    return Value(static_cast<Object*>(connection));
}

} // namespace

NetConnectionObject* connectionOf(VM& vm, Object* object)
{
    // A method called on `super` acts on the object being built.
    if (object && object->kind() == ObjectKind::Super && object->primitive.isObject()) object = object->primitive.object();
    if (!object) return nullptr;
    if (auto* connection = dynamic_cast<NetConnectionObject*>(object)) return connection;
    NetConnectionClass* cls = connectionClass(vm);
    if (!cls) return nullptr;
    auto it = cls->subclassed.find(object);
    return it == cls->subclassed.end() ? nullptr : it->second;
}

void installNetConnection(VM& vm)
{
    auto* cls = vm.heap().make<NetConnectionClass>(construct);
    cls->setProto(vm.protos().function);
    Object* proto = vm.attachPrototype(cls);
    vm.defineNative(proto, "connect", connect, DontEnum | DontDelete);
    vm.defineNative(proto, "close", close, DontEnum | DontDelete);
    vm.global()->put("NetConnection", Value(static_cast<Object*>(cls)), DontEnum);
}

} // namespace tesmar::script
