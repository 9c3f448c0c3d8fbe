#pragma once
// The flash.filters classes as scripts see them. A filter's settings live in
// a FilterState kept in a hidden slot of the script object, so that a class
// extending a filter class gets them from super() on its own instance, and a
// second construction of the same object changes nothing.
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>
#include "player/render/Filter.h"
#include "player/script/Function.h"

namespace tesmar::stage {
class DisplayObject;
}

namespace tesmar::bridge {

using render::FilterKind;

// A filter as scripts see it: the settings the renderer draws, and what only
// scripts keep (a bevel's or gradient filter's type name, the displacement
// map's settings).
struct FilterSettings : render::Filter {
    FilterSettings() { kind = FilterKind::Base; }

    std::string type = "inner";
    // Displacement map (its bitmap is a script value, kept by FilterState).
    int32_t mapPointX = 0, mapPointY = 0;
    int32_t componentX = 0, componentY = 0;
    double scaleX = 0, scaleY = 0;
    std::string mode = "wrap";

    // A filter of `kind` with that class's defaults.
    static FilterSettings defaults(FilterKind kind);
};

class FilterState : public script::Object {
public:
    FilterState(script::Heap& heap, FilterSettings settings) : Object(heap), settings(std::move(settings)) {}
    FilterSettings settings;
    script::Value mapBitmap;   // displacement map: a BitmapData or undefined

    void trace(script::Tracer& tracer) override
    {
        Object::trace(tracer);
        tracer.mark(mapBitmap);
    }
};

// The filter settings a script value holds, or null for anything else.
FilterState* filterOf(const script::Value& value);
// new flash.filters.<class of state> carrying a copy of `state`; undefined
// when the movie replaced the class with one that makes no filter.
script::Value newFilter(script::VM& vm, const FilterState& state);
script::Value newFilter(script::VM& vm, const FilterSettings& settings);

// Reads a FILTERLIST as PlaceObject3 stores it; stops at the first filter
// that is cut short or unknown.
std::vector<FilterSettings> readFilterList(std::span<const uint8_t> bytes);

// Makes `object` draw the filters of `list` (an array of filter objects).
void drawFilters(script::VM& vm, stage::DisplayObject& object, const script::Value& list);

void installFilters(script::VM& vm);
// MovieClip.filters: copies in, copies out.
void installClipFilters(script::VM& vm);

} // namespace tesmar::bridge
