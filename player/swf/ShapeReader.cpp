#include "player/swf/ShapeReader.h"

namespace tesmar::swf {

namespace {

// The largest style array a shape may declare is 0xFFFF entries; each entry
// takes at least one byte, so the tag's remaining size bounds the count.
size_t styleCount(Reader& r, int shapeVersion) {
    size_t count = r.u8();
    if (count == 0xFF && shapeVersion >= 2) count = r.u16();
    if (count > r.remaining()) r.fail();
    return r.failed() ? 0 : count;
}

Rgba color(Reader& r, int shapeVersion) { return shapeVersion >= 3 ? r.rgba() : r.rgb(); }

void readGradient(Reader& r, int shapeVersion, bool focal, Gradient& g) {
    uint8_t head = r.u8();
    uint8_t spread = head >> 6, interpolation = (head >> 4) & 3;
    g.spread = spread == 1 ? Gradient::Spread::Reflect
             : spread == 2 ? Gradient::Spread::Repeat : Gradient::Spread::Pad;
    g.interpolation = interpolation == 1 ? Gradient::Interpolation::LinearRgb : Gradient::Interpolation::Rgb;
    const int count = head & 0x0F;
    for (int i = 0; i < count; ++i) {
        GradientStop stop;
        stop.ratio = r.u8();
        stop.color = color(r, shapeVersion);
        g.stops.push_back(stop);
    }
    if (focal) g.focalPoint = std::clamp(r.fixed8(), -1.0, 1.0);
}

bool setFillKind(uint8_t type, FillStyle& fill) {
    switch (type) {
    case 0x00: fill.kind = FillStyle::Kind::Solid; return true;
    case 0x10: fill.kind = FillStyle::Kind::LinearGradient; return true;
    case 0x12: fill.kind = FillStyle::Kind::RadialGradient; return true;
    case 0x13: fill.kind = FillStyle::Kind::FocalGradient; return true;
    case 0x40: case 0x41: case 0x42: case 0x43:
        fill.kind = FillStyle::Kind::Bitmap;
        fill.bitmapRepeat = (type & 1) == 0;
        fill.bitmapSmooth = (type & 2) == 0;
        return true;
    default: return false;
    }
}

FillStyle readFillStyle(Reader& r, int shapeVersion) {
    FillStyle fill;
    if (!setFillKind(r.u8(), fill)) { r.fail(); return fill; }
    switch (fill.kind) {
    case FillStyle::Kind::Solid:
        fill.color = color(r, shapeVersion);
        break;
    case FillStyle::Kind::Bitmap:
        fill.bitmapId = r.u16();
        fill.matrix = r.matrix();
        break;
    default:
        fill.matrix = r.matrix();
        readGradient(r, shapeVersion, fill.kind == FillStyle::Kind::FocalGradient, fill.gradient);
        break;
    }
    return fill;
}

// The flags shared by LINESTYLE2 and MORPHLINESTYLE2; returns whether a fill follows.
bool readLineFlags(Reader& r, LineStyle& line) {
    auto cap = [](uint32_t v) {
        return v == 1 ? LineStyle::Cap::None : v == 2 ? LineStyle::Cap::Square : LineStyle::Cap::Round;
    };
    line.startCap = cap(r.ubits(2));
    uint32_t join = r.ubits(2);
    line.join = join == 1 ? LineStyle::Join::Bevel : join == 2 ? LineStyle::Join::Miter : LineStyle::Join::Round;
    bool hasFill = r.flag();
    line.noHScale = r.flag();
    line.noVScale = r.flag();
    line.pixelHinting = r.flag();
    r.ubits(5);
    line.noClose = r.flag();
    line.endCap = cap(r.ubits(2));
    if (line.join == LineStyle::Join::Miter) line.miterLimit = r.fixed8();
    return hasFill;
}

LineStyle readLineStyle(Reader& r, int shapeVersion) {
    LineStyle line;
    line.width = r.u16();
    if (shapeVersion < 4) {
        line.color = color(r, shapeVersion);
        return line;
    }
    if (readLineFlags(r, line)) {
        line.hasFill = true;
        line.fill = readFillStyle(r, shapeVersion);
        line.color = line.fill.kind == FillStyle::Kind::Solid ? line.fill.color : Rgba{};
    } else {
        line.color = r.rgba();
    }
    return line;
}

StyleGroup readStyles(Reader& r, int shapeVersion) {
    StyleGroup group;
    size_t fills = styleCount(r, shapeVersion);
    for (size_t i = 0; i < fills && !r.failed(); ++i) group.fills.push_back(readFillStyle(r, shapeVersion));
    size_t lines = styleCount(r, shapeVersion);
    for (size_t i = 0; i < lines && !r.failed(); ++i) group.lines.push_back(readLineStyle(r, shapeVersion));
    return group;
}

// Reads SHAPE records (edges and style changes) into shape.paths. With
// stylesVersion 0 the records may not define new styles (glyphs, morphs).
bool readEdges(Reader& r, int stylesVersion, Shape& shape) {
    r.align();
    unsigned fillBits = r.ubits(4), lineBits = r.ubits(4);
    Point pen;
    ShapePath path;
    path.styleGroup = shape.groups.empty() ? 0 : uint32_t(shape.groups.size() - 1);
    auto finishPath = [&] {
        if (!path.segments.empty()) shape.paths.push_back(path);
        path.segments.clear();
        path.start = pen;
    };
    while (!r.failed()) {
        if (!r.flag()) {   // style change or end
            uint32_t flags = r.ubits(5);
            if (flags == 0) { finishPath(); return !r.failed(); }
            finishPath();
            if (flags & 0x01) {
                unsigned bits = r.ubits(5);
                pen.x = r.sbits(bits);
                pen.y = r.sbits(bits);
                path.start = pen;
            }
            if (flags & 0x02) path.fill0 = r.ubits(fillBits);
            if (flags & 0x04) path.fill1 = r.ubits(fillBits);
            if (flags & 0x08) path.line = r.ubits(lineBits);
            if (flags & 0x10) {
                if (stylesVersion == 0) return false;
                shape.groups.push_back(readStyles(r, stylesVersion));
                path.styleGroup = uint32_t(shape.groups.size() - 1);
                if (!(flags & 0x02)) path.fill0 = 0;
                if (!(flags & 0x04)) path.fill1 = 0;
                if (!(flags & 0x08)) path.line = 0;
                fillBits = r.ubits(4);
                lineBits = r.ubits(4);
            }
            continue;
        }
        PathSegment seg;
        if (r.flag()) {   // straight
            unsigned bits = r.ubits(4) + 2;
            double dx = 0, dy = 0;
            if (r.flag()) {
                dx = r.sbits(bits);
                dy = r.sbits(bits);
            } else if (r.flag()) {
                dy = r.sbits(bits);
            } else {
                dx = r.sbits(bits);
            }
            pen = {pen.x + dx, pen.y + dy};
        } else {
            unsigned bits = r.ubits(4) + 2;
            seg.curved = true;
            double cx = r.sbits(bits), cy = r.sbits(bits);
            double ax = r.sbits(bits), ay = r.sbits(bits);
            seg.control = {pen.x + cx, pen.y + cy};
            pen = {seg.control.x + ax, seg.control.y + ay};
        }
        seg.to = pen;
        path.segments.push_back(seg);
    }
    return false;
}

// Checks that every style index a path uses exists in its group.
bool stylesResolve(const Shape& shape) {
    for (const ShapePath& p : shape.paths) {
        if (p.styleGroup >= shape.groups.size()) {
            if (p.fill0 || p.fill1 || p.line) return false;
            continue;
        }
        const StyleGroup& g = shape.groups[p.styleGroup];
        if (p.fill0 > g.fills.size() || p.fill1 > g.fills.size() || p.line > g.lines.size()) return false;
    }
    return true;
}

} // namespace

std::optional<Shape> readShape(Reader& r, int shapeVersion) {
    Shape shape;
    shape.bounds = r.rect();
    shape.edgeBounds = shape.bounds;
    if (shapeVersion >= 4) {
        shape.edgeBounds = r.rect();
        shape.nonZeroWinding = r.u8() & 0x04;   // the other bits are stroke scaling hints
    }
    shape.groups.push_back(readStyles(r, shapeVersion));
    if (r.failed() || !readEdges(r, shapeVersion, shape) || !stylesResolve(shape)) return std::nullopt;
    return shape;
}

std::optional<Shape> readGlyph(Reader& r) {
    Shape shape;
    StyleGroup group;
    group.fills.push_back(FillStyle{});
    group.fills.back().color = Rgba{255, 255, 255, 255};
    shape.groups.push_back(group);
    if (!readEdges(r, 0, shape)) return std::nullopt;
    for (ShapePath& p : shape.paths) p.line = 0;   // glyphs have no strokes
    if (!stylesResolve(shape)) return std::nullopt;
    for (const ShapePath& p : shape.paths) {
        shape.bounds.include(p.start);
        for (const PathSegment& s : p.segments) {
            shape.bounds.include(s.to);
            if (s.curved) shape.bounds.include(s.control);
        }
    }
    shape.edgeBounds = shape.bounds;
    return shape;
}

namespace {

// One MORPHFILLSTYLE, as its start and end fill.
bool readMorphFill(Reader& r, FillStyle& a, FillStyle& b) {
    uint8_t type = r.u8();
    if (!setFillKind(type, a)) return false;
    setFillKind(type, b);
    if (a.kind == FillStyle::Kind::Solid) {
        a.color = r.rgba();
        b.color = r.rgba();
    } else if (a.kind == FillStyle::Kind::Bitmap) {
        a.bitmapId = b.bitmapId = r.u16();
        a.matrix = r.matrix();
        b.matrix = r.matrix();
    } else {
        a.matrix = r.matrix();
        b.matrix = r.matrix();
        uint8_t head = r.u8();
        Gradient::Spread spread = (head >> 6) == 1 ? Gradient::Spread::Reflect
                                : (head >> 6) == 2 ? Gradient::Spread::Repeat : Gradient::Spread::Pad;
        a.gradient.spread = b.gradient.spread = spread;
        if (((head >> 4) & 3) == 1)
            a.gradient.interpolation = b.gradient.interpolation = Gradient::Interpolation::LinearRgb;
        for (int i = 0; i < (head & 0x0F); ++i) {
            GradientStop sa, sb;
            sa.ratio = r.u8();
            sa.color = r.rgba();
            sb.ratio = r.u8();
            sb.color = r.rgba();
            a.gradient.stops.push_back(sa);
            b.gradient.stops.push_back(sb);
        }
    }
    return !r.failed();
}

// Style arrays of a morph shape, as two parallel groups.
bool readMorphStyles(Reader& r, int morphVersion, StyleGroup& start, StyleGroup& end) {
    size_t fills = styleCount(r, 2);
    for (size_t i = 0; i < fills && !r.failed(); ++i) {
        FillStyle a, b;
        if (!readMorphFill(r, a, b)) return false;
        start.fills.push_back(a);
        end.fills.push_back(b);
    }
    size_t lines = styleCount(r, 2);
    for (size_t i = 0; i < lines && !r.failed(); ++i) {
        LineStyle a;
        a.width = r.u16();
        double endWidth = r.u16();
        if (morphVersion >= 2 && readLineFlags(r, a)) {
            a.hasFill = true;
            LineStyle b = a;
            if (!readMorphFill(r, a.fill, b.fill)) return false;
            b.width = endWidth;
            start.lines.push_back(a);
            end.lines.push_back(b);
            continue;
        }
        LineStyle b = a;
        b.width = endWidth;
        a.color = r.rgba();
        b.color = r.rgba();
        start.lines.push_back(a);
        end.lines.push_back(b);
    }
    return !r.failed();
}

// A straight segment as a curve with its control point in the middle.
void makeCurved(Point from, PathSegment& s) {
    if (s.curved) return;
    s.curved = true;
    s.control = {(from.x + s.to.x) / 2, (from.y + s.to.y) / 2};
}

} // namespace

std::optional<MorphShapeDef> readMorphShape(Reader& r, int morphVersion) {
    MorphShapeDef morph;
    morph.start.bounds = r.rect();
    morph.end.bounds = r.rect();
    morph.start.edgeBounds = morph.start.bounds;
    morph.end.edgeBounds = morph.end.bounds;
    if (morphVersion >= 2) {
        morph.start.edgeBounds = r.rect();
        morph.end.edgeBounds = r.rect();
        r.u8();
    }
    uint32_t endOffset = r.u32();
    const size_t offsetBase = r.position();
    StyleGroup startStyles, endStyles;
    if (!readMorphStyles(r, morphVersion, startStyles, endStyles)) return std::nullopt;
    morph.start.groups.push_back(std::move(startStyles));
    if (!readEdges(r, 0, morph.start) || !stylesResolve(morph.start)) return std::nullopt;
    // The end edges start at the stated offset when it is sound.
    if (endOffset != 0 && offsetBase + endOffset <= r.bytes().size() && offsetBase + endOffset >= r.position()) {
        r.skip(offsetBase + endOffset - r.position());
    }
    Shape endEdges;
    if (!readEdges(r, 0, endEdges)) return std::nullopt;

    // Pair the end edges one to one with the start edges; where one of a
    // pair is curved and the other straight, both become curves.
    std::vector<std::pair<Point, PathSegment>> flat;
    for (const ShapePath& p : endEdges.paths) {
        Point from = p.start;
        for (const PathSegment& s : p.segments) { flat.emplace_back(from, s); from = s.to; }
    }
    size_t next = 0;
    morph.end.groups.push_back(std::move(endStyles));
    for (ShapePath& sp : morph.start.paths) {
        ShapePath ep = sp;
        Point startFrom = sp.start;
        for (size_t i = 0; i < sp.segments.size(); ++i) {
            if (next >= flat.size()) return std::nullopt;
            auto [endFrom, endSeg] = flat[next++];
            if (i == 0) ep.start = endFrom;
            PathSegment& s = sp.segments[i];
            if (s.curved != endSeg.curved) {
                makeCurved(startFrom, s);
                makeCurved(endFrom, endSeg);
            }
            startFrom = s.to;
            ep.segments[i] = endSeg;
        }
        morph.end.paths.push_back(std::move(ep));
    }
    return morph;
}

} // namespace tesmar::swf
