// flash.geom.Point: x and y are plain properties; the methods read them as
// numbers, so a point holding odd values behaves as the scripts expect.

#include "player/script/BuiltinGeom.h"

#include <cmath>

namespace tesmar::script {

namespace {

double x(CallContext& c) { return numberOf(c.vm, c.thisValue, "x"); }
double y(CallContext& c) { return numberOf(c.vm, c.thisValue, "y"); }

Value point(CallContext& c, double px, double py)
{
    return newGeom(c.vm, "Point", {Value(px), Value(py)});
}

Value construct(CallContext& c)
{
    if (!c.thisObject) return Value();
    bool empty = c.count() == 0;
    c.vm.set(c.thisObject, "x", empty ? Value(0) : c.arg(0));
    c.vm.set(c.thisObject, "y", empty ? Value(0) : c.arg(1));
    return Value();
}

Value add(CallContext& c)
{
    return point(c, x(c) + numberOf(c.vm, c.arg(0), "x"), y(c) + numberOf(c.vm, c.arg(0), "y"));
}

Value subtract(CallContext& c)
{
    return point(c, x(c) - numberOf(c.vm, c.arg(0), "x"), y(c) - numberOf(c.vm, c.arg(0), "y"));
}

Value equals(CallContext& c)
{
    Value other = c.arg(0);
    Value cls = c.vm.get(flashPackage(c.vm, "geom"), "Point");
    if (!other.isObject() || !cls.isObject() || !c.vm.instanceOf(other, cls.object())) return Value(false);
    return Value(c.vm.looseEquals(c.vm.getOf(other, "x"), c.vm.getOf(c.thisValue, "x"))
                 && c.vm.looseEquals(c.vm.getOf(other, "y"), c.vm.getOf(c.thisValue, "y")));
}

Value clone(CallContext& c)
{
    return newGeom(c.vm, "Point", {c.vm.getOf(c.thisValue, "x"), c.vm.getOf(c.thisValue, "y")});
}

Value offset(CallContext& c)
{
    if (!c.thisObject) return Value();
    c.vm.set(c.thisObject, "x", Value(x(c) + c.vm.toNumber(c.arg(0))));
    c.vm.set(c.thisObject, "y", Value(y(c) + c.vm.toNumber(c.arg(1))));
    return Value();
}

Value normalize(CallContext& c)
{
    double length = std::hypot(x(c), y(c));
    if (!c.thisObject || !(length > 0)) return Value();
    double scale = c.vm.toNumber(c.arg(0)) / length;
    c.vm.set(c.thisObject, "x", Value(x(c) * scale));
    c.vm.set(c.thisObject, "y", Value(y(c) * scale));
    return Value();
}

Value length(CallContext& c)
{
    return Value(std::hypot(x(c), y(c)));
}

Value toString(CallContext& c)
{
    return Value("(x=" + c.vm.toString(c.vm.getOf(c.thisValue, "x")) + ", y="
                 + c.vm.toString(c.vm.getOf(c.thisValue, "y")) + ")");
}

// Point.distance(a, b) is a.subtract(b).length: objects that are no points give undefined.
Value distance(CallContext& c)
{
    Value difference = c.vm.callMethod(c.arg(0), "subtract", {c.arg(1)});
    return c.vm.getOf(difference, "length");
}

Value interpolate(CallContext& c)
{
    double f = c.vm.toNumber(c.arg(2));
    double ax = numberOf(c.vm, c.arg(0), "x"), ay = numberOf(c.vm, c.arg(0), "y");
    double bx = numberOf(c.vm, c.arg(1), "x"), by = numberOf(c.vm, c.arg(1), "y");
    return point(c, bx + f * (ax - bx), by + f * (ay - by));
}

Value polar(CallContext& c)
{
    double length = c.vm.toNumber(c.arg(0)), angle = c.vm.toNumber(c.arg(1));
    return point(c, length * std::cos(angle), length * std::sin(angle));
}

} // namespace

void installPoint(VM& vm)
{
    FunctionObject* cls = addFlashClass(vm, "geom", "Point", construct);
    Object* proto = vm.get(cls, "prototype").object();
    vm.defineNative(proto, "add", add);
    vm.defineNative(proto, "subtract", subtract);
    vm.defineNative(proto, "equals", equals);
    vm.defineNative(proto, "clone", clone);
    vm.defineNative(proto, "offset", offset);
    vm.defineNative(proto, "normalize", normalize);
    vm.defineNative(proto, "toString", toString);
    addAccessor(vm, proto, "length", length, nullptr);
    vm.defineNative(cls, "distance", distance);
    vm.defineNative(cls, "interpolate", interpolate);
    vm.defineNative(cls, "polar", polar);
}

} // namespace tesmar::script
