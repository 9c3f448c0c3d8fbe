// LocalConnection: named channels between movies of one player. A receiver
// claims a channel name; send() queues a call that is delivered after the
// current frame to whoever holds the channel then, and the sender hears by
// `onStatus` whether anyone did ("status") or not ("error").

#include "player/script/VM.h"

#include <map>

namespace tesmar::script {

namespace {

class LocalConnectionClass;

class LocalConnectionObject : public Object {
public:
    LocalConnectionObject(Heap& heap, LocalConnectionClass& cls) : Object(heap), cls(cls) {}
    LocalConnectionClass& cls;
    std::string channel;   // the name this object listens on, if any
    void trace(Tracer& tracer) override;
};

// The constructor holds the channels of the player.
class LocalConnectionClass : public FunctionObject {
public:
    LocalConnectionClass(Heap& heap, NativeFunction native) : FunctionObject(heap, native) {}
    std::map<std::string, LocalConnectionObject*> channels;
    void trace(Tracer& tracer) override
    {
        FunctionObject::trace(tracer);
        for (const auto& [name, listener] : channels) tracer.mark(listener);
    }
};

void LocalConnectionObject::trace(Tracer& tracer)
{
    Object::trace(tracer);
    tracer.mark(&cls);
}

std::string lowerAscii(std::string s)
{
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z') ch = char(ch - 'A' + 'a');
    return s;
}

// A channel or method name as the player accepts it: a non-empty string.
bool nameOf(const Value& v, std::string& out)
{
    if (!v.isString() || v.string().empty()) return false;
    out = v.string();
    return true;
}

Value connect(CallContext& c)
{
    auto* self = dynamic_cast<LocalConnectionObject*>(c.thisObject);
    std::string name;
    // A domain prefix ("host:name") belongs to senders only.
    if (!self || !self->channel.empty() || !nameOf(c.arg(0), name) || name.find(':') != std::string::npos)
        return Value(false);
    std::string key = lowerAscii(name);
    if (self->cls.channels.count(key)) return Value(false);
    self->cls.channels[key] = self;
    self->channel = key;
    return Value(true);
}

Value close(CallContext& c)
{
    auto* self = dynamic_cast<LocalConnectionObject*>(c.thisObject);
    if (!self || self->channel.empty()) return Value();
    self->cls.channels.erase(self->channel);
    self->channel.clear();
    return Value();
}

Value domain(CallContext&)
{
    // Movies played by the screen saver all share one local domain.
    return Value("localhost");
}

// Runs a queued send after the frame: args are the sender, the channel,
// the method and the method's arguments.
Value deliver(CallContext& c)
{
    auto* sender = c.count() > 0 && c.arg(0).isObject() ? dynamic_cast<LocalConnectionObject*>(c.arg(0).object())
                                                        : nullptr;
    if (!sender || c.count() < 3) return Value();
    std::string channel = lowerAscii(c.vm.toString(c.arg(1)));
    // A "domain:name" channel reaches "name" here: every movie shares the domain.
    if (size_t colon = channel.find(':'); colon != std::string::npos) channel = channel.substr(colon + 1);
    auto it = sender->cls.channels.find(channel);
    LocalConnectionObject* receiver = it == sender->cls.channels.end() ? nullptr : it->second;
    Object* info = c.vm.newObject();
    info->put("level", Value(receiver ? "status" : "error"));
    c.vm.callMethod(Value(static_cast<Object*>(sender)), "onStatus", {Value(info)});
    if (!receiver) return Value();
    std::vector<Value> args(c.args.begin() + 3, c.args.end());
    c.vm.callMethod(Value(static_cast<Object*>(receiver)), c.vm.toString(c.arg(2)), args);
    return Value();
}

// A value as the receiver gets it: messages carry data, so a clip arrives
// as undefined and a function as a plain object.
Value carried(VM& vm, const Value& v)
{
    if (!v.isObject()) return v;
    switch (v.object()->kind()) {
    case ObjectKind::Clip: return Value();
    case ObjectKind::Function: return Value(vm.newObject());
    default: return v;
    }
}

bool reservedMethod(const std::string& name)
{
    for (const char* reserved : {"send", "connect", "close", "allowDomain", "allowInsecureDomain", "domain"})
        if (lowerAscii(name) == lowerAscii(reserved)) return true;
    return false;
}

Value send(CallContext& c)
{
    auto* self = dynamic_cast<LocalConnectionObject*>(c.thisObject);
    std::string channel, method;
    if (!self || !nameOf(c.arg(0), channel) || !nameOf(c.arg(1), method) || reservedMethod(method))
        return Value(false);
    std::vector<Value> queued{Value(static_cast<Object*>(self))};
    queued.push_back(c.arg(0));
    queued.push_back(c.arg(1));
    for (size_t i = 2; i < c.count(); ++i) queued.push_back(carried(c.vm, c.args[i]));
    Value deliverer(static_cast<Object*>(c.vm.newNative(deliver)));
    c.vm.callAfterFrame(deliverer, Value(), std::move(queued));
    return Value(true);
}

Value construct(CallContext& c)
{
    auto* cls = dynamic_cast<LocalConnectionClass*>(c.callee);
    if (!cls || !c.constructing || !c.thisObject) return Value();
    auto* made = c.vm.heap().make<LocalConnectionObject>(*cls);
    for (const Property& p : c.thisObject->properties()) made->put(p.name, p.value, p.flags);
    return Value(static_cast<Object*>(made));
}

} // namespace

void installLocalConnection(VM& vm)
{
    auto* cls = vm.heap().make<LocalConnectionClass>(construct);
    cls->setProto(vm.protos().function);
    Object* proto = vm.attachPrototype(cls);
    vm.defineNative(proto, "send", send, DontEnum | DontDelete);
    vm.defineNative(proto, "close", close, DontEnum | DontDelete);
    vm.defineNative(proto, "connect", connect, DontEnum | DontDelete);
    vm.defineNative(proto, "domain", domain, DontEnum | DontDelete);
    vm.global()->put("LocalConnection", Value(static_cast<Object*>(cls)), DontEnum);
}

} // namespace tesmar::script
