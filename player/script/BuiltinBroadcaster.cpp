// AsBroadcaster: listener lists with addListener/removeListener and
// broadcastMessage, given to Key, Mouse, Stage and to objects that ask.

#include "player/script/BuiltinBroadcaster.h"

#include "player/script/Builtins.h"
#include "player/script/VM.h"

namespace tesmar::script {

namespace {

Object* listenersOf(CallContext& c)
{
    if (!c.thisObject) return nullptr;
    Value list = c.vm.get(c.thisObject, "_listeners");
    return list.isObject() ? list.object() : nullptr;
}

std::vector<Value> listenerItems(VM& vm, Object* list)
{
    std::vector<Value> items;
    double n = vm.toNumber(vm.get(list, "length"));
    for (double i = 0; i < n && i < 65536; ++i) items.push_back(vm.get(list, std::to_string(size_t(i))));
    return items;
}

Value removeListener(CallContext& c)
{
    Object* list = listenersOf(c);
    if (!list) return Value(false);
    std::vector<Value> items = listenerItems(c.vm, list);
    for (size_t i = 0; i < items.size(); ++i) {
        if (c.vm.looseEquals(items[i], c.arg(0))) {
            c.vm.callMethod(Value(list), "splice", {Value(double(i)), Value(1)});
            return Value(true);
        }
    }
    return Value(false);
}

Value addListener(CallContext& c)
{
    Object* list = listenersOf(c);
    if (!list) return Value(false);
    removeListener(c);
    c.vm.callMethod(Value(list), "push", {c.arg(0)});
    return Value(true);
}

Value broadcastMessage(CallContext& c)
{
    Object* list = listenersOf(c);
    if (!list || c.count() == 0) return Value();
    std::string name = c.vm.toString(c.arg(0));
    std::vector<Value> args(c.args.begin() + 1, c.args.end());
    std::vector<Value> items = listenerItems(c.vm, list);
    for (const Value& listener : items) {
        // An empty message name calls each listener itself.
        if (name.empty()) c.vm.call(listener, Value(), args);
        else c.vm.callMethod(listener, name, args);
    }
    return Value(!items.empty());
}

Value initialize(CallContext& c)
{
    Value target = c.arg(0);
    if (target.isObject()) makeBroadcaster(c.vm, target.object());
    return Value();
}

} // namespace

void makeBroadcaster(VM& vm, Object* object)
{
    Object* broadcaster = vm.get(vm.global(), "AsBroadcaster").object();
    for (const char* name : {"broadcastMessage", "addListener", "removeListener"})
        object->put(name, broadcaster ? vm.get(broadcaster, name) : Value(), DontEnum);
    object->put("_listeners", Value(static_cast<Object*>(vm.newArray())), DontEnum);
}

void installBroadcaster(VM& vm)
{
    FunctionObject* broadcaster = vm.newNative(nullptr);
    vm.attachPrototype(broadcaster);
    vm.defineNative(broadcaster, "initialize", initialize);
    vm.defineNative(broadcaster, "addListener", addListener);
    vm.defineNative(broadcaster, "removeListener", removeListener);
    vm.defineNative(broadcaster, "broadcastMessage", broadcastMessage);
    vm.global()->put("AsBroadcaster", Value(static_cast<Object*>(broadcaster)), DontEnum);
}

} // namespace tesmar::script
