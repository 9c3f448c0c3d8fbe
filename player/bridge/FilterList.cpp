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

bool hasType(FilterKind kind)
{
    return kind == FilterKind::Bevel || kind == FilterKind::GradientBevel || kind == FilterKind::GradientGlow;
}

// The settings of a filter a FILTERLIST gave, as a script sees them.
FilterSettings settingsOf(const render::Filter& f)
{
    FilterSettings s = FilterSettings::defaults(f.kind);
    static_cast<render::Filter&>(s) = f;
    if (hasType(f.kind)) s.type = f.onTop ? "full" : f.inner ? "inner" : "outer";
    return s;
}

// The filter a script's settings describe, for drawing; nothing for the
// kinds the renderer does not draw.
std::optional<render::Filter> drawnFilter(const FilterSettings& s)
{
    if (s.kind > FilterKind::GradientBevel) return std::nullopt;
    render::Filter f = s;
    if (hasType(s.kind)) {
        f.inner = s.type == "inner";
        f.onTop = s.type == "full";
    }
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
