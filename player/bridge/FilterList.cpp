// Filters on clips: the list a PlaceObject3 tag gives, and MovieClip.filters,
// which hands out copies and takes copies, so that changing a filter object
// changes a clip only when the list is assigned again.

#include "player/bridge/FilterObject.h"

#include "player/bridge/GeomClasses.h"
#include "player/script/BuiltinGeom.h"
#include "player/stage/DisplayObject.h"
#include "player/swf/Reader.h"

#include <algorithm>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

// Where a clip's script object keeps the list a script assigned.
constexpr const char* kClipSlot = "$clipFilters";

uint32_t readRgba(swf::Reader& r, uint8_t& alpha)
{
    uint32_t red = r.u8(), green = r.u8(), blue = r.u8();
    alpha = r.u8();
    return red << 16 | green << 8 | blue;
}

// The blur, angle, distance, strength and flag byte that the shadow, glow
// and bevel records end with (a glow has no angle and distance).
void readShadowTail(swf::Reader& r, FilterSettings& s, bool offset, bool bevelFlags)
{
    s.blurX = r.fixed16();
    s.blurY = r.fixed16();
    if (offset) {
        s.angle = r.fixed16();
        s.distance = r.fixed16();
    }
    s.strength = r.fixed8();
    uint8_t flags = r.u8();
    s.inner = flags & 0x80;
    s.knockout = flags & 0x40;
    s.hideObject = !(flags & 0x20);
    s.quality = bevelFlags ? flags & 0x0F : flags & 0x1F;
    if (bevelFlags) s.type = (flags & 0x10) ? "full" : s.inner ? "inner" : "outer";
}

bool readFilter(swf::Reader& r, FilterSettings& s)
{
    const uint8_t id = r.u8();
    if (id > 7) return false;
    s = FilterSettings::defaults(FilterKind(id));
    switch (s.kind) {
    case FilterKind::DropShadow:
        s.color = readRgba(r, s.alpha);
        readShadowTail(r, s, true, false);
        break;
    case FilterKind::Blur:
        s.blurX = r.fixed16();
        s.blurY = r.fixed16();
        s.quality = r.u8() >> 3;
        break;
    case FilterKind::Glow:
        s.color = readRgba(r, s.alpha);
        readShadowTail(r, s, false, false);
        break;
    case FilterKind::Bevel:
        // The highlight comes first in the file.
        s.highlightColor = readRgba(r, s.highlightAlpha);
        s.color = readRgba(r, s.alpha);
        readShadowTail(r, s, true, true);
        break;
    case FilterKind::GradientGlow:
    case FilterKind::GradientBevel: {
        const int count = r.u8();
        if (count > FilterSettings::kMaxGradient) return false;
        s.count = count;
        for (int i = 0; i < count; ++i) s.colors[size_t(i)] = readRgba(r, s.alphas[size_t(i)]);
        for (int i = 0; i < count; ++i) s.ratios[size_t(i)] = r.u8();
        readShadowTail(r, s, true, true);
        break;
    }
    case FilterKind::Convolution: {
        s.matrixX = r.u8();
        s.matrixY = r.u8();
        s.divisor = r.f32();
        s.bias = r.f32();
        const size_t size = size_t(s.matrixX) * size_t(s.matrixY);
        if (size * 4 > r.remaining()) return false;
        s.kernel.resize(size);
        for (double& k : s.kernel) k = r.f32();
        s.color = readRgba(r, s.alpha);
        uint8_t flags = r.u8();
        s.clamp = flags & 0x02;
        s.preserveAlpha = flags & 0x01;
        break;
    }
    case FilterKind::ColorMatrix:
        for (double& m : s.colorMatrix) m = r.f32();
        break;
    default:
        return false;
    }
    return !r.failed();
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
    clip->put(kClipSlot, copies(c, c.arg(0)), script::DontEnum);
    return Value();
}

} // namespace

std::vector<FilterSettings> readFilterList(std::span<const uint8_t> bytes)
{
    std::vector<FilterSettings> filters;
    swf::Reader r(bytes);
    const int count = r.u8();
    for (int i = 0; i < count && !r.failed(); ++i) {
        FilterSettings s;
        if (!readFilter(r, s)) break;
        filters.push_back(std::move(s));
    }
    return filters;
}

void installClipFilters(script::VM& vm)
{
    script::addAccessor(vm, vm.protos().movieClip, "filters", getClipFilters, setClipFilters);
    vm.protos().movieClip->findOwn("filters")->flags |= script::OnlySwf8Up;
}

} // namespace tesmar::bridge
