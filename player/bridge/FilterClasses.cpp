// flash.filters: BitmapFilter and its nine classes. Every setting is an
// accessor on the class prototype that keeps the value in the range the
// filter can use: colours to 24 bits, alphas to steps of 1/255, qualities to
// 0..15, blurs and strengths to 0..255.

#include "player/bridge/FilterObject.h"

#include "player/bridge/BitmapData.h"
#include "player/script/BuiltinGeom.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

// Where a script object keeps its FilterState.
constexpr const char* kSlot = "$filterState";

enum class Prop {
    Distance, Angle, Color, Alpha, HighlightColor, HighlightAlpha, ShadowColor, ShadowAlpha, BlurX, BlurY,
    Strength, Quality, Type, Inner, Knockout, HideObject, Colors, Alphas, Ratios, Matrix, MatrixX, MatrixY,
    Divisor, Bias, PreserveAlpha, Clamp, MapBitmap, MapPoint, ComponentX, ComponentY, ScaleX, ScaleY, Mode,
};

const char* propName(Prop p)
{
    static const char* const names[] = {
        "distance", "angle", "color", "alpha", "highlightColor", "highlightAlpha", "shadowColor", "shadowAlpha",
        "blurX", "blurY", "strength", "quality", "type", "inner", "knockout", "hideObject", "colors", "alphas",
        "ratios", "matrix", "matrixX", "matrixY", "divisor", "bias", "preserveAlpha", "clamp", "mapBitmap",
        "mapPoint", "componentX", "componentY", "scaleX", "scaleY", "mode"};
    return names[int(p)];
}

struct FilterClass {
    const char* name;
    FilterKind kind;
    std::vector<Prop> arguments;   // the constructor's, in order
    std::vector<Prop> listed;      // the accessors, in the order for..in shows them
};

const std::vector<FilterClass>& filterClasses()
{
    using P = Prop;
    static const std::vector<FilterClass> classes = {
        {"BevelFilter", FilterKind::Bevel,
         {P::Distance, P::Angle, P::HighlightColor, P::HighlightAlpha, P::ShadowColor, P::ShadowAlpha, P::BlurX,
          P::BlurY, P::Strength, P::Quality, P::Type, P::Knockout},
         {P::Distance, P::Angle, P::HighlightColor, P::HighlightAlpha, P::ShadowColor, P::ShadowAlpha, P::Quality,
          P::Strength, P::Knockout, P::BlurX, P::BlurY, P::Type}},
        {"BlurFilter", FilterKind::Blur, {P::BlurX, P::BlurY, P::Quality}, {P::BlurX, P::BlurY, P::Quality}},
        {"ColorMatrixFilter", FilterKind::ColorMatrix, {P::Matrix}, {P::Matrix}},
        {"ConvolutionFilter", FilterKind::Convolution,
         {P::MatrixX, P::MatrixY, P::Matrix, P::Divisor, P::Bias, P::PreserveAlpha, P::Clamp, P::Color, P::Alpha},
         {P::MatrixX, P::MatrixY, P::Matrix, P::Divisor, P::Bias, P::PreserveAlpha, P::Clamp, P::Color, P::Alpha}},
        {"DisplacementMapFilter", FilterKind::DisplacementMap,
         {P::MapBitmap, P::MapPoint, P::ComponentX, P::ComponentY, P::ScaleX, P::ScaleY, P::Mode, P::Color,
          P::Alpha},
         {P::MapBitmap, P::MapPoint, P::ComponentX, P::ComponentY, P::ScaleX, P::ScaleY, P::Mode, P::Color,
          P::Alpha}},
        {"DropShadowFilter", FilterKind::DropShadow,
         {P::Distance, P::Angle, P::Color, P::Alpha, P::BlurX, P::BlurY, P::Strength, P::Quality, P::Inner,
          P::Knockout, P::HideObject},
         {P::Distance, P::Angle, P::Color, P::Alpha, P::Quality, P::Inner, P::Knockout, P::BlurX, P::BlurY,
          P::Strength, P::HideObject}},
        {"GlowFilter", FilterKind::Glow,
         {P::Color, P::Alpha, P::BlurX, P::BlurY, P::Strength, P::Quality, P::Inner, P::Knockout},
         {P::Color, P::Alpha, P::Quality, P::Inner, P::Knockout, P::BlurX, P::BlurY, P::Strength}},
        {"GradientBevelFilter", FilterKind::GradientBevel,
         {P::Distance, P::Angle, P::Colors, P::Alphas, P::Ratios, P::BlurX, P::BlurY, P::Strength, P::Quality,
          P::Type, P::Knockout},
         {P::Distance, P::Angle, P::Colors, P::Alphas, P::Ratios, P::BlurX, P::BlurY, P::Quality, P::Strength,
          P::Knockout, P::Type}},
        {"GradientGlowFilter", FilterKind::GradientGlow,
         {P::Distance, P::Angle, P::Colors, P::Alphas, P::Ratios, P::BlurX, P::BlurY, P::Strength, P::Quality,
          P::Type, P::Knockout},
         {P::Distance, P::Angle, P::Colors, P::Alphas, P::Ratios, P::BlurX, P::BlurY, P::Quality, P::Strength,
          P::Knockout, P::Type}},
    };
    return classes;
}

FilterState* self(CallContext& c)
{
    return c.thisObject ? filterOf(Value(c.thisObject)) : nullptr;
}

// 0..1 as the player takes it: a NaN counts as 1.
double unit(double v)
{
    v = v < 1 ? v : 1;
    return v > 0 ? v : 0;
}

double clampTo(double v, double low, double high)
{
    v = v < high ? v : high;
    return v > low ? v : low;
}

uint32_t rgb(CallContext& c, const Value& v) { return uint32_t(c.vm.toInt32(v)) & 0xFFFFFF; }

uint8_t alphaByte(CallContext& c, const Value& v) { return uint8_t(unit(c.vm.toNumber(v)) * 255); }

// A number converted to a 32-bit integer as the processor does it: what
// does not fit (NaN included) becomes the lowest integer.
int32_t truncated(double v)
{
    return v >= -2147483648.0 && v < 2147483648.0 ? int32_t(v) : INT32_MIN;
}

Value numbers(CallContext& c, size_t count, auto at)
{
    std::vector<Value> items;
    for (size_t i = 0; i < count; ++i) items.push_back(Value(double(at(i))));
    return Value(static_cast<script::Object*>(c.vm.newArray(items)));
}

// The length of an array-like value: 0 when it has none.
size_t lengthOf(CallContext& c, const Value& v)
{
    double n = c.vm.toNumber(c.vm.getOf(v, "length"));
    return n > 0 ? size_t(std::min(n, 65536.0)) : 0;
}

Value element(CallContext& c, const Value& v, size_t i)
{
    return c.vm.getOf(v, std::to_string(i));
}

std::string oneOf(const std::string& value, std::initializer_list<const char*> allowed, const char* otherwise)
{
    for (const char* a : allowed)
        if (value == a) return value;
    return otherwise;
}

Value getProp(CallContext& c, FilterState& state, Prop p)
{
    const FilterSettings& s = state.settings;
    switch (p) {
    case Prop::Distance: return Value(s.distance);
    case Prop::Angle: return Value(s.angle * 180 / std::numbers::pi);
    case Prop::Color: case Prop::ShadowColor: return Value(double(s.color));
    case Prop::Alpha: case Prop::ShadowAlpha: return Value(s.alpha / 255.0);
    case Prop::HighlightColor: return Value(double(s.highlightColor));
    case Prop::HighlightAlpha: return Value(s.highlightAlpha / 255.0);
    case Prop::BlurX: return Value(s.blurX);
    case Prop::BlurY: return Value(s.blurY);
    case Prop::Strength: return Value(s.strength);
    case Prop::Quality: return Value(s.quality);
    case Prop::Type: return Value(s.type);
    case Prop::Inner: return Value(s.inner);
    case Prop::Knockout: return Value(s.knockout);
    case Prop::HideObject: return Value(s.hideObject);
    case Prop::Colors: return numbers(c, size_t(s.count), [&](size_t i) { return s.colors[i]; });
    case Prop::Alphas: return numbers(c, size_t(s.count), [&](size_t i) { return s.alphas[i] / 255.0; });
    case Prop::Ratios: return numbers(c, size_t(s.count), [&](size_t i) { return s.ratios[i]; });
    case Prop::Matrix:
        if (s.kind == FilterKind::ColorMatrix) return numbers(c, 20, [&](size_t i) { return s.colorMatrix[i]; });
        return numbers(c, s.kernel.size(), [&](size_t i) { return s.kernel[i]; });
    case Prop::MatrixX: return Value(s.matrixX);
    case Prop::MatrixY: return Value(s.matrixY);
    case Prop::Divisor: return Value(s.divisor);
    case Prop::Bias: return Value(s.bias);
    case Prop::PreserveAlpha: return Value(s.preserveAlpha);
    case Prop::Clamp: return Value(s.clamp);
    case Prop::MapBitmap: return state.mapBitmap;
    case Prop::MapPoint: return script::newGeom(c.vm, "Point", {Value(s.mapPointX), Value(s.mapPointY)});
    case Prop::ComponentX: return Value(s.componentX);
    case Prop::ComponentY: return Value(s.componentY);
    case Prop::ScaleX: return Value(s.scaleX);
    case Prop::ScaleY: return Value(s.scaleY);
    case Prop::Mode: return Value(s.mode);
    }
    return Value();
}

// A convolution kernel never holds fewer than matrixX * matrixY entries.
void growKernel(FilterSettings& s)
{
    size_t needed = size_t(s.matrixX) * size_t(s.matrixY);
    if (s.kernel.size() < needed) s.kernel.resize(needed, 0.0);
}

void setMapPoint(CallContext& c, FilterSettings& s, const Value& v)
{
    // Both coordinates are converted even when one throws; the first throw
    // goes on once the point is stored.
    std::optional<script::ScriptThrow> thrown;
    auto coordinate = [&](const char* name, bool& present) {
        Value value = c.vm.getOf(v, name);
        present = !value.isUndefined();
        try {
            return truncated(c.vm.toNumber(value));
        } catch (const script::ScriptThrow& t) {
            if (!thrown) thrown = t;
            return INT32_MIN;
        }
    };
    bool hasX = false, hasY = false;
    int32_t x = v.isObject() ? coordinate("x", hasX) : 0;
    int32_t y = v.isObject() ? coordinate("y", hasY) : 0;
    s.mapPointX = hasX && hasY ? x : 0;
    s.mapPointY = hasX && hasY ? y : 0;
    if (thrown) throw *thrown;
}

void setProp(CallContext& c, FilterState& state, Prop p, const Value& v)
{
    FilterSettings& s = state.settings;
    switch (p) {
    case Prop::Distance: s.distance = c.vm.toNumber(v); break;
    case Prop::Angle: s.angle = std::fmod(c.vm.toNumber(v), 360.0) * std::numbers::pi / 180; break;
    case Prop::Color: case Prop::ShadowColor: s.color = rgb(c, v); break;
    case Prop::Alpha: case Prop::ShadowAlpha: s.alpha = alphaByte(c, v); break;
    case Prop::HighlightColor: s.highlightColor = rgb(c, v); break;
    case Prop::HighlightAlpha: s.highlightAlpha = alphaByte(c, v); break;
    case Prop::BlurX: s.blurX = clampTo(c.vm.toNumber(v), 0, 255); break;
    case Prop::BlurY: s.blurY = clampTo(c.vm.toNumber(v), 0, 255); break;
    case Prop::Strength: s.strength = clampTo(c.vm.toNumber(v), 0, 255); break;
    case Prop::Quality: s.quality = std::clamp(c.vm.toInt32(v), 0, 15); break;
    case Prop::Type: s.type = oneOf(c.vm.toString(v), {"inner", "outer", "full"}, "full"); break;
    case Prop::Inner: s.inner = c.vm.toBoolean(v); break;
    case Prop::Knockout: s.knockout = c.vm.toBoolean(v); break;
    case Prop::HideObject: s.hideObject = c.vm.toBoolean(v); break;
    case Prop::Colors:
        if (v.isNullish()) break;
        s.count = int(std::min<size_t>(lengthOf(c, v), FilterSettings::kMaxGradient));
        for (int i = 0; i < s.count; ++i) s.colors[size_t(i)] = rgb(c, element(c, v, size_t(i)));
        break;
    case Prop::Alphas:
        if (v.isNullish()) break;
        for (int i = 0; i < s.count; ++i)
            s.alphas[size_t(i)] = uint8_t(std::lround(unit(c.vm.toNumber(element(c, v, size_t(i)))) * 255));
        break;
    case Prop::Ratios: {
        if (v.isNullish()) break;
        s.count = int(std::min<size_t>(size_t(s.count), lengthOf(c, v)));
        for (int i = 0; i < s.count; ++i)
            s.ratios[size_t(i)] = uint8_t(std::clamp(c.vm.toInt32(element(c, v, size_t(i))), 0, 255));
        break;
    }
    case Prop::Matrix:
        if (v.isNullish()) break;
        if (s.kind == FilterKind::ColorMatrix) {
            for (size_t i = 0; i < 20; ++i) s.colorMatrix[i] = c.vm.toNumber(element(c, v, i));
        } else {
            s.kernel.assign(lengthOf(c, v), 0.0);
            for (size_t i = 0; i < s.kernel.size(); ++i) s.kernel[i] = c.vm.toNumber(element(c, v, i));
            growKernel(s);
        }
        break;
    case Prop::MatrixX: s.matrixX = std::clamp(c.vm.toInt32(v), 0, 15); growKernel(s); break;
    case Prop::MatrixY: s.matrixY = std::clamp(c.vm.toInt32(v), 0, 15); growKernel(s); break;
    case Prop::Divisor: s.divisor = c.vm.toNumber(v); break;
    case Prop::Bias: s.bias = c.vm.toNumber(v); break;
    case Prop::PreserveAlpha: s.preserveAlpha = c.vm.toBoolean(v); break;
    case Prop::Clamp: s.clamp = c.vm.toBoolean(v); break;
    case Prop::MapBitmap:
        if (v.isObject() && dynamic_cast<BitmapDataObject*>(v.object())) state.mapBitmap = v;
        break;
    case Prop::MapPoint: setMapPoint(c, s, v); break;
    case Prop::ComponentX: s.componentX = c.vm.toInt32(v); break;
    case Prop::ComponentY: s.componentY = c.vm.toInt32(v); break;
    case Prop::ScaleX: s.scaleX = clampTo(c.vm.toNumber(v), -65535, 65535); break;
    case Prop::ScaleY: s.scaleY = clampTo(c.vm.toNumber(v), -65535, 65535); break;
    case Prop::Mode: s.mode = oneOf(c.vm.toString(v), {"wrap", "clamp", "ignore", "color"}, "wrap"); break;
    }
}

template <Prop P>
Value getter(CallContext& c)
{
    FilterState* state = self(c);
    return state ? getProp(c, *state, P) : Value();
}

template <Prop P>
Value setter(CallContext& c)
{
    if (FilterState* state = self(c)) setProp(c, *state, P, c.arg(0));
    return Value();
}

template <size_t... I>
void addAccessorFor(script::VM& vm, script::Object* proto, Prop p, std::index_sequence<I...>)
{
    // One getter/setter pair per property, chosen from the instantiated list.
    static constexpr script::NativeFunction getters[] = {getter<Prop(I)>...};
    static constexpr script::NativeFunction setters[] = {setter<Prop(I)>...};
    script::addAccessor(vm, proto, propName(p), getters[int(p)], setters[int(p)]);
    proto->findOwn(propName(p))->flags = 0;
}

void addAccessor(script::VM& vm, script::Object* proto, Prop p)
{
    addAccessorFor(vm, proto, p, std::make_index_sequence<size_t(Prop::Mode) + 1>());
}

// Makes the state of a new filter, or leaves an object that already has one
// as it is (its arguments are still converted).
template <int Index>
Value construct(CallContext& c)
{
    const FilterClass& cls = filterClasses()[Index];
    if (!c.thisObject) return Value();
    FilterState* fresh = c.vm.heap().make<FilterState>(FilterSettings::defaults(cls.kind));
    for (size_t i = 0; i < cls.arguments.size() && i < c.count(); ++i)
        if (!c.arg(i).isUndefined()) setProp(c, *fresh, cls.arguments[i], c.arg(i));
    if (!filterOf(Value(c.thisObject)))
        c.thisObject->put(kSlot, Value(static_cast<script::Object*>(fresh)), script::DontEnum | script::DontDelete);
    return Value();
}

Value constructBase(CallContext&)
{
    return Value();
}

Value cloneBase(CallContext&)
{
    return Value();
}

Value clone(CallContext& c)
{
    FilterState* state = self(c);
    return state ? newFilter(c.vm, *state) : Value();
}

template <size_t... I>
void installClasses(script::VM& vm, script::Object* baseProto, std::index_sequence<I...>)
{
    static constexpr script::NativeFunction constructors[] = {construct<int(I)>...};
    const auto& classes = filterClasses();
    for (size_t i = 0; i < classes.size(); ++i) {
        script::Object* proto = vm.newObject();
        proto->setProto(baseProto);
        for (Prop p : classes[i].listed) addAccessor(vm, proto, p);
        vm.defineNative(proto, "clone", clone, 0);
        script::addFlashClass(vm, "filters", classes[i].name, constructors[i], proto);
    }
}

} // namespace

FilterSettings FilterSettings::defaults(FilterKind kind)
{
    FilterSettings s;
    s.kind = kind;
    switch (kind) {
    case FilterKind::Glow:
        s.color = 0xFF0000;
        s.blurX = s.blurY = 6;
        s.strength = 2;
        break;
    case FilterKind::Convolution:
        s.alpha = 0;
        break;
    case FilterKind::DisplacementMap:
        s.alpha = 0;
        break;
    default:
        break;
    }
    return s;
}

FilterState* filterOf(const Value& value)
{
    if (!value.isObject()) return nullptr;
    script::Property* slot = value.object()->findOwn(kSlot);
    return slot && slot->value.isObject() ? dynamic_cast<FilterState*>(slot->value.object()) : nullptr;
}

Value newFilter(script::VM& vm, const FilterState& state)
{
    Value made = newFilter(vm, state.settings);
    if (FilterState* copy = filterOf(made)) copy->mapBitmap = state.mapBitmap;
    return made;
}

Value newFilter(script::VM& vm, const FilterSettings& settings)
{
    for (const FilterClass& cls : filterClasses()) {
        if (cls.kind != settings.kind) continue;
        Value made = vm.construct(vm.get(script::flashPackage(vm, "filters"), cls.name), {});
        FilterState* state = filterOf(made);
        if (!state) return Value();
        state->settings = settings;
        return made;
    }
    return Value();
}

void installFilters(script::VM& vm)
{
    script::FunctionObject* base = script::addFlashClass(vm, "filters", "BitmapFilter", constructBase);
    script::Object* baseProto = vm.get(base, "prototype").object();
    vm.defineNative(baseProto, "clone", cloneBase, 0);
    installClasses(vm, baseProto, std::make_index_sequence<9>());
    installClipFilters(vm);
}

} // namespace tesmar::bridge
