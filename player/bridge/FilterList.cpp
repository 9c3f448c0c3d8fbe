// Filters on clips: the list a PlaceObject3 tag gives, and MovieClip.filters,
// which hands out copies and takes copies, so that changing a filter object
// changes a clip only when the list is assigned again.

#include "player/bridge/FilterObject.h"

#include "player/bridge/GeomClasses.h"
#include "player/script/BuiltinGeom.h"
#include "player/stage/DisplayObject.h"
#include "player/render/Filter.h"

#include <algorithm>
#include <optional>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

// Where a clip's script object keeps the list a script assigned.
constexpr const char* kClipSlot = "$clipFilters";

// The settings of a filter a FILTERLIST gave, as a script sees them.
FilterSettings settingsOf(const render::Filter& f)
{
    FilterSettings s = FilterSettings::defaults(FilterKind(f.kind));
    s.blurX = f.blurX;
    s.blurY = f.blurY;
    s.quality = f.quality;
    s.color = f.color;
    s.alpha = f.alpha;
    s.kernel = f.kernel;
    s.matrixX = f.matrixX;
    s.matrixY = f.matrixY;
    s.divisor = f.divisor;
    s.bias = f.bias;
    s.clamp = f.clamp;
    s.preserveAlpha = f.preserveAlpha;
    s.colorMatrix = f.colorMatrix;
    if (f.kind == render::FilterKind::Blur || f.kind == render::FilterKind::Convolution ||
        f.kind == render::FilterKind::ColorMatrix)
        return s;
    s.strength = f.strength;
    s.inner = f.inner;
    s.knockout = f.knockout;
    s.hideObject = f.hideObject;
    if (f.kind == render::FilterKind::Glow) return s;
    s.angle = f.angle;
    s.distance = f.distance;
    s.highlightColor = f.highlightColor;
    s.highlightAlpha = f.highlightAlpha;
    s.count = f.count;
    s.colors = f.colors;
    s.alphas = f.alphas;
    s.ratios = f.ratios;
    if (f.kind != render::FilterKind::DropShadow) s.type = f.onTop ? "full" : f.inner ? "inner" : "outer";
    return s;
}

// The filter a script's settings describe, for drawing; nothing for the
// kinds the renderer does not draw.
std::optional<render::Filter> drawnFilter(const FilterSettings& s)
{
    if (s.kind > FilterKind::GradientBevel) return std::nullopt;
    render::Filter f;
    f.kind = render::FilterKind(s.kind);
    f.blurX = s.blurX;
    f.blurY = s.blurY;
    f.quality = s.quality;
    f.strength = s.strength;
    f.angle = s.angle;
    f.distance = s.distance;
    f.color = s.color;
    f.highlightColor = s.highlightColor;
    f.alpha = s.alpha;
    f.highlightAlpha = s.highlightAlpha;
    f.knockout = s.knockout;
    f.hideObject = s.hideObject;
    const bool typed = s.kind == FilterKind::Bevel || s.kind == FilterKind::GradientBevel ||
                       s.kind == FilterKind::GradientGlow;
    f.inner = typed ? s.type == "inner" : s.inner;
    f.onTop = typed && s.type == "full";
    f.count = s.count;
    f.colors = s.colors;
    f.alphas = s.alphas;
    f.ratios = s.ratios;
    f.colorMatrix = s.colorMatrix;
    f.matrixX = s.matrixX;
    f.matrixY = s.matrixY;
    f.kernel = s.kernel;
    f.divisor = s.divisor;
    f.bias = s.bias;
    f.preserveAlpha = s.preserveAlpha;
    f.clamp = s.clamp;
    return f;
}

script::Object* clipScriptObject(CallContext& c)
{
    return c.thisObject && c.thisObject->kind() == script::ObjectKind::Clip ? c.thisObject : nullptr;
}

// A new array of copies of the filters in `list` (an array of filter objects).
Value copies(CallContext& c, const Value& list)
{
    std::vector<Value> items;
    const double length = c.vm.toNumber(c.vm.getOf(list, "length"));
    for (size_t i = 0; i < size_t(length > 0 ? std::min(length, 65536.0) : 0); ++i)
        if (FilterState* state = filterOf(c.vm.getOf(list, std::to_string(i)))) {
            Value copy = newFilter(c.vm, *state);
            if (!copy.isUndefined()) items.push_back(copy);
        }
    return Value(static_cast<script::Object*>(c.vm.newArray(items)));
}

Value getClipFilters(CallContext& c)
{
    script::Object* clip = clipScriptObject(c);
    if (!clip) return Value();
    if (script::Property* assigned = clip->findOwn(kClipSlot)) return copies(c, assigned->value);
    std::vector<Value> items;
    if (stage::DisplayObject* object = displayObjectOf(c.vm, Value(clip)))
        for (const FilterSettings& s : readFilterList(object->placedFilters())) items.push_back(newFilter(c.vm, s));
    return Value(static_cast<script::Object*>(c.vm.newArray(items)));
}

Value setClipFilters(CallContext& c)
{
    script::Object* clip = clipScriptObject(c);
    if (!clip) return Value();
    const Value list = copies(c, c.arg(0));
    clip->put(kClipSlot, list, script::DontEnum);
    if (stage::DisplayObject* object = displayObjectOf(c.vm, Value(clip))) drawFilters(c.vm, *object, list);
    return Value();
}

} // namespace

std::vector<FilterSettings> readFilterList(std::span<const uint8_t> bytes)
{
    std::vector<FilterSettings> filters;
    for (const render::Filter& f : render::readFilterList(bytes)) filters.push_back(settingsOf(f));
    return filters;
}

void drawFilters(script::VM& vm, stage::DisplayObject& object, const Value& list)
{
    std::vector<render::Filter> drawn;
    const double length = vm.toNumber(vm.getOf(list, "length"));
    for (size_t i = 0; i < size_t(length > 0 ? std::min(length, 65536.0) : 0); ++i)
        if (FilterState* state = filterOf(vm.getOf(list, std::to_string(i))))
            if (auto f = drawnFilter(state->settings)) drawn.push_back(std::move(*f));
    object.setFilters(std::move(drawn));
}

void installClipFilters(script::VM& vm)
{
    script::addAccessor(vm, vm.protos().movieClip, "filters", getClipFilters, setClipFilters);
    vm.protos().movieClip->findOwn("filters")->flags |= script::OnlySwf8Up;
}

} // namespace tesmar::bridge
