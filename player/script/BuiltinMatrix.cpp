// flash.geom.Matrix: a, b, c, d, tx and ty are plain properties (any value
// may be stored); the methods read them as numbers and write numbers back.

#include "player/script/BuiltinGeom.h"

#include <cmath>

namespace tesmar::script {

namespace {

const char* const kFields[] = {"a", "b", "c", "d", "tx", "ty"};

struct Affine {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0;
};

Affine read(VM& vm, const Value& m)
{
    return {numberOf(vm, m, "a"), numberOf(vm, m, "b"), numberOf(vm, m, "c"),
            numberOf(vm, m, "d"), numberOf(vm, m, "tx"), numberOf(vm, m, "ty")};
}

void write(CallContext& c, const Affine& m)
{
    if (!c.thisObject) return;
    const double values[] = {m.a, m.b, m.c, m.d, m.tx, m.ty};
    for (int i = 0; i < 6; ++i) c.vm.set(c.thisObject, kFields[i], Value(values[i]));
}

// First `m`, then `n`.
Affine multiply(const Affine& m, const Affine& n)
{
    return {m.a * n.a + m.b * n.c, m.a * n.b + m.b * n.d,
            m.c * n.a + m.d * n.c, m.c * n.b + m.d * n.d,
            m.tx * n.a + m.ty * n.c + n.tx, m.tx * n.b + m.ty * n.d + n.ty};
}

Value construct(CallContext& c)
{
    if (c.count() == 0) {
        write(c, Affine{});
        return Value();
    }
    for (int i = 0; i < 6 && c.thisObject; ++i) c.vm.set(c.thisObject, kFields[i], c.arg(i));
    return Value();
}

Value identity(CallContext& c)
{
    write(c, Affine{});
    return Value();
}

Value clone(CallContext& c)
{
    std::vector<Value> args;
    for (const char* name : kFields) args.push_back(c.vm.getOf(c.thisValue, name));
    return newGeom(c.vm, "Matrix", args);
}

Value concat(CallContext& c)
{
    write(c, multiply(read(c.vm, c.thisValue), read(c.vm, c.arg(0))));
    return Value();
}

Value scale(CallContext& c)
{
    Affine m = read(c.vm, c.thisValue);
    double sx = c.vm.toNumber(c.arg(0)), sy = c.vm.toNumber(c.arg(1));
    write(c, {m.a * sx, m.b * sy, m.c * sx, m.d * sy, m.tx * sx, m.ty * sy});
    return Value();
}

Value rotate(CallContext& c)
{
    double angle = c.vm.toNumber(c.arg(0));
    double cos = std::cos(angle), sin = std::sin(angle);
    write(c, multiply(read(c.vm, c.thisValue), Affine{cos, sin, -sin, cos, 0, 0}));
    return Value();
}

Value translate(CallContext& c)
{
    Affine m = read(c.vm, c.thisValue);
    m.tx += c.vm.toNumber(c.arg(0));
    m.ty += c.vm.toNumber(c.arg(1));
    write(c, m);
    return Value();
}

Value invert(CallContext& c)
{
    Affine m = read(c.vm, c.thisValue);
    double det = m.a * m.d - m.b * m.c;
    if (det == 0) {
        write(c, Affine{});
        return Value();
    }
    Affine r{m.d / det, -m.b / det, -m.c / det, m.a / det, 0, 0};
    r.tx = -(r.a * m.tx + r.c * m.ty);
    r.ty = -(r.b * m.tx + r.d * m.ty);
    write(c, r);
    return Value();
}

// An offset argument that was left out counts as 0.
double offsetArg(CallContext& c, size_t i)
{
    return c.arg(i).isUndefined() ? 0 : c.vm.toNumber(c.arg(i));
}

Affine box(double sx, double sy, double angle, double tx, double ty)
{
    double cos = std::cos(angle), sin = std::sin(angle);
    return {sx * cos, sy * sin, -sx * sin, sy * cos, tx, ty};
}

Value createBox(CallContext& c)
{
    write(c, box(c.vm.toNumber(c.arg(0)), c.vm.toNumber(c.arg(1)), c.vm.toNumber(c.arg(2)), offsetArg(c, 3),
                 offsetArg(c, 4)));
    return Value();
}

// A gradient fills a 1638.4-twip square centred on the origin.
Value createGradientBox(CallContext& c)
{
    double width = c.vm.toNumber(c.arg(0)), height = c.vm.toNumber(c.arg(1));
    double angle = c.arg(2).isUndefined() ? 0 : c.vm.toNumber(c.arg(2));
    write(c, box(width / 1638.4, height / 1638.4, angle, width / 2 + offsetArg(c, 3),
                 height / 2 + offsetArg(c, 4)));
    return Value();
}

Value transformPoint(CallContext& c)
{
    Affine m = read(c.vm, c.thisValue);
    double x = numberOf(c.vm, c.arg(0), "x"), y = numberOf(c.vm, c.arg(0), "y");
    return newGeom(c.vm, "Point", {Value(m.a * x + m.c * y + m.tx), Value(m.b * x + m.d * y + m.ty)});
}

Value deltaTransformPoint(CallContext& c)
{
    Affine m = read(c.vm, c.thisValue);
    double x = numberOf(c.vm, c.arg(0), "x"), y = numberOf(c.vm, c.arg(0), "y");
    return newGeom(c.vm, "Point", {Value(m.a * x + m.c * y), Value(m.b * x + m.d * y)});
}

Value toString(CallContext& c)
{
    std::string text = "(";
    for (const char* name : kFields) {
        if (text.size() > 1) text += ", ";
        text += std::string(name) + "=" + c.vm.toString(c.vm.getOf(c.thisValue, name));
    }
    return Value(text + ")");
}

} // namespace

void installMatrix(VM& vm)
{
    FunctionObject* cls = addFlashClass(vm, "geom", "Matrix", construct);
    Object* proto = vm.get(cls, "prototype").object();
    vm.defineNative(proto, "identity", identity);
    vm.defineNative(proto, "clone", clone);
    vm.defineNative(proto, "concat", concat);
    vm.defineNative(proto, "scale", scale);
    vm.defineNative(proto, "rotate", rotate);
    vm.defineNative(proto, "translate", translate);
    vm.defineNative(proto, "invert", invert);
    vm.defineNative(proto, "createBox", createBox);
    vm.defineNative(proto, "createGradientBox", createGradientBox);
    vm.defineNative(proto, "transformPoint", transformPoint);
    vm.defineNative(proto, "deltaTransformPoint", deltaTransformPoint);
    vm.defineNative(proto, "toString", toString);
}

} // namespace tesmar::script
