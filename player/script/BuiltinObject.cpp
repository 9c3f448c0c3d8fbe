// Object and Function: the root of every prototype chain, addProperty,
// hasOwnProperty and friends, Function.call/apply.

#include "player/script/Builtins.h"
#include "player/script/VM.h"

namespace tesmar::script {

namespace {

Value objectConstructor(CallContext& c)
{
    Value v = c.arg(0);
    if (v.isObject()) return v;
    // Called as a function without a value it gives an object with no prototype.
    if (v.isNullish()) return c.constructing ? Value(c.thisObject) : Value(c.vm.heap().make<Object>());
    return Value(c.vm.toObject(v));
}

Value objectToString(CallContext& c)
{
    if (c.thisObject && c.thisObject->kind() == ObjectKind::Function) return Value("[type Function]");
    return Value("[object Object]");
}

Value objectValueOf(CallContext& c)
{
    if (c.thisObject && !c.thisObject->primitive.isUndefined()
        && c.thisObject->kind() != ObjectKind::Date)
        return c.thisObject->primitive;
    return c.thisValue;
}

Value hasOwnProperty(CallContext& c)
{
    if (!c.thisObject || c.count() == 0) return Value(false);
    std::string name = c.vm.toString(c.arg(0));
    return Value(!name.empty() && c.vm.hasOwn(c.thisObject, name));
}

Value isPropertyEnumerable(CallContext& c)
{
    if (!c.thisObject) return Value(false);
    Property* p = c.thisObject->findOwn(c.vm.toString(c.arg(0)));
    return Value(p && !(p->flags & DontEnum) && p->visibleTo(c.vm.swfVersion()));
}

Value isPrototypeOf(CallContext& c)
{
    Value v = c.arg(0);
    if (!c.thisObject || !v.isObject()) return Value(false);
    Object* cur = v.object()->proto();
    for (int guard = 0; cur && guard < 256; ++guard, cur = cur->proto())
        if (cur == c.thisObject) return Value(true);
    return Value(false);
}

bool isFunction(const Value& v)
{
    return v.isObject() && v.object()->kind() == ObjectKind::Function;
}

Value addProperty(CallContext& c)
{
    if (!c.thisObject || c.count() < 2) return Value(false);
    std::string name = c.vm.toString(c.arg(0));
    Value getter = c.arg(1), setter = c.arg(2);
    // A null setter makes the property read-only; a missing one is refused.
    if (name.empty() || !isFunction(getter) || !(isFunction(setter) || setter.isNull())) return Value(false);
    Property* existing = c.thisObject->findOwn(name);
    uint16_t flags = existing ? existing->flags : 0;
    // The value stored before stays under the new property: a watcher sees
    // it as the old value, an array's pop still finds the element.
    Property& p = c.thisObject->put(name, existing ? existing->value : Value(), flags);
    p.accessor = true;
    p.getter = static_cast<FunctionObject*>(getter.object());
    p.setter = isFunction(setter) ? static_cast<FunctionObject*>(setter.object()) : nullptr;
    // A watcher sees the new property as an assignment of undefined.
    if (c.thisObject->findWatcher(name)) {
        Value stored = c.vm.notifyWatcher(c.thisObject, name, Value());
        if (Property* now = c.thisObject->findOwn(name)) now->value = stored;
    }
    return Value(true);
}

Value watch(CallContext& c)
{
    if (!c.thisObject || c.count() < 2 || !isFunction(c.arg(1))) return Value(false);
    c.thisObject->watch(c.vm.toString(c.arg(0)), static_cast<FunctionObject*>(c.arg(1).object()), c.arg(2));
    return Value(true);
}

Value unwatch(CallContext& c)
{
    if (!c.thisObject || c.count() < 1) return Value(false);
    std::string name = c.vm.toString(c.arg(0));
    // The watcher of a getter/setter property stays.
    Property* p = c.thisObject->findOwn(name);
    if (p && p->accessor) return Value(false);
    return Value(c.thisObject->unwatch(name));
}

Value functionConstructor(CallContext& c)
{
    if (c.constructing) return Value(c.thisObject);
    // Called as a function it gives back its argument, or a bare object.
    return c.count() ? c.arg(0) : Value(c.vm.heap().make<Object>());
}

Value errorConstructor(CallContext& c)
{
    Object* error = c.constructing ? c.thisObject : c.vm.createInstance(c.callee);
    if (!c.arg(0).isUndefined()) c.vm.set(error, "message", c.arg(0));
    return Value(error);
}

Value errorToString(CallContext& c)
{
    return Value(c.vm.toString(c.vm.getOf(c.thisValue, "message")));
}

Value functionCall(CallContext& c)
{
    Value thisValue = c.arg(0);
    if (thisValue.isNullish()) thisValue = Value(c.vm.global());
    std::vector<Value> args(c.args.begin() + (c.args.empty() ? 0 : 1), c.args.end());
    return c.vm.call(c.thisValue, thisValue, args);
}

Value functionApply(CallContext& c)
{
    Value thisValue = c.arg(0);
    if (thisValue.isNullish()) thisValue = Value(c.vm.global());
    std::vector<Value> args;
    Value list = c.arg(1);
    if (list.isObject()) {
        double n = c.vm.toNumber(c.vm.get(list.object(), "length"));
        size_t count = n > 0 ? size_t(std::min(n, 65536.0)) : 0;
        for (size_t i = 0; i < count; ++i) args.push_back(c.vm.get(list.object(), std::to_string(i)));
    }
    return c.vm.call(c.thisValue, thisValue, args);
}

} // namespace

void installObjectAndFunction(VM& vm)
{
    Heap& heap = vm.heap();
    Prototypes& p = vm.protos();
    p.object = heap.make<Object>();
    p.function = heap.make<Object>();
    p.function->setProto(p.object);

    FunctionObject* object = vm.newNative(objectConstructor);
    vm.attachPrototype(object, p.object);
    vm.defineNative(p.object, "toString", objectToString);
    vm.defineNative(p.object, "toLocaleString", objectToString);
    vm.defineNative(p.object, "valueOf", objectValueOf);
    vm.defineNative(p.object, "hasOwnProperty", hasOwnProperty, DontEnum | OnlySwf6Up);
    vm.defineNative(p.object, "isPropertyEnumerable", isPropertyEnumerable, DontEnum | OnlySwf6Up);
    vm.defineNative(p.object, "isPrototypeOf", isPrototypeOf, DontEnum | OnlySwf6Up);
    vm.defineNative(p.object, "addProperty", addProperty);
    vm.defineNative(p.object, "watch", watch);
    vm.defineNative(p.object, "unwatch", unwatch);
    vm.global()->put("Object", Value(static_cast<Object*>(object)), DontEnum);

    FunctionObject* function = vm.newNative(functionConstructor);
    vm.attachPrototype(function, p.function);
    vm.defineNative(p.function, "call", functionCall);
    vm.defineNative(p.function, "apply", functionApply);
    vm.global()->put("Function", Value(static_cast<Object*>(function)), DontEnum);

    p.error = vm.newObject();
    FunctionObject* error = vm.newNative(errorConstructor);
    vm.attachPrototype(error, p.error);
    p.error->put("name", Value("Error"), DontEnum);
    p.error->put("message", Value("Error"), DontEnum);
    vm.defineNative(p.error, "toString", errorToString);
    vm.global()->put("Error", Value(static_cast<Object*>(error)), DontEnum);
}

} // namespace tesmar::script
