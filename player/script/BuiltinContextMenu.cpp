// ContextMenu and ContextMenuItem: the menu a right click would show. The
// player shows no menu, but movies build, copy and inspect them, so the
// objects keep every field as the scripts set it.

#include "player/script/Builtins.h"
#include "player/script/VM.h"

namespace tesmar::script {

namespace {

// The built-in entries, in the order their flags are created (for..in
// lists them the other way round).
constexpr const char* kBuiltInItems[] = {"print", "forward_back", "rewind", "loop",
                                         "play",  "quality",      "zoom",   "save"};

Object* newBuiltInItems(VM& vm, Object* copyFrom)
{
    Object* items = vm.newObject();
    for (const char* name : kBuiltInItems)
        items->put(name, copyFrom ? vm.get(copyFrom, name) : Value(true));
    return items;
}

Value constructMenu(CallContext& c)
{
    if (!c.thisObject) return Value();
    c.thisObject->put("onSelect", c.arg(0));
    c.thisObject->put("builtInItems", Value(newBuiltInItems(c.vm, nullptr)));
    c.thisObject->put("customItems", Value(static_cast<Object*>(c.vm.newArray())));
    return Value();
}

Value hideBuiltInItems(CallContext& c)
{
    if (!c.thisObject) return Value();
    Value items = c.vm.get(c.thisObject, "builtInItems");
    if (!items.isObject()) return Value();
    for (const char* name : kBuiltInItems) c.vm.set(items.object(), name, Value(false));
    return Value();
}

Value copyMenu(CallContext& c)
{
    if (!c.thisObject) return Value();
    Value menu = c.vm.construct(c.vm.get(c.vm.global(), "ContextMenu"), {c.vm.get(c.thisObject, "onSelect")});
    if (!menu.isObject()) return Value();
    Value builtIn = c.vm.get(c.thisObject, "builtInItems");
    if (builtIn.isObject())
        menu.object()->put("builtInItems", Value(newBuiltInItems(c.vm, builtIn.object())));
    // Custom items are copied one by one through their own copy method.
    ArrayObject* custom = c.vm.newArray();
    Value items = c.vm.get(c.thisObject, "customItems");
    if (items.isObject()) {
        double n = c.vm.toNumber(c.vm.get(items.object(), "length"));
        for (double i = 0; i < n && i < 65536; ++i) {
            Value item = c.vm.get(items.object(), std::to_string(size_t(i)));
            custom->push(c.vm.callMethod(item, "copy", {}));
        }
    }
    menu.object()->put("customItems", Value(static_cast<Object*>(custom)));
    return menu;
}

Value constructItem(CallContext& c)
{
    if (!c.thisObject) return Value();
    c.thisObject->put("caption", c.arg(0));
    c.thisObject->put("onSelect", c.arg(1));
    c.thisObject->put("separatorBefore", Value(c.vm.toBoolean(c.arg(2))));
    c.thisObject->put("enabled", Value(c.count() > 3 ? c.vm.toBoolean(c.arg(3)) : true));
    c.thisObject->put("visible", Value(c.count() > 4 ? c.vm.toBoolean(c.arg(4)) : true));
    return Value();
}

Value copyItem(CallContext& c)
{
    if (!c.thisObject) return Value();
    VM& vm = c.vm;
    Object* self = c.thisObject;
    return vm.construct(vm.get(vm.global(), "ContextMenuItem"),
                        {vm.get(self, "caption"), vm.get(self, "onSelect"), vm.get(self, "separatorBefore"),
                         vm.get(self, "enabled"), vm.get(self, "visible")});
}

} // namespace

void installContextMenu(VM& vm)
{
    FunctionObject* menu = vm.newNative(constructMenu);
    Object* menuProto = vm.attachPrototype(menu);
    vm.defineNative(menuProto, "copy", copyMenu);
    vm.defineNative(menuProto, "hideBuiltInItems", hideBuiltInItems);
    vm.global()->put("ContextMenu", Value(static_cast<Object*>(menu)), DontEnum);

    FunctionObject* item = vm.newNative(constructItem);
    Object* itemProto = vm.attachPrototype(item);
    vm.defineNative(itemProto, "copy", copyItem);
    vm.global()->put("ContextMenuItem", Value(static_cast<Object*>(item)), DontEnum);
}

} // namespace tesmar::script
