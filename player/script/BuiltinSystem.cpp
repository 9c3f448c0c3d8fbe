// The plain-object parts of Stage and System: listener lists and the
// capabilities record. Stage size comes from the stage, which adds those
// members; Key and Mouse come with the stage's input.

#include "player/script/BuiltinBroadcaster.h"
#include "player/script/Builtins.h"
#include "player/script/VM.h"

namespace tesmar::script {

namespace {

Object* broadcasterObject(VM& vm, const char* name)
{
    Object* object = vm.newObject();
    makeBroadcaster(vm, object);
    vm.global()->put(name, Value(object), DontEnum);
    return object;
}

Value ignoreCall(CallContext&)
{
    return Value();
}

} // namespace

void installSystemObjects(VM& vm)
{
    broadcasterObject(vm, "Stage");

    Object* system = vm.newObject();
    Object* capabilities = vm.newObject();
    capabilities->put("language", Value("en"));
    capabilities->put("os", Value("Windows XP"));
    capabilities->put("version", Value("WIN 8,0,0,0"));
    capabilities->put("playerType", Value("ActiveX"));
    capabilities->put("manufacturer", Value("Adobe Windows"));
    capabilities->put("hasAudio", Value(true));
    system->put("capabilities", Value(capabilities));
    Object* security = vm.newObject();
    vm.defineNative(security, "allowDomain", ignoreCall);
    vm.defineNative(security, "allowInsecureDomain", ignoreCall);
    system->put("security", Value(security));
    system->put("useCodepage", Value(false));
    vm.global()->put("System", Value(system), DontEnum);
}

} // namespace tesmar::script
