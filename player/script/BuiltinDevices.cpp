// The classes of the machine's devices that a screen saver never has:
// Camera and Microphone (get() finds no device, names lists none), the video
// classes NetStream and Video (only constructors: no stream ever plays),
// Accessibility, which sees no screen reader, and System.IME, which finds
// no input method.

#include "player/script/BuiltinBroadcaster.h"
#include "player/script/VM.h"

namespace tesmar::script {

namespace {

Value noDevice(CallContext&)
{
    return Value::null();
}

// No screen reader is active and no input method can be switched on.
Value answerNo(CallContext&)
{
    return Value(false);
}

Value ignored(CallContext&)
{
    return Value();
}

void installDeviceClass(VM& vm, const char* name)
{
    FunctionObject* cls = vm.newNative(ignored);
    vm.attachPrototype(cls);
    vm.defineNative(cls, "get", noDevice);
    cls->put("names", Value(static_cast<Object*>(vm.newArray())), DontEnum);
    vm.global()->put(name, Value(static_cast<Object*>(cls)), DontEnum);
}

} // namespace

void installDevices(VM& vm)
{
    installDeviceClass(vm, "Camera");
    installDeviceClass(vm, "Microphone");

    for (const char* name : {"NetStream", "Video"}) {
        FunctionObject* cls = vm.newNative(ignored);
        vm.attachPrototype(cls);
        vm.global()->put(name, Value(static_cast<Object*>(cls)), DontEnum);
    }

    Object* accessibility = vm.newObject();
    vm.defineNative(accessibility, "isActive", answerNo);
    vm.defineNative(accessibility, "sendEvent", ignored);
    vm.defineNative(accessibility, "updateProperties", ignored);
    vm.global()->put("Accessibility", Value(accessibility), DontEnum);

    Object* system = vm.get(vm.global(), "System").isObject() ? vm.get(vm.global(), "System").object() : nullptr;
    if (!system) return;
    Object* ime = vm.newObject();
    makeBroadcaster(vm, ime);
    vm.defineNative(ime, "getEnabled", answerNo);
    vm.defineNative(ime, "setEnabled", answerNo);
    system->put("IME", Value(ime));
}

} // namespace tesmar::script
