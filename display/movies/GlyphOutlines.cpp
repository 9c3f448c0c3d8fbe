#include "GlyphOutlines.h"
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace tesmar::movies {

struct GlyphOutlines::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
    // Loads a character's glyph unscaled (font units); false when missing.
    bool load(char32_t character) const {
        const FT_UInt index = FT_Get_Char_Index(face, character);
        return index != 0 && FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE) == 0;
    }
    double scale() const { return kEmUnits / face->units_per_EM; }
};

namespace {

// Collects FreeType's outline walk into shape paths.
struct OutlineSink {
    Shape& shape;
    double scale;
    Point pen;

    Point point(const FT_Vector* v) const { return {v->x * scale, -v->y * scale}; }

    static OutlineSink& of(void* user) { return *static_cast<OutlineSink*>(user); }
    static int moveTo(const FT_Vector* to, void* user) {
        OutlineSink& s = of(user);
        s.pen = s.point(to);
        ShapePath path;
        path.start = s.pen;
        s.shape.paths.push_back(path);
        return 0;
    }
    static int lineTo(const FT_Vector* to, void* user) {
        OutlineSink& s = of(user);
        s.pen = s.point(to);
        s.shape.paths.back().segments.push_back({false, {}, s.pen});
        return 0;
    }
    static int conicTo(const FT_Vector* control, const FT_Vector* to, void* user) {
        OutlineSink& s = of(user);
        s.pen = s.point(to);
        s.shape.paths.back().segments.push_back({true, s.point(control), s.pen});
        return 0;
    }
    // Cubic curves (PostScript outlines) become one quadratic through the
    // point where the cubic's control lines meet halfway; the builder's
    // TrueType fonts have none.
    static int cubicTo(const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        OutlineSink& s = of(user);
        const Point a = s.point(c1), b = s.point(c2), end = s.point(to);
        const Point control{(3 * (a.x + b.x) - s.pen.x - end.x) / 4, (3 * (a.y + b.y) - s.pen.y - end.y) / 4};
        s.pen = end;
        s.shape.paths.back().segments.push_back({true, control, end});
        return 0;
    }
};

} // namespace

GlyphOutlines::GlyphOutlines(std::unique_ptr<Face> face) : face_(std::move(face)) {}
GlyphOutlines::~GlyphOutlines() = default;

std::unique_ptr<GlyphOutlines> GlyphOutlines::open(const std::string& path, std::string& error) {
    auto face = std::make_unique<Face>();
    if (FT_Init_FreeType(&face->library) != 0) {
        error = "cannot start FreeType";
        return nullptr;
    }
    if (FT_New_Face(face->library, path.c_str(), 0, &face->face) != 0) {
        error = "cannot read the font " + path;
        return nullptr;
    }
    if (!FT_IS_SCALABLE(face->face) || face->face->units_per_EM == 0) {
        error = "the font " + path + " has no outlines";
        return nullptr;
    }
    return std::unique_ptr<GlyphOutlines>(new GlyphOutlines(std::move(face)));
}

bool GlyphOutlines::outline(char32_t character, Shape& out) const {
    out = Shape{};
    if (!face_->load(character)) return false;
    FT_GlyphSlot slot = face_->face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;
    OutlineSink sink{out, face_->scale(), {}};
    FT_Outline_Funcs funcs{};
    funcs.move_to = &OutlineSink::moveTo;
    funcs.line_to = &OutlineSink::lineTo;
    funcs.conic_to = &OutlineSink::conicTo;
    funcs.cubic_to = &OutlineSink::cubicTo;
    if (FT_Outline_Decompose(&slot->outline, &funcs, &sink) != 0) return false;
    // A closing line back to the start is implied by FreeType; SWF needs it.
    for (ShapePath& path : out.paths) {
        const Point end = path.segments.empty() ? path.start : path.segments.back().to;
        if (end.x != path.start.x || end.y != path.start.y) path.segments.push_back({false, {}, path.start});
    }
    return true;
}

double GlyphOutlines::advance(char32_t character) const {
    if (!face_->load(character)) return 0;
    return face_->face->glyph->advance.x * face_->scale();
}

double GlyphOutlines::ascent() const { return face_->face->ascender * face_->scale(); }

double GlyphOutlines::descent() const { return -face_->face->descender * face_->scale(); }

} // namespace tesmar::movies
