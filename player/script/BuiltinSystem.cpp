// The plain-object parts of Key, Mouse, Stage and System: key codes,
// listener lists and the capabilities record. Input state and stage size
// come from the stage, which adds those members.

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
    Object* key = broadcasterObject(vm, "Key");
    const std::pair<const char*, int> codes[] = {
        {"ALT", 18}, {"BACKSPACE", 8}, {"CAPSLOCK", 20}, {"CONTROL", 17}, {"DELETEKEY", 46},
        {"DOWN", 40}, {"END", 35}, {"ENTER", 13}, {"ESCAPE", 27}, {"HOME", 36}, {"INSERT", 45},
        {"LEFT", 37}, {"PGDN", 34}, {"PGUP", 33}, {"RIGHT", 39}, {"SHIFT", 16}, {"SPACE", 32},
        {"TAB", 9}, {"UP", 38}};
    for (auto [name, code] : codes) key->put(name, Value(code), DontEnum | DontDelete | ReadOnly);

    broadcasterObject(vm, "Mouse");
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
