#include "display/DeviceFonts.h"

#include <cstring>
#include <vector>

#include "display/WideText.h"

namespace tesmar {

namespace {

constexpr int kEmUnits = 1024;
// A glyph outline larger than this is not a glyph.
constexpr DWORD kMaxOutlineBytes = 1 << 20;

std::wstring FaceFor(const std::string& font)
{
    if (font == "_sans")
        return L"Arial";
    if (font == "_serif")
        return L"Times New Roman";
    if (font == "_typewriter")
        return L"Courier New";
    return WideFromText(font).substr(0, LF_FACESIZE - 1);
}

double FromFixed(FIXED value)
{
    return value.value + value.fract / 65536.0;
}

// GDI's y axis points up; the player's points down.
Point PointOf(const POINTFX& p)
{
    return {FromFixed(p.x), -FromFixed(p.y)};
}

// Reads GDI's native outline: polygons, each a start point and a run of
// line and quadratic spline records (cubic ones for PostScript faces).
// Malformed records end the reading.
void ReadOutline(const uint8_t* data, size_t size, Shape& shape)
{
    size_t polygonAt = 0;
    while (size - polygonAt >= sizeof(TTPOLYGONHEADER)) {
        TTPOLYGONHEADER header;
        std::memcpy(&header, data + polygonAt, sizeof header);
        if (header.dwType != TT_POLYGON_TYPE || header.cb < sizeof header || header.cb > size - polygonAt)
            return;
        ShapePath path;
        path.start = PointOf(header.pfxStart);
        Point pen = path.start;
        size_t at = polygonAt + sizeof header;
        const size_t end = polygonAt + header.cb;
        while (end - at >= 4) {
            WORD type, count;
            std::memcpy(&type, data + at, 2);
            std::memcpy(&count, data + at + 2, 2);
            if (count == 0 || (end - at - 4) / sizeof(POINTFX) < count)
                return;
            std::vector<Point> points(count);
            for (WORD i = 0; i < count; ++i) {
                POINTFX p;
                std::memcpy(&p, data + at + 4 + i * sizeof p, sizeof p);
                points[i] = PointOf(p);
            }
            at += 4 + size_t(count) * sizeof(POINTFX);
            if (type == TT_PRIM_LINE) {
                for (const Point& p : points)
                    path.segments.push_back({false, {}, p});
            } else if (type == TT_PRIM_QSPLINE) {
                // Between two control points lies an implied on-curve point.
                if (count == 1)
                    path.segments.push_back({false, {}, points[0]});
                for (WORD i = 0; i + 1 < count; ++i) {
                    const Point to = i + 2 == count ? points[i + 1]
                                                    : Point{(points[i].x + points[i + 1].x) / 2,
                                                            (points[i].y + points[i + 1].y) / 2};
                    path.segments.push_back({true, points[i], to});
                }
            } else if (type == TT_PRIM_CSPLINE) {
                // Each cubic becomes one quadratic through the point where
                // its control lines meet halfway.
                for (WORD i = 0; i + 2 < count; i += 3) {
                    const Point a = points[i], b = points[i + 1], to = points[i + 2];
                    const Point control{(3 * (a.x + b.x) - pen.x - to.x) / 4, (3 * (a.y + b.y) - pen.y - to.y) / 4};
                    path.segments.push_back({true, control, to});
                    pen = to;
                }
            } else {
                return;
            }
            if (!path.segments.empty())
                pen = path.segments.back().to;
        }
        if (pen.x != path.start.x || pen.y != path.start.y)
            path.segments.push_back({false, {}, path.start});
        shape.paths.push_back(std::move(path));
        polygonAt = end;
    }
}

} // namespace

DeviceFonts::~DeviceFonts()
{
    for (const auto& [key, font] : fonts_)
        DeleteObject(font);
    if (dc_)
        DeleteDC(dc_);
}

HFONT DeviceFonts::fontFor(const std::string& font, bool bold, bool italic)
{
    HFONT& made = fonts_[{font, bold, italic}];
    if (!made) {
        LOGFONTW description{};
        description.lfHeight = -kEmUnits;   // the em square, not the cell
        description.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        description.lfItalic = italic;
        description.lfCharSet = DEFAULT_CHARSET;
        description.lfOutPrecision = OUT_TT_PRECIS;
        description.lfQuality = ANTIALIASED_QUALITY;
        const std::wstring face = FaceFor(font);
        wcsncpy(description.lfFaceName, face.c_str(), LF_FACESIZE - 1);
        made = CreateFontIndirectW(&description);
    }
    return made;
}

std::optional<DeviceGlyph> DeviceFonts::glyph(const std::string& font, bool bold, bool italic, char32_t c)
{
    if (c > 0xFFFF)
        return std::nullopt;
    if (!dc_)
        dc_ = CreateCompatibleDC(nullptr);
    HFONT handle = fontFor(font, bold, italic);
    if (!dc_ || !handle)
        return std::nullopt;
    SelectObject(dc_, handle);

    DeviceGlyph glyph;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc_, &metrics);
    glyph.ascent = metrics.tmAscent;
    glyph.descent = metrics.tmDescent;
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    GLYPHMETRICS glyphMetrics{};
    const UINT format = GGO_NATIVE | GGO_UNHINTED;
    const DWORD size = GetGlyphOutlineW(dc_, UINT(c), format, &glyphMetrics, 0, nullptr, &identity);
    if (size == GDI_ERROR)
        return std::nullopt;
    glyph.advance = glyphMetrics.gmCellIncX;
    // A character without contours (a space) still has its advance.
    if (size == 0 || size > kMaxOutlineBytes)
        return glyph;
    std::vector<uint8_t> outline(size);
    if (GetGlyphOutlineW(dc_, UINT(c), format, &glyphMetrics, size, outline.data(), &identity) == GDI_ERROR)
        return glyph;
    ReadOutline(outline.data(), outline.size(), glyph.outline);
    return glyph;
}

} // namespace tesmar
