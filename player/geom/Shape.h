#pragma once
// The vector shape model shared by the file reader (which builds it from
// DefineShape/DefineMorphShape/fonts) and the rasterizer (which fills it).
// It knows nothing of the file format's bit layout.
#include <cstdint>
#include <vector>
#include "player/geom/Color.h"
#include "player/geom/Geometry.h"

namespace tesmar {

struct GradientStop {
    uint8_t ratio = 0;   // 0-255 position along the gradient
    Rgba color;
};

struct Gradient {
    enum class Spread : uint8_t { Pad, Reflect, Repeat };
    enum class Interpolation : uint8_t { Rgb, LinearRgb };
    Spread spread = Spread::Pad;
    Interpolation interpolation = Interpolation::Rgb;
    std::vector<GradientStop> stops;   // at most 15, ratios as stored
    double focalPoint = 0;             // -1..1, focal gradients only
};

struct FillStyle {
    enum class Kind : uint8_t { Solid, LinearGradient, RadialGradient, FocalGradient, Bitmap };
    Kind kind = Kind::Solid;
    Rgba color;            // Solid
    // Gradients: maps the gradient square (-16384..16384 twips on each axis)
    // into shape space. Bitmaps: maps bitmap pixels (1 unit = 1 twip when the
    // matrix is scaled 20) into shape space.
    Matrix matrix;
    Gradient gradient;
    uint16_t bitmapId = 0;  // character id; 0xFFFF or unknown ids draw nothing
    bool bitmapRepeat = true;
    bool bitmapSmooth = true;
};

struct LineStyle {
    enum class Cap : uint8_t { Round, None, Square };
    enum class Join : uint8_t { Round, Bevel, Miter };
    double width = 20;       // twips; 0 is a hairline (drawn one pixel wide)
    Rgba color;
    Cap startCap = Cap::Round, endCap = Cap::Round;
    Join join = Join::Round;
    double miterLimit = 3;
    bool noHScale = false, noVScale = false;
    bool pixelHinting = false;
    bool noClose = false;
    bool hasFill = false;    // LineStyle2 with a fill instead of a colour
    FillStyle fill;
};

struct PathSegment {
    bool curved = false;   // quadratic curve with a control point, else a line
    Point control;
    Point to;
};

// A run of connected edges that share one (fill0, fill1, line) triple.
// Style indices are 1-based into the path's style group; 0 means none.
// fill0 is the fill on the left of the edges' direction, fill1 on the right,
// as the file format defines them.
struct ShapePath {
    uint32_t styleGroup = 0;
    uint32_t fill0 = 0, fill1 = 0, line = 0;
    Point start;
    std::vector<PathSegment> segments;
};

// Styles as they were defined together; a shape may define new ones midway.
struct StyleGroup {
    std::vector<FillStyle> fills;
    std::vector<LineStyle> lines;
};

struct Shape {
    Rect bounds;        // including strokes
    Rect edgeBounds;    // the edges alone (DefineShape4), else = bounds
    // Fills overlapping themselves: even-odd unless DefineShape4 asks for non-zero.
    bool nonZeroWinding = false;
    std::vector<StyleGroup> groups;
    std::vector<ShapePath> paths;
};

} // namespace tesmar
