#include "player/stage/EditTextFonts.h"
#include <cctype>

namespace tesmar::stage {

namespace {

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

// Font names may carry a terminating zero from the file.
std::string trimmed(std::string name) {
    while (!name.empty() && name.back() == '\0') name.pop_back();
    return name;
}

} // namespace

TextFace::TextFace(const swf::FontDef& font) : font_(&font) {
    for (size_t i = 0; i < font.codes.size() && i < font.glyphs.size(); ++i) indices_.emplace(font.codes[i], uint16_t(i));
    if (font.hasLayout && font.emSquare > 0 && font.ascent + font.descent > 0) {
        ascent_ = font.ascent / font.emSquare;
        descent_ = font.descent / font.emSquare;
    }
}

TextFace::TextFace(Host* host, std::string name, bool bold, bool italic)
    : host_(host), name_(std::move(name)), bold_(bold), italic_(italic) {
    // The font's metrics come with any of its glyphs.
    glyph(U'x');
    if (const auto& probe = device_[U'x']; probe && probe->ascent + probe->descent > 0) {
        ascent_ = probe->ascent / 1024;
        descent_ = probe->descent / 1024;
    }
}

TextFace::Glyph TextFace::glyph(char32_t c) {
    if (font_) {
        auto it = indices_.find(c);
        if (it == indices_.end()) return {};
        const uint16_t index = it->second;
        double advance = 0;
        if (index < font_->advances.size()) advance = font_->advances[index] / font_->emSquare;
        else advance = std::max(0.0, font_->glyphs[index].bounds.xMax) / font_->emSquare;
        return {&font_->glyphs[index], advance, font_->emSquare};
    }
    auto it = device_.find(c);
    if (it == device_.end()) {
        std::optional<DeviceGlyph> made;
        if (host_) made = host_->deviceGlyph(name_, bold_, italic_, c);
        if (made) {
            // One white fill on the left of every edge: the field colours it.
            Shape& shape = made->outline;
            shape.groups.assign(1, StyleGroup{});
            shape.groups[0].fills.push_back(FillStyle{});
            shape.groups[0].fills[0].color = Rgba{255, 255, 255, 255};
            for (ShapePath& path : shape.paths) {
                path.styleGroup = 0;
                path.fill0 = 1;
                path.fill1 = 0;
                path.line = 0;
                shape.bounds.include(path.start);
                for (const PathSegment& s : path.segments) {
                    shape.bounds.include(s.to);
                    if (s.curved) shape.bounds.include(s.control);
                }
            }
            shape.edgeBounds = shape.bounds;
        }
        it = device_.emplace(c, std::move(made)).first;
    }
    if (!it->second) return {};
    const DeviceGlyph& g = *it->second;
    return {g.outline.paths.empty() ? nullptr : &g.outline, g.advance / 1024, 1024};
}

const swf::FontDef* TextFaces::findEmbedded(const std::string& name, bool bold, bool italic, uint16_t fieldFontId) const {
    const swf::FontDef* own = movie_.get<swf::FontDef>(fieldFontId);
    if (own && !own->glyphs.empty() && (name.empty() || sameName(trimmed(own->name), name)) && own->bold == bold &&
        own->italic == italic)
        return own;
    // Another font of the movie with this name and style; lowest id first
    // so that the choice does not depend on the dictionary's order.
    const swf::FontDef* sameFamily = nullptr;
    uint16_t bestId = 0xFFFF, familyId = 0xFFFF;
    for (const auto& [id, character] : movie_.dictionary) {
        const auto* font = std::get_if<swf::FontDef>(character.get());
        if (!font || font->glyphs.empty() || !sameName(trimmed(font->name), name)) continue;
        if (font->bold == bold && font->italic == italic && id < bestId) bestId = id;
        if (id < familyId) { familyId = id; sameFamily = font; }
    }
    if (bestId != 0xFFFF) return movie_.get<swf::FontDef>(bestId);
    if (sameFamily) return sameFamily;
    return own && !own->glyphs.empty() ? own : nullptr;
}

TextFace* TextFaces::face(const std::string& name, bool bold, bool italic, bool embedded, uint16_t fieldFontId) {
    if (embedded) {
        const swf::FontDef* font = findEmbedded(name, bold, italic, fieldFontId);
        if (!font) return nullptr;
        auto& slot = embedded_[font];
        if (!slot) slot = std::make_unique<TextFace>(*font);
        return slot.get();
    }
    auto& slot = device_[{name, bold, italic}];
    if (!slot) slot = std::make_unique<TextFace>(host_, name, bold, italic);
    return slot.get();
}

} // namespace tesmar::stage
