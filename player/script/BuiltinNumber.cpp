// Number and Boolean: constructors, wrappers and toString/valueOf.

#include "player/script/Builtins.h"
#include "player/script/Convert.h"
#include "player/script/VM.h"

#include <cfloat>
#include <cmath>

namespace tesmar::script {

namespace {

Value primitiveOf(CallContext& c, Type type)
{
    if (c.thisValue.type() == type) return c.thisValue;
    if (c.thisObject && c.thisObject->primitive.type() == type) return c.thisObject->primitive;
    return Value();
}

Value numberConstructor(CallContext& c)
{
    double n = c.count() ? c.vm.toNumber(c.arg(0)) : 0;
    if (!c.constructing) return Value(n);
    c.thisObject->primitive = Value(n);
    return Value(c.thisObject);
}

Value numberToStringMethod(CallContext& c)
{
    Value v = primitiveOf(c, Type::Number);
    if (v.isUndefined()) return Value("NaN");
    int radix = c.arg(0).isUndefined() ? 10 : c.vm.toInt32(c.arg(0));
    return Value(numberToRadix(v.number(), radix));
}

Value numberValueOf(CallContext& c)
{
    Value v = primitiveOf(c, Type::Number);
    return v.isUndefined() ? Value(NAN) : v;
}

Value booleanConstructor(CallContext& c)
{
    bool b = c.count() ? c.vm.toBoolean(c.arg(0)) : false;
    // Called without an argument it converts nothing and gives undefined.
    if (!c.constructing) return c.count() ? Value(b) : Value();
    c.thisObject->primitive = Value(b);
    return Value(c.thisObject);
}

Value booleanToString(CallContext& c)
{
    Value v = primitiveOf(c, Type::Boolean);
    if (v.isUndefined()) return Value();
    return Value(v.boolean() ? "true" : "false");
}

Value booleanValueOf(CallContext& c)
{
    return primitiveOf(c, Type::Boolean);
}

} // namespace

void installNumberAndBoolean(VM& vm)
{
    Prototypes& p = vm.protos();
    p.number = vm.newObject();
    FunctionObject* number = vm.newNative(numberConstructor, ObjectKind::Number);
    vm.attachPrototype(number, p.number);
    vm.defineNative(p.number, "toString", numberToStringMethod);
    vm.defineNative(p.number, "valueOf", numberValueOf);
    const uint16_t constant = DontEnum | DontDelete | ReadOnly;
    number->put("MAX_VALUE", Value(DBL_MAX), constant);
    number->put("MIN_VALUE", Value(4.9406564584124654e-324), constant);
    number->put("NaN", Value(NAN), constant);
    number->put("NEGATIVE_INFINITY", Value(-INFINITY), constant);
    number->put("POSITIVE_INFINITY", Value(INFINITY), constant);
    vm.global()->put("Number", Value(static_cast<Object*>(number)), DontEnum);

    p.boolean = vm.newObject();
    FunctionObject* boolean = vm.newNative(booleanConstructor, ObjectKind::Boolean);
    vm.attachPrototype(boolean, p.boolean);
    vm.defineNative(p.boolean, "toString", booleanToString);
    vm.defineNative(p.boolean, "valueOf", booleanValueOf);
    vm.global()->put("Boolean", Value(static_cast<Object*>(boolean)), DontEnum);
}

} // namespace tesmar::script
