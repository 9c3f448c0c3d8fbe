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
#include "player/script/Function.h"

namespace tesmar::stage {
class DisplayObject;
}

namespace tesmar::bridge {

// The numbers are the filter ids of the file format; the displacement map
// and the base class have none there.
enum class FilterKind : uint8_t {
    DropShadow = 0, Blur = 1, Glow = 2, Bevel = 3, GradientGlow = 4, Convolution = 5, ColorMatrix = 6,
    GradientBevel = 7, DisplacementMap = 8, Base = 9,
};

// Every setting any filter has, in the ranges the setters keep them in.
struct FilterSettings {
    static constexpr int kMaxGradient = 16;
    static constexpr double kDefaultAngle = 0.785398163;   // radians, as the classes start

    FilterKind kind = FilterKind::Base;
    double distance = 4, angle = kDefaultAngle;   // angle in radians
    double blurX = 4, blurY = 4, strength = 1;
    int quality = 1;
    uint32_t color = 0, highlightColor = 0xFFFFFF;   // color is also the bevel's shadow
    uint8_t alpha = 255, highlightAlpha = 255;      // alpha is also the bevel's shadow alpha
    bool inner = false, knockout = false, hideObject = false;
    std::string type = "inner";
    // Gradient glow and bevel: `count` entries of fixed arrays that keep
    // their older values past it.
    int count = 0;
    std::array<uint32_t, kMaxGradient> colors{};
    std::array<uint8_t, kMaxGradient> alphas{}, ratios{};
    // Colour matrix: 4 rows of 5.
    std::array<double, 20> colorMatrix{1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0};
    // Convolution.
    int matrixX = 0, matrixY = 0;
    std::vector<double> kernel;
    double divisor = 1, bias = 0;
    bool preserveAlpha = true, clamp = true;
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
