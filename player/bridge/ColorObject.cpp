// The Color object: tints a clip through its colour transform. Percent
// multipliers and offsets are kept in the transform's signed 16-bit form.

#include "player/bridge/GeomClasses.h"

#include "player/stage/DisplayObject.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

stage::DisplayObject* target(CallContext& c)
{
    if (!c.thisObject) return nullptr;
    return displayObjectOf(c.vm, c.vm.get(c.thisObject, "target"));
}

Value construct(CallContext& c)
{
    if (c.thisObject)
        c.thisObject->put("target", c.arg(0), script::DontEnum | script::DontDelete | script::ReadOnly);
    return Value();
}

Value setRGB(CallContext& c)
{
    stage::DisplayObject* object = target(c);
    if (!object) return Value();
    uint32_t rgb = uint32_t(c.vm.toInt32(c.arg(0)));
    ColorTransform cx = object->colorTransform();
    cx.rMult = cx.gMult = cx.bMult = 0;
    cx.rAdd = int32_t((rgb >> 16) & 0xFF);
    cx.gAdd = int32_t((rgb >> 8) & 0xFF);
    cx.bAdd = int32_t(rgb & 0xFF);
    object->setColorTransform(cx);
    return Value();
}

Value getRGB(CallContext& c)
{
    stage::DisplayObject* object = target(c);
    if (!object) return Value();
    const ColorTransform& cx = object->colorTransform();
    return Value(double(int32_t(uint32_t(cx.rAdd) << 16 | uint32_t(cx.gAdd) << 8 | uint32_t(cx.bAdd))));
}

struct Field {
    const char* name;
    int32_t ColorTransform::*member;
    bool percent;
};

const Field kFields[] = {
    {"ra", &ColorTransform::rMult, true}, {"rb", &ColorTransform::rAdd, false},
    {"ga", &ColorTransform::gMult, true}, {"gb", &ColorTransform::gAdd, false},
    {"ba", &ColorTransform::bMult, true}, {"bb", &ColorTransform::bAdd, false},
    {"aa", &ColorTransform::aMult, true}, {"ab", &ColorTransform::aAdd, false},
};

Value getTransform(CallContext& c)
{
    stage::DisplayObject* object = target(c);
    if (!object) return Value();
    const ColorTransform& cx = object->colorTransform();
    script::Object* result = c.vm.newObject();
    for (const Field& f : kFields) {
        double v = cx.*f.member;
        result->put(f.name, Value(f.percent ? v * 100 / 256 : v));
    }
    return Value(result);
}

// Only the fields the given object holds itself change.
Value setTransform(CallContext& c)
{
    stage::DisplayObject* object = target(c);
    if (!object || !c.arg(0).isObject()) return Value();
    script::Object* from = c.arg(0).object();
    ColorTransform cx = object->colorTransform();
    for (const Field& f : kFields) {
        if (!c.vm.hasOwn(from, f.name)) continue;
        double v = c.vm.toNumber(c.vm.get(from, f.name));
        cx.*f.member = wrap16(c.vm, f.percent ? v * 256 / 100 : v);
    }
    object->setColorTransform(cx);
    return Value();
}

} // namespace

void installColor(script::VM& vm)
{
    script::FunctionObject* color = vm.newNative(construct);
    script::Object* proto = vm.newObject();
    vm.attachPrototype(color, proto);
    vm.defineNative(proto, "setRGB", setRGB);
    vm.defineNative(proto, "getRGB", getRGB);
    vm.defineNative(proto, "setTransform", setTransform);
    vm.defineNative(proto, "getTransform", getTransform);
    vm.global()->put("Color", Value(static_cast<script::Object*>(color)), script::DontEnum);
}

} // namespace tesmar::bridge
