#include "player/stage/EditText.h"
#include <cmath>
#include "player/stage/EditTextHtml.h"

namespace tesmar::stage {

namespace {

// Line breaks as the player keeps them: every "\n" becomes "\r" (so "\r\n"
// is two breaks).
std::u32string normalizeBreaks(std::u32string chars) {
    for (char32_t& c : chars)
        if (c == '\n') c = U'\r';
    return chars;
}

// A closed polygon (pixel space) as a one-fill shape.
Shape polygon(const std::vector<Point>& points, Rgba color) {
    Shape shape;
    shape.groups.resize(1);
    shape.groups[0].fills.push_back(FillStyle{});
    shape.groups[0].fills[0].color = color;
    ShapePath path;
    path.fill0 = 1;
    path.start = points.front();
    for (size_t i = 1; i <= points.size(); ++i) path.segments.push_back({false, {}, points[i % points.size()]});
    for (Point p : points) shape.bounds.include(p);
    shape.edgeBounds = shape.bounds;
    shape.paths.push_back(path);
    return shape;
}

Shape rectangle(double x0, double y0, double x1, double y1, Rgba color) {
    return polygon({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}}, color);
}

double snap(double v) { return std::ceil(v - 0.5); }

uint32_t colorKey(Rgba c) { return (uint32_t(c.r) << 24) | (uint32_t(c.g) << 16) | (uint32_t(c.b) << 8) | c.a; }

} // namespace

EditText::EditText(Context& context, const LoadedMovie& movie, uint16_t id, const swf::EditTextDef& def, Host* host)
    : DisplayObject(Kind::Text, context, movie, id), faces_(movie.movie(), host) {
    box_ = def.bounds;
    border = background = def.border;
    html = def.html;
    password = def.password;
    selectable = def.selectable;
    editable = !def.readOnly;
    multiline = def.multiline;
    maxChars = def.maxLength;
    variable = def.variableName;
    wordWrap_ = def.wordWrap;
    embedFonts_ = def.useOutlines;
    autoSize_ = def.autoSize ? AutoSize::Left : AutoSize::None;
    fontId_ = def.fontId;
    if (const auto* font = movie.movie().get<swf::FontDef>(def.fontId)) {
        std::string name = font->name;
        while (!name.empty() && name.back() == '\0') name.pop_back();
        if (!name.empty()) format_.font = name;
        // HTML text says itself what is bold or italic.
        format_.bold = font->bold && !def.html;
        format_.italic = font->italic && !def.html;
    } else if (!def.fontClass.empty()) {
        format_.font = def.fontClass;
    }
    format_.size = def.fontHeight;
    format_.color = def.color;
    format_.align = TextAlign(def.align);
    format_.leftMargin = def.leftMargin;
    format_.rightMargin = def.rightMargin;
    // The indent is read signed, in whole pixels.
    format_.indent = std::nearbyint((def.indent >= 32768 ? def.indent - 65536 : def.indent) / 20) * 20;
    format_.leading = def.leading;
    if (html) setHtmlText(def.initialText);
    else setText(def.initialText);
}

EditText::EditText(Context& context, const LoadedMovie& movie, const Rect& box, Host* host)
    : DisplayObject(Kind::Text, context, movie, 0), faces_(movie.movie(), host) {
    box_ = box;
    editable = false;
}

std::string EditText::text() const { return encodeUtf8(text_.chars); }

void EditText::setText(const std::string& text) {
    text_ = StyledText{};
    // Plain text takes the format of the first character it replaces.
    text_.append(normalizeBreaks(decodeText(text)), format_);
    textChanged();
}

std::string EditText::htmlText() const { return html ? toHtml(text_, format_) : text(); }

void EditText::setHtmlText(const std::string& html) {
    text_ = parseHtml(html, format_, condenseWhite, multiline);
    textChanged();
}

void EditText::setBox(const Rect& box) {
    box_ = box;
    textChanged();
}

void EditText::textChanged() {
    selectionEnd_ = std::min(selectionEnd_, text_.size());
    selectionBegin_ = std::min(selectionBegin_, selectionEnd_);
    layoutDirty_ = true;
    context().changed();
}

const TextLayout& EditText::layout() const {
    if (!layoutDirty_) return layout_;
    layoutDirty_ = false;
    layout_ = runLayout();
    if (autoSize_ != AutoSize::None) {
        fitBox();
        // Without wrapping the lines stay, but aligned text moves with the box.
        if (!wordWrap_) layout_ = runLayout();
    }
    return layout_;
}

TextLayout EditText::runLayout() const {
    LayoutOptions options;
    options.width = std::max(0.0, box_.width() - 2 * kTextGutter);
    options.wordWrap = wordWrap_;
    options.embedFonts = embedFonts_;
    options.fontId = fontId_;
    options.emptyFormat = format_;
    if (!password) return layoutText(text_, options, faces_);
    StyledText masked = text_;
    for (char32_t& c : masked.chars)
        if (c != '\r') c = U'*';
    return layoutText(masked, options, faces_);
}

void EditText::fitBox() const {
    if (autoSize_ == AutoSize::None) return;
    const double height = layout_.textHeight + 2 * kTextGutter;
    box_.yMax = box_.yMin + height;
    if (wordWrap_) return;
    const double width = layout_.textWidth + 2 * kTextGutter;
    const double grow = width - box_.width();
    if (autoSize_ == AutoSize::Left) {
        box_.xMax = box_.xMin + width;
    } else if (autoSize_ == AutoSize::Right) {
        box_.xMin = box_.xMax - width;
    } else {
        box_.xMin -= grow / 2;
        box_.xMax = box_.xMin + width;
    }
}

double EditText::textWidth() const { return layout().textWidth; }
double EditText::textHeight() const { return layout().textHeight; }

const Shape& EditText::coloured(const Shape& glyph, Rgba color) const {
    auto key = std::make_pair(&glyph, colorKey(color));
    auto it = coloured_.find(key);
    if (it != coloured_.end()) return it->second;
    Shape shape = glyph;
    for (StyleGroup& group : shape.groups)
        for (FillStyle& fill : group.fills) fill.color = color;
    return coloured_.emplace(key, std::move(shape)).first->second;
}

void EditText::drawBox(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const {
    const Rect& b = box_;
    if (toPixels.b == 0 && toPixels.c == 0) {
        // Upright: whole pixels, the border one pixel wide at any scale.
        const Point p0 = toPixels.apply({b.xMin, b.yMin}), p1 = toPixels.apply({b.xMax, b.yMax});
        const double x0 = snap(std::min(p0.x, p1.x)), x1 = snap(std::max(p0.x, p1.x));
        const double y0 = snap(std::min(p0.y, p1.y)), y1 = snap(std::max(p0.y, p1.y));
        const Matrix pixels;
        if (background) r.drawShape(rectangle(x0, y0, x1, y1, backgroundColor), pixels, cx);
        if (border) {
            r.drawShape(rectangle(x0, y0, x1 + 1, y0 + 1, borderColor), pixels, cx);
            r.drawShape(rectangle(x0, y0 + 1, x0 + 1, y1 + 1, borderColor), pixels, cx);
            r.drawShape(rectangle(x1, y0 + 1, x1 + 1, y1, borderColor), pixels, cx);
            r.drawShape(rectangle(x0 + 1, y1, x1, y1 + 1, borderColor), pixels, cx);
        }
        return;
    }
    const std::vector<Point> corners{toPixels.apply({b.xMin, b.yMin}), toPixels.apply({b.xMax, b.yMin}),
                                     toPixels.apply({b.xMax, b.yMax}), toPixels.apply({b.xMin, b.yMax})};
    const Matrix pixels;
    if (background) r.drawShape(polygon(corners, backgroundColor), pixels, cx);
    if (!border) return;
    for (size_t i = 0; i < 4; ++i) {
        const Point a = corners[i], c = corners[(i + 1) % 4];
        const double length = std::hypot(c.x - a.x, c.y - a.y);
        if (length == 0) continue;
        const Point n{-(c.y - a.y) / length * 0.5, (c.x - a.x) / length * 0.5};
        r.drawShape(polygon({{a.x + n.x, a.y + n.y}, {c.x + n.x, c.y + n.y}, {c.x - n.x, c.y - n.y}, {a.x - n.x, a.y - n.y}},
                            borderColor),
                    pixels, cx);
    }
}

void EditText::drawGlyphs(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const {
    const TextLayout& lines = layout();
    const double originX = box_.xMin + kTextGutter, originY = box_.yMin + kTextGutter;
    for (const PlacedGlyph& g : lines.glyphs) {
        const Matrix place{g.scale, 0, 0, g.scale, originX + g.x, originY + g.baseline};
        r.drawShape(coloured(*g.outline, g.color), toPixels * place, cx);
    }
}

void EditText::draw(render::Renderer& r, const Matrix& toPixels, const ColorTransform& cx) const {
    layout();
    if (background || border) drawBox(r, toPixels, cx);
    if (layout_.glyphs.empty()) return;
    // Text never shows outside the box.
    r.beginMask();
    r.drawShape(rectangle(box_.xMin, box_.yMin, box_.xMax, box_.yMax, Rgba{}), toPixels, ColorTransform{});
    r.endMaskDefinition();
    drawGlyphs(r, toPixels, cx);
    r.popMask();
}

void EditText::drawMask(render::Renderer& r, const Matrix& toPixels) const {
    // As a mask, a field counts by its glyphs (and its box when it has one).
    layout();
    if (background || border) r.drawShape(rectangle(box_.xMin, box_.yMin, box_.xMax, box_.yMax, Rgba{}), toPixels, ColorTransform{});
    drawGlyphs(r, toPixels, ColorTransform{});
}

} // namespace tesmar::stage
