// flash.geom.ColorTransform: eight numbers behind enumerable accessors on
// the prototype, the combined `rgb` offset, and concat.

#include "player/script/BuiltinGeom.h"

namespace tesmar::script {

namespace {

const char* const kNames[8] = {"redMultiplier", "greenMultiplier", "blueMultiplier", "alphaMultiplier",
                               "redOffset",     "greenOffset",     "blueOffset",     "alphaOffset"};

ColorTransformObject* self(CallContext& c)
{
    return dynamic_cast<ColorTransformObject*>(c.thisObject);
}

double& field(ColorTransformObject& t, int i)
{
    return i < 4 ? t.multiplier[i] : t.offset[i - 4];
}

Value construct(CallContext& c)
{
    auto* t = adoptInstance<ColorTransformObject>(c);
    if (c.count() > 0)
        for (int i = 0; i < 8; ++i) field(*t, i) = c.vm.toNumber(c.arg(i));
    return Value(static_cast<Object*>(t));
}

template <int I>
Value getField(CallContext& c)
{
    ColorTransformObject* t = self(c);
    return t ? Value(field(*t, I)) : Value();
}

template <int I>
Value setField(CallContext& c)
{
    if (ColorTransformObject* t = self(c)) field(*t, I) = c.vm.toNumber(c.arg(0));
    return Value();
}

Value getRgb(CallContext& c)
{
    ColorTransformObject* t = self(c);
    if (!t) return Value();
    auto channel = [&](int i) { return uint32_t(c.vm.toInt32(Value(t->offset[i]))); };
    return Value(double((channel(0) << 16) | (channel(1) << 8) | channel(2)));
}

Value setRgb(CallContext& c)
{
    ColorTransformObject* t = self(c);
    if (!t) return Value();
    uint32_t rgb = uint32_t(c.vm.toInt32(c.arg(0)));
    for (int i = 0; i < 3; ++i) {
        t->multiplier[i] = 0;
        t->offset[i] = double((rgb >> (16 - 8 * i)) & 0xFF);
    }
    return Value();
}

Value concat(CallContext& c)
{
    ColorTransformObject* t = self(c);
    auto* second = c.arg(0).isObject() ? dynamic_cast<ColorTransformObject*>(c.arg(0).object()) : nullptr;
    if (!t || !second) return Value();
    for (int i = 0; i < 4; ++i) {
        t->offset[i] += t->multiplier[i] * second->offset[i];
        t->multiplier[i] *= second->multiplier[i];
    }
    return Value();
}

Value toString(CallContext& c)
{
    ColorTransformObject* t = self(c);
    if (!t) return Value();
    std::string text = "(";
    for (int i = 0; i < 8; ++i) {
        if (i) text += ", ";
        text += std::string(kNames[i]) + "=" + c.vm.toString(Value(field(*t, i)));
    }
    return Value(text + ")");
}

template <int I>
void addField(VM& vm, Object* proto)
{
    addAccessor(vm, proto, kNames[I], getField<I>, setField<I>);
    proto->findOwn(kNames[I])->flags = 0;
}

} // namespace

ColorTransformObject* newColorTransform(VM& vm, const double multiplier[4], const double offset[4])
{
    Value made = newGeom(vm, "ColorTransform", {});
    auto* t = made.isObject() ? dynamic_cast<ColorTransformObject*>(made.object()) : nullptr;
    if (!t) return nullptr;
    for (int i = 0; i < 4; ++i) {
        t->multiplier[i] = multiplier[i];
        t->offset[i] = offset[i];
    }
    return t;
}

void installColorTransform(VM& vm)
{
    FunctionObject* cls = addFlashClass(vm, "geom", "ColorTransform", construct);
    Object* proto = vm.get(cls, "prototype").object();
    // Oldest first: for..in lists them newest first.
    addField<3>(vm, proto);
    addField<0>(vm, proto);
    addField<1>(vm, proto);
    addField<2>(vm, proto);
    addField<7>(vm, proto);
    addField<4>(vm, proto);
    addField<5>(vm, proto);
    addField<6>(vm, proto);
    addAccessor(vm, proto, "rgb", getRgb, setRgb);
    proto->findOwn("rgb")->flags = 0;
    vm.defineNative(proto, "concat", concat, 0);
    vm.defineNative(proto, "toString", toString, 0);
}

} // namespace tesmar::script
