#pragma once
// The bitmap filters a display object can carry, as the renderer applies
// them: the settings of every kind in one plain record.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace tesmar::render {

// The numbers are the filter ids a FILTERLIST stores. Scripts can also make
// a displacement map and the bare base class, which draw nothing here.
enum class FilterKind : uint8_t {
    DropShadow = 0, Blur = 1, Glow = 2, Bevel = 3, GradientGlow = 4, Convolution = 5, ColorMatrix = 6,
    GradientBevel = 7, DisplacementMap = 8, Base = 9,
};

struct Filter {
    static constexpr int kMaxGradient = 16;

    FilterKind kind = FilterKind::Blur;
    // Blur size in stage pixels, passes of the box blur.
    double blurX = 4, blurY = 4;
    int quality = 1;
    // Shadows, glows and bevels.
    double strength = 1, angle = 0.785398163, distance = 4;   // angle in radians
    uint32_t color = 0, highlightColor = 0xFFFFFF;   // 0xRRGGBB; color is also a bevel's shadow
    uint8_t alpha = 255, highlightAlpha = 255;
    bool inner = false, knockout = false, hideObject = false;
    bool onTop = false;   // a bevel of type "full"
    // Gradient glow and bevel: the first `count` entries.
    int count = 0;
    std::array<uint32_t, kMaxGradient> colors{};
    std::array<uint8_t, kMaxGradient> alphas{}, ratios{};
    // Colour matrix: 4 rows of 5, offsets in 0-255 units.
    std::array<double, 20> colorMatrix{1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0};
    // Convolution (color and alpha are the colour off the image's edge).
    int matrixX = 0, matrixY = 0;
    std::vector<double> kernel;
    double divisor = 1, bias = 0;
    bool preserveAlpha = true, clamp = true;

    bool operator==(const Filter&) const = default;
};

// Reads a FILTERLIST as PlaceObject3 stores it; stops at the first filter
// that is cut short or unknown.
std::vector<Filter> readFilterList(std::span<const uint8_t> bytes);

} // namespace tesmar::render
