#include "LoaderArt.h"
#include <cmath>
#include <vector>
#include "player/swf/WriterShapes.h"

namespace tesmar::movies {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The edges of the logo's parts, in pixels relative to the button's origin.
constexpr Rect kBarPixels{-100.75, -20.05, 139.25, 20.05};
constexpr Rect kLetteringPixels{-55.7, -12.6, 118.05, 12.4};
constexpr Rect kEmblemPixels{-125.75, -45, -75.75, 45};
constexpr Rect kHighlightPixels{-139.25, -40.3, -62.25, 25.7};

const Rgba kBlack{0, 0, 0, 255};
const Rgba kBlue{0, 0, 255, 255};
const Rgba kWhite{255, 255, 255, 255};
const Rgba kYellow{255, 255, 0, 255};
const Rgba kGrey33{0x33, 0x33, 0x33, 255};
const Rgba kGrey66{0x66, 0x66, 0x66, 255};

Point twips(double xPixels, double yPixels) { return {xPixels * kTwipsPerPixel, yPixels * kTwipsPerPixel}; }

Rect twips(const Rect& pixels) {
    return {pixels.xMin * kTwipsPerPixel, pixels.yMin * kTwipsPerPixel, pixels.xMax * kTwipsPerPixel,
            pixels.yMax * kTwipsPerPixel};
}

// A closed polygon path through the points.
ShapePath polygon(const std::vector<Point>& points) {
    ShapePath path;
    path.start = points.front();
    for (size_t i = 1; i < points.size(); ++i) path.segments.push_back({false, {}, points[i]});
    path.segments.push_back({false, {}, points.front()});
    return path;
}

// A gradient fill whose square (-16384..16384 twips) is scaled to `length`
// twips along the direction `angle` (radians, 0 = to the right) and
// centred on `centre`.
FillStyle gradientFill(FillStyle::Kind kind, double length, double angle, Point centre,
                       std::vector<GradientStop> stops) {
    FillStyle fill;
    fill.kind = kind;
    const double s = length / 32768;
    fill.matrix = Matrix{s * std::cos(angle), s * std::sin(angle), -s * std::sin(angle), s * std::cos(angle),
                         centre.x, centre.y};
    fill.gradient.stops = std::move(stops);
    return fill;
}

FillStyle solidFill(Rgba color) {
    FillStyle fill;
    fill.color = color;
    return fill;
}

// A shield of the given pixel box: straight sides down to 60 % of its
// height, then curving to a point at the bottom centre.
ShapePath shield(const Rect& px) {
    const double midX = (px.xMin + px.xMax) / 2, shoulder = px.yMin + px.height() * 0.6;
    const double curveY = px.yMin + px.height() * 0.88;
    ShapePath path;
    path.start = twips(px.xMin, px.yMin);
    path.segments.push_back({false, {}, twips(px.xMax, px.yMin)});
    path.segments.push_back({false, {}, twips(px.xMax, shoulder)});
    path.segments.push_back({true, twips(px.xMax, curveY), twips(midX, px.yMax)});
    path.segments.push_back({true, twips(px.xMin, curveY), twips(px.xMin, shoulder)});
    path.segments.push_back({false, {}, twips(px.xMin, px.yMin)});
    return path;
}

} // namespace

Rect centredRect(double widthPixels, double heightPixels) {
    return twips(Rect{-widthPixels / 2, -heightPixels / 2, widthPixels / 2, heightPixels / 2});
}

Shape filledRectangle(const Rect& r, Rgba color) {
    Shape shape;
    shape.groups.push_back({{solidFill(color)}, {}});
    // Clockwise on screen (y downwards): the inside is on the right, fill 1.
    ShapePath path = polygon({{r.xMin, r.yMin}, {r.xMax, r.yMin}, {r.xMax, r.yMax}, {r.xMin, r.yMax}});
    path.fill1 = 1;
    shape.paths.push_back(path);
    shape.bounds = r;
    return shape;
}

Shape logoBar() {
    const Rect r = twips(kBarPixels);
    Shape shape = filledRectangle(r, kBlack);
    shape.groups[0].fills[0] = gradientFill(FillStyle::Kind::LinearGradient, r.width(), 0,
                                            {(r.xMin + r.xMax) / 2, (r.yMin + r.yMax) / 2},
                                            {{0, kBlack}, {255, kBlue}});
    return shape;
}

bool logoLettering(const GlyphOutlines& font, Shape& out, std::string& error) {
    const std::string name = "TESMAR";
    std::vector<Shape> letters;
    std::vector<Rect> inks;
    double inkWidth = 0;
    Rect all;
    for (char c : name) {
        Shape letter;
        if (!font.outline(char32_t(c), letter)) {
            error = std::string("the font has no glyph for '") + c + "'";
            return false;
        }
        inks.push_back(swf::outlineBounds(letter));
        inkWidth += inks.back().width();
        all.include(inks.back());
        letters.push_back(std::move(letter));
    }
    // Letters keep their proportions at the lettering's height; the space
    // left over in its width goes evenly between them.
    const Rect target = twips(kLetteringPixels);
    const double scale = target.height() / all.height();
    const double gap = (target.width() - inkWidth * scale) / double(name.size() - 1);
    out = Shape{};
    out.groups.push_back({{solidFill(kWhite)}, {}});
    double left = target.xMin;
    for (size_t i = 0; i < letters.size(); ++i) {
        const Matrix place{scale, 0, 0, scale, left - inks[i].xMin * scale, target.yMin - all.yMin * scale};
        for (ShapePath path : letters[i].paths) {
            path.start = place.apply(path.start);
            for (PathSegment& seg : path.segments) {
                seg.control = place.apply(seg.control);
                seg.to = place.apply(seg.to);
            }
            // Outer contours run counter-clockwise on screen: the inside is on the left.
            path.fill0 = 1;
            out.paths.push_back(std::move(path));
        }
        left += inks[i].width() * scale + gap;
    }
    out.bounds = target;
    return true;
}

Shape logoEmblem() {
    const Rect outer = kEmblemPixels;
    const Rect inner{outer.xMin + 6, outer.yMin + 6, outer.xMax - 6, outer.yMax - 9};
    const Point centre = twips((outer.xMin + outer.xMax) / 2, 0);
    const double height = outer.height() * kTwipsPerPixel;
    Shape shape;
    // Fill 1: the rim, lit from the top; fill 2: the face, shaded the other way.
    shape.groups.push_back({{gradientFill(FillStyle::Kind::LinearGradient, height, kPi / 2, centre,
                                          {{0, kGrey66}, {128, kGrey33}, {255, kBlack}}),
                             gradientFill(FillStyle::Kind::LinearGradient, height, kPi / 2, centre,
                                          {{0, kBlack}, {160, kGrey33}, {255, kGrey66}})},
                            {}});
    // Both outlines run clockwise on screen: the right side is their inside.
    ShapePath rim = shield(outer);
    rim.fill1 = 1;
    ShapePath face = shield(inner);
    face.fill0 = 1;
    face.fill1 = 2;
    shape.paths = {rim, face};
    shape.bounds = twips(outer);
    return shape;
}

Shape logoHighlight() {
    // A five-pointed star filling the highlight's box: its width sets the
    // outer radius, its height the vertical squash.
    const Rect box = twips(kHighlightPixels);
    const double radius = box.width() / (2 * std::sin(2 * kPi / 5));
    const double squash = box.height() / (radius * (1 + std::cos(kPi / 5)));
    const Point centre{(box.xMin + box.xMax) / 2, box.yMin + radius * squash};
    std::vector<Point> points;
    for (int i = 0; i < 10; ++i) {
        const double angle = -kPi / 2 + i * kPi / 5;   // clockwise on screen from the top
        const double r = i % 2 == 0 ? radius : radius * 0.45;
        points.push_back({centre.x + r * std::cos(angle), centre.y + r * std::sin(angle) * squash});
    }
    Shape shape;
    shape.groups.push_back({{gradientFill(FillStyle::Kind::RadialGradient, 2 * radius, 0, centre,
                                          {{0, kWhite}, {255, kYellow}})},
                            {}});
    ShapePath star = polygon(points);
    star.fill1 = 1;
    shape.paths.push_back(star);
    shape.bounds = box;
    return shape;
}

} // namespace tesmar::movies
