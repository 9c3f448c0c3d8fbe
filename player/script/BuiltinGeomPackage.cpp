// The flash package objects and the helpers that the flash.* classes share.

#include "player/script/BuiltinGeom.h"

#include "player/script/Builtins.h"

#include <cmath>

namespace tesmar::script {

Object* flashPackage(VM& vm, const char* name)
{
    Value flash = vm.global()->findOwn("flash") ? vm.global()->findOwn("flash")->value : Value();
    if (!flash.isObject()) {
        flash = Value(vm.newObject());
        vm.global()->put("flash", flash, DontEnum | OnlySwf8Up);
    }
    Property* existing = flash.object()->findOwn(name);
    if (existing && existing->value.isObject()) return existing->value.object();
    Object* package = vm.newObject();
    flash.object()->put(name, Value(package), DontEnum);
    return package;
}

FunctionObject* addFlashClass(VM& vm, const char* package, const char* name, NativeFunction constructor,
                              Object* prototype)
{
    FunctionObject* cls = vm.newNative(constructor);
    vm.attachPrototype(cls, prototype ? prototype : vm.newObject());
    flashPackage(vm, package)->put(name, Value(static_cast<Object*>(cls)), DontEnum);
    return cls;
}

Value newGeom(VM& vm, const char* name, const std::vector<Value>& args)
{
    Value cls = vm.get(flashPackage(vm, "geom"), name);
    return vm.construct(cls, args);
}

double numberOf(VM& vm, const Value& object, const char* name)
{
    return vm.toNumber(vm.getOf(object, name));
}

void addAccessor(VM& vm, Object* on, const char* name, NativeFunction getter, NativeFunction setter)
{
    Property& p = on->put(name, Value(), DontEnum);
    p.accessor = true;
    p.getter = vm.newNative(getter);
    p.setter = setter ? vm.newNative(setter) : nullptr;
}

void installGeom(VM& vm)
{
    installPoint(vm);
    installRectangle(vm);
    installMatrix(vm);
    installColorTransform(vm);
}

Value compareLess(double a, double b)
{
    if (std::isnan(a) || std::isnan(b)) return Value();
    return Value(a < b);
}

} // namespace tesmar::script
