// flash.geom.Rectangle: x, y, width and height are plain properties; the
// edges and corners are accessors computed from them. Tests of containment
// compare as the script comparison does, so a NaN edge answers undefined.

#include "player/script/BuiltinGeom.h"

#include <algorithm>
#include <cmath>

namespace tesmar::script {

namespace {

struct Box {
    double x, y, width, height;
    double right() const { return x + width; }
    double bottom() const { return y + height; }
};

Box boxOf(VM& vm, const Value& v)
{
    return {numberOf(vm, v, "x"), numberOf(vm, v, "y"), numberOf(vm, v, "width"), numberOf(vm, v, "height")};
}

void store(CallContext& c, const char* name, const Value& v)
{
    if (c.thisObject) c.vm.set(c.thisObject, name, v);
}

Value rectangle(CallContext& c, double x, double y, double w, double h)
{
    return newGeom(c.vm, "Rectangle", {Value(x), Value(y), Value(w), Value(h)});
}

Value point(CallContext& c, double x, double y)
{
    return newGeom(c.vm, "Point", {Value(x), Value(y)});
}

// a && b with the script's rule: the first false-like answer, else the last.
Value both(const Value& a, const Value& b)
{
    if (a.isUndefined() || (a.isBoolean() && !a.boolean())) return a;
    return b;
}

Value notLess(double a, double b)
{
    Value less = compareLess(a, b);
    return less.isUndefined() ? less : Value(!less.boolean());
}

Value construct(CallContext& c)
{
    bool empty = c.count() == 0;
    store(c, "x", empty ? Value(0) : c.arg(0));
    store(c, "y", empty ? Value(0) : c.arg(1));
    store(c, "width", empty ? Value(0) : c.arg(2));
    store(c, "height", empty ? Value(0) : c.arg(3));
    return Value();
}

Value getLeft(CallContext& c) { return c.vm.getOf(c.thisValue, "x"); }
Value getTop(CallContext& c) { return c.vm.getOf(c.thisValue, "y"); }
Value getRight(CallContext& c) { return Value(boxOf(c.vm, c.thisValue).right()); }
Value getBottom(CallContext& c) { return Value(boxOf(c.vm, c.thisValue).bottom()); }

Value setLeft(CallContext& c)
{
    store(c, "width", Value(boxOf(c.vm, c.thisValue).right() - c.vm.toNumber(c.arg(0))));
    store(c, "x", c.arg(0));
    return Value();
}

Value setTop(CallContext& c)
{
    store(c, "height", Value(boxOf(c.vm, c.thisValue).bottom() - c.vm.toNumber(c.arg(0))));
    store(c, "y", c.arg(0));
    return Value();
}

Value setRight(CallContext& c)
{
    store(c, "width", Value(c.vm.toNumber(c.arg(0)) - boxOf(c.vm, c.thisValue).x));
    return Value();
}

Value setBottom(CallContext& c)
{
    store(c, "height", Value(c.vm.toNumber(c.arg(0)) - boxOf(c.vm, c.thisValue).y));
    return Value();
}

Value getTopLeft(CallContext& c)
{
    return newGeom(c.vm, "Point", {c.vm.getOf(c.thisValue, "x"), c.vm.getOf(c.thisValue, "y")});
}

Value setTopLeft(CallContext& c)
{
    Box b = boxOf(c.vm, c.thisValue);
    Value p = c.arg(0);
    store(c, "width", Value(b.right() - numberOf(c.vm, p, "x")));
    store(c, "height", Value(b.bottom() - numberOf(c.vm, p, "y")));
    store(c, "x", c.vm.getOf(p, "x"));
    store(c, "y", c.vm.getOf(p, "y"));
    return Value();
}

Value getBottomRight(CallContext& c)
{
    Box b = boxOf(c.vm, c.thisValue);
    return point(c, b.right(), b.bottom());
}

Value setBottomRight(CallContext& c)
{
    Box b = boxOf(c.vm, c.thisValue);
    store(c, "width", Value(numberOf(c.vm, c.arg(0), "x") - b.x));
    store(c, "height", Value(numberOf(c.vm, c.arg(0), "y") - b.y));
    return Value();
}

Value getSize(CallContext& c)
{
    return newGeom(c.vm, "Point", {c.vm.getOf(c.thisValue, "width"), c.vm.getOf(c.thisValue, "height")});
}

Value setSize(CallContext& c)
{
    store(c, "width", c.vm.getOf(c.arg(0), "x"));
    store(c, "height", c.vm.getOf(c.arg(0), "y"));
    return Value();
}

Value clone(CallContext& c)
{
    std::vector<Value> args;
    for (const char* name : {"x", "y", "width", "height"}) args.push_back(c.vm.getOf(c.thisValue, name));
    return newGeom(c.vm, "Rectangle", args);
}

bool isEmptyBox(const Box& b)
{
    return !(b.width > 0 && b.height > 0);
}

Value isEmpty(CallContext& c)
{
    return Value(isEmptyBox(boxOf(c.vm, c.thisValue)));
}

Value setEmpty(CallContext& c)
{
    for (const char* name : {"x", "y", "width", "height"}) store(c, name, Value(0));
    return Value();
}

Value equals(CallContext& c)
{
    Value other = c.arg(0);
    Value cls = c.vm.get(flashPackage(c.vm, "geom"), "Rectangle");
    if (!other.isObject() || !cls.isObject() || !c.vm.instanceOf(other, cls.object())) return Value(false);
    for (const char* name : {"x", "y", "width", "height"})
        if (!c.vm.looseEquals(c.vm.getOf(other, name), c.vm.getOf(c.thisValue, name))) return Value(false);
    return Value(true);
}

Value containsAt(CallContext& c, double px, double py)
{
    Box b = boxOf(c.vm, c.thisValue);
    return both(both(notLess(px, b.x), compareLess(px, b.right())),
                both(notLess(py, b.y), compareLess(py, b.bottom())));
}

Value contains(CallContext& c)
{
    return containsAt(c, c.vm.toNumber(c.arg(0)), c.vm.toNumber(c.arg(1)));
}

Value containsPoint(CallContext& c)
{
    return containsAt(c, numberOf(c.vm, c.arg(0), "x"), numberOf(c.vm, c.arg(0), "y"));
}

Value containsRectangle(CallContext& c)
{
    Box b = boxOf(c.vm, c.thisValue), o = boxOf(c.vm, c.arg(0));
    return both(both(notLess(o.x, b.x), notLess(o.y, b.y)),
                both(notLess(b.right(), o.right()), notLess(b.bottom(), o.bottom())));
}

void inflateBy(CallContext& c, double dx, double dy)
{
    Box b = boxOf(c.vm, c.thisValue);
    store(c, "x", Value(b.x - dx));
    store(c, "width", Value(b.width + 2 * dx));
    store(c, "y", Value(b.y - dy));
    store(c, "height", Value(b.height + 2 * dy));
}

Value inflate(CallContext& c)
{
    inflateBy(c, c.vm.toNumber(c.arg(0)), c.vm.toNumber(c.arg(1)));
    return Value();
}

Value inflatePoint(CallContext& c)
{
    inflateBy(c, numberOf(c.vm, c.arg(0), "x"), numberOf(c.vm, c.arg(0), "y"));
    return Value();
}

void offsetBy(CallContext& c, double dx, double dy)
{
    Box b = boxOf(c.vm, c.thisValue);
    store(c, "x", Value(b.x + dx));
    store(c, "y", Value(b.y + dy));
}

Value offset(CallContext& c)
{
    offsetBy(c, c.vm.toNumber(c.arg(0)), c.vm.toNumber(c.arg(1)));
    return Value();
}

Value offsetPoint(CallContext& c)
{
    offsetBy(c, numberOf(c.vm, c.arg(0), "x"), numberOf(c.vm, c.arg(0), "y"));
    return Value();
}

// Math.min / Math.max as scripts have them: NaN wins.
double lesser(double a, double b) { return std::isnan(a) || std::isnan(b) ? NAN : std::min(a, b); }
double greater(double a, double b) { return std::isnan(a) || std::isnan(b) ? NAN : std::max(a, b); }

Box intersect(const Box& a, const Box& b)
{
    Box r;
    r.x = greater(a.x, b.x);
    r.y = greater(a.y, b.y);
    r.width = lesser(a.right(), b.right()) - r.x;
    r.height = lesser(a.bottom(), b.bottom()) - r.y;
    if (isEmptyBox(r)) r = {0, 0, 0, 0};
    return r;
}

Value intersection(CallContext& c)
{
    Box r = intersect(boxOf(c.vm, c.thisValue), boxOf(c.vm, c.arg(0)));
    return rectangle(c, r.x, r.y, r.width, r.height);
}

Value intersects(CallContext& c)
{
    return Value(!isEmptyBox(intersect(boxOf(c.vm, c.thisValue), boxOf(c.vm, c.arg(0)))));
}

Value unionOf(CallContext& c)
{
    Box a = boxOf(c.vm, c.thisValue), b = boxOf(c.vm, c.arg(0));
    double x = lesser(a.x, b.x), y = lesser(a.y, b.y);
    return rectangle(c, x, y, greater(a.right(), b.right()) - x, greater(a.bottom(), b.bottom()) - y);
}

Value toString(CallContext& c)
{
    auto text = [&](const char* name) { return c.vm.toString(c.vm.getOf(c.thisValue, name)); };
    return Value("(x=" + text("x") + ", y=" + text("y") + ", w=" + text("width") + ", h=" + text("height")
                 + ")");
}

} // namespace

void installRectangle(VM& vm)
{
    FunctionObject* cls = addFlashClass(vm, "geom", "Rectangle", construct);
    Object* proto = vm.get(cls, "prototype").object();
    addAccessor(vm, proto, "left", getLeft, setLeft);
    addAccessor(vm, proto, "top", getTop, setTop);
    addAccessor(vm, proto, "right", getRight, setRight);
    addAccessor(vm, proto, "bottom", getBottom, setBottom);
    addAccessor(vm, proto, "topLeft", getTopLeft, setTopLeft);
    addAccessor(vm, proto, "bottomRight", getBottomRight, setBottomRight);
    addAccessor(vm, proto, "size", getSize, setSize);
    vm.defineNative(proto, "clone", clone);
    vm.defineNative(proto, "isEmpty", isEmpty);
    vm.defineNative(proto, "setEmpty", setEmpty);
    vm.defineNative(proto, "equals", equals);
    vm.defineNative(proto, "contains", contains);
    vm.defineNative(proto, "containsPoint", containsPoint);
    vm.defineNative(proto, "containsRectangle", containsRectangle);
    vm.defineNative(proto, "inflate", inflate);
    vm.defineNative(proto, "inflatePoint", inflatePoint);
    vm.defineNative(proto, "offset", offset);
    vm.defineNative(proto, "offsetPoint", offsetPoint);
    vm.defineNative(proto, "intersection", intersection);
    vm.defineNative(proto, "intersects", intersects);
    vm.defineNative(proto, "union", unionOf);
    vm.defineNative(proto, "toString", toString);
}

} // namespace tesmar::script
