// flash.geom.Transform and clip.transform: a view of one clip's matrix and
// colour transform. Every read makes new Matrix / ColorTransform objects;
// changing one of them changes the clip only when assigned back.

#include "player/bridge/GeomClasses.h"

#include "player/bridge/StageClip.h"
#include "player/script/BuiltinGeom.h"
#include "player/stage/MovieClip.h"

#include <cmath>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

class TransformObject : public script::Object {
public:
    TransformObject(script::Heap& heap, script::Object* clip) : Object(heap), clip(clip) {}
    script::Object* clip;
    void trace(script::Tracer& tracer) override
    {
        Object::trace(tracer);
        tracer.mark(clip);
    }
};

stage::DisplayObject* objectOf(CallContext& c)
{
    auto* t = dynamic_cast<TransformObject*>(c.thisObject);
    return t ? displayObjectOf(c.vm, Value(t->clip)) : nullptr;
}

Value matrixValue(script::VM& vm, const Matrix& m)
{
    return script::newGeom(vm, "Matrix", {Value(m.a), Value(m.b), Value(m.c), Value(m.d), Value(m.tx / 20),
                                          Value(m.ty / 20)});
}

script::ColorTransformObject* colorValue(script::VM& vm, const ColorTransform& cx)
{
    const double multiplier[4] = {cx.rMult / 256.0, cx.gMult / 256.0, cx.bMult / 256.0, cx.aMult / 256.0};
    const double offset[4] = {double(cx.rAdd), double(cx.gAdd), double(cx.bAdd), double(cx.aAdd)};
    return script::newColorTransform(vm, multiplier, offset);
}

Matrix concatenated(const stage::DisplayObject& object)
{
    Matrix m = object.matrix();
    for (const stage::DisplayObject* p = object.parent(); p; p = p->parent()) m = p->matrix() * m;
    return m;
}

// parent applied after child, in the 16-bit fixed point of the reference
// player: products rounded down, results wrapped to 16 bits.
ColorTransform compose(const ColorTransform& parent, const ColorTransform& child)
{
    auto wrap = [](int64_t v) { return int32_t(int16_t(uint16_t(uint64_t(v)))); };
    auto scaled = [](int64_t a, int64_t b) {
        int64_t product = a * b;
        return product >= 0 ? product / 256 : -((-product + 255) / 256);
    };
    ColorTransform r;
    int32_t ColorTransform::*mults[] = {&ColorTransform::rMult, &ColorTransform::gMult, &ColorTransform::bMult,
                                        &ColorTransform::aMult};
    int32_t ColorTransform::*adds[] = {&ColorTransform::rAdd, &ColorTransform::gAdd, &ColorTransform::bAdd,
                                       &ColorTransform::aAdd};
    for (int i = 0; i < 4; ++i) {
        r.*mults[i] = wrap(scaled(parent.*mults[i], child.*mults[i]));
        r.*adds[i] = wrap(parent.*adds[i] + scaled(parent.*mults[i], child.*adds[i]));
    }
    return r;
}

ColorTransform concatenatedColor(const stage::DisplayObject& object)
{
    ColorTransform cx = object.colorTransform();
    for (const stage::DisplayObject* p = object.parent(); p; p = p->parent()) cx = compose(p->colorTransform(), cx);
    return cx;
}

Value construct(CallContext& c)
{
    if (!displayObjectOf(c.vm, c.arg(0))) {
        c.refuseInstance = true;
        return Value();
    }
    return Value(static_cast<script::Object*>(script::adoptInstance<TransformObject>(c, c.arg(0).object())));
}

Value getMatrix(CallContext& c)
{
    stage::DisplayObject* object = objectOf(c);
    return object ? matrixValue(c.vm, object->matrix()) : Value();
}

Value setMatrix(CallContext& c)
{
    stage::DisplayObject* object = objectOf(c);
    Value cls = c.vm.get(script::flashPackage(c.vm, "geom"), "Matrix");
    if (!object || !cls.isObject() || !c.vm.instanceOf(c.arg(0), cls.object())) return Value();
    Matrix m;
    double* fields[] = {&m.a, &m.b, &m.c, &m.d, &m.tx, &m.ty};
    const char* names[] = {"a", "b", "c", "d", "tx", "ty"};
    for (int i = 0; i < 6; ++i) *fields[i] = script::numberOf(c.vm, c.arg(0), names[i]);
    m.tx = std::round(m.tx * 20);
    m.ty = std::round(m.ty * 20);
    object->setMatrix(m);
    return Value();
}

Value getColor(CallContext& c)
{
    stage::DisplayObject* object = objectOf(c);
    script::Object* made = object ? colorValue(c.vm, object->colorTransform()) : nullptr;
    return made ? Value(made) : Value();
}

Value setColor(CallContext& c)
{
    stage::DisplayObject* object = objectOf(c);
    auto* from = c.arg(0).isObject() ? dynamic_cast<script::ColorTransformObject*>(c.arg(0).object()) : nullptr;
    if (!object || !from) return Value();
    ColorTransform cx;
    int32_t* mults[] = {&cx.rMult, &cx.gMult, &cx.bMult, &cx.aMult};
    int32_t* adds[] = {&cx.rAdd, &cx.gAdd, &cx.bAdd, &cx.aAdd};
    for (int i = 0; i < 4; ++i) {
        *mults[i] = wrap16(c.vm, from->multiplier[i] * 256);
        *adds[i] = wrap16(c.vm, from->offset[i]);
    }
    object->setColorTransform(cx);
    return Value();
}

Value getConcatenatedMatrix(CallContext& c)
{
    stage::DisplayObject* object = objectOf(c);
    return object ? matrixValue(c.vm, concatenated(*object)) : Value();
}

Value getConcatenatedColor(CallContext& c)
{
    stage::DisplayObject* object = objectOf(c);
    script::Object* made = object ? colorValue(c.vm, concatenatedColor(*object)) : nullptr;
    return made ? Value(made) : Value();
}

Value getPixelBounds(CallContext& c)
{
    stage::DisplayObject* object = objectOf(c);
    if (!object) return Value();
    Rect r = concatenated(*object).transform(object->bounds());
    if (r.empty()) r = Rect{0, 0, 0, 0};
    return script::newGeom(c.vm, "Rectangle", {Value(r.xMin / 20), Value(r.yMin / 20), Value(r.width() / 20),
                                               Value(r.height() / 20)});
}

// clip.transform: a new Transform of the clip on every read.
Value getClipTransform(CallContext& c)
{
    if (!c.thisObject || c.thisObject->kind() != script::ObjectKind::Clip) return Value();
    Value cls = c.vm.get(script::flashPackage(c.vm, "geom"), "Transform");
    return c.vm.construct(cls, {Value(c.thisObject)});
}

// Assigning a Transform copies its clip's matrix and colour transform.
Value setClipTransform(CallContext& c)
{
    stage::DisplayObject* object = displayObjectOf(c.vm, Value(c.thisObject));
    auto* from = c.arg(0).isObject() ? dynamic_cast<TransformObject*>(c.arg(0).object()) : nullptr;
    stage::DisplayObject* source = from ? displayObjectOf(c.vm, Value(from->clip)) : nullptr;
    if (!object || !source) return Value();
    object->setMatrix(source->matrix());
    object->setColorTransform(source->colorTransform());
    return Value();
}

} // namespace

void installTransform(script::VM& vm)
{
    script::FunctionObject* cls = script::addFlashClass(vm, "geom", "Transform", construct);
    script::Object* proto = vm.get(cls, "prototype").object();
    script::addAccessor(vm, proto, "matrix", getMatrix, setMatrix);
    script::addAccessor(vm, proto, "colorTransform", getColor, setColor);
    script::addAccessor(vm, proto, "concatenatedMatrix", getConcatenatedMatrix, nullptr);
    script::addAccessor(vm, proto, "concatenatedColorTransform", getConcatenatedColor, nullptr);
    script::addAccessor(vm, proto, "pixelBounds", getPixelBounds, nullptr);
    script::addAccessor(vm, vm.protos().movieClip, "transform", getClipTransform, setClipTransform);
    vm.protos().movieClip->findOwn("transform")->flags |= script::OnlySwf8Up;
}

} // namespace tesmar::bridge
