#include "player/swf/WriterTags.h"
#include <cmath>
#include "player/swf/PlaceReader.h"
#include "player/swf/TagCodes.h"

namespace tesmar::swf {

void TagWriter::tag(uint16_t code, std::span<const uint8_t> body) {
    Writer w;
    if (body.size() < 0x3F) {
        w.u16(uint16_t(code << 6 | body.size()));
    } else {
        w.u16(uint16_t(code << 6 | 0x3F));
        w.u32(uint32_t(body.size()));
    }
    w.raw(body);
    const Bytes& header = w.bytes();
    bytes_.insert(bytes_.end(), header.begin(), header.end());
}

void TagWriter::setBackgroundColor(Rgba color) {
    Writer w;
    w.rgb(color);
    tag(tag::SetBackgroundColor, w.bytes());
}

void TagWriter::defineShape(uint16_t id, const Shape& shape, int shapeVersion) {
    Writer w;
    w.u16(id);
    writeShapeWithStyle(w, shape, shapeVersion);
    tag(shapeVersion == 1 ? tag::DefineShape : shapeVersion == 2 ? tag::DefineShape2 : tag::DefineShape3,
        w.bytes());
}

void TagWriter::defineFont2(uint16_t id, const FontDef& font) {
    // Glyph shapes first, to know the offsets.
    std::vector<Bytes> glyphs;
    size_t glyphBytes = 0;
    for (const Shape& glyph : font.glyphs) {
        Writer g;
        writeGlyph(g, glyph);
        glyphs.push_back(g.take());
        glyphBytes += glyphs.back().size();
    }
    const size_t count = glyphs.size();
    const bool wideOffsets = (count + 1) * 2 + glyphBytes > 0xFFFF;
    bool wideCodes = false;
    for (uint16_t code : font.codes) wideCodes = wideCodes || code > 0xFF;
    const bool layout = font.hasLayout && font.advances.size() == count;

    Writer w;
    w.u16(id);
    w.u8(uint8_t((layout ? 0x80 : 0) | (wideCodes ? 0 : 0x10) | (wideOffsets ? 0x08 : 0) |
                 (wideCodes ? 0x04 : 0) | (font.italic ? 0x02 : 0) | (font.bold ? 0x01 : 0)));
    w.u8(0);   // language: none
    w.u8(uint8_t(std::min<size_t>(font.name.size(), 255)));
    w.raw(std::span(reinterpret_cast<const uint8_t*>(font.name.data()), std::min<size_t>(font.name.size(), 255)));
    w.u16(uint16_t(count));
    // Offsets count from the start of the offset table.
    const size_t entry = wideOffsets ? 4 : 2;
    size_t offset = (count + 1) * entry;
    auto writeOffset = [&](size_t value) {
        if (wideOffsets) w.u32(uint32_t(value)); else w.u16(uint16_t(value));
    };
    for (const Bytes& glyph : glyphs) {
        writeOffset(offset);
        offset += glyph.size();
    }
    writeOffset(offset);   // the code table follows the glyphs
    for (const Bytes& glyph : glyphs) w.raw(glyph);
    for (size_t i = 0; i < count; ++i) {
        const uint16_t code = i < font.codes.size() ? font.codes[i] : 0;
        if (wideCodes) w.u16(code); else w.u8(uint8_t(code));
    }
    if (layout) {
        w.u16(uint16_t(std::lround(font.ascent)));
        w.u16(uint16_t(std::lround(font.descent)));
        w.s16(int16_t(std::lround(font.leading)));
        for (double advance : font.advances) w.s16(int16_t(std::lround(advance)));
        for (const Shape& glyph : font.glyphs) w.rect(outlineBounds(glyph));
        w.u16(0);   // no kerning pairs
    }
    tag(tag::DefineFont2, w.bytes());
}

void TagWriter::defineText(uint16_t id, const StaticText& text, int textVersion) {
    Writer w;
    w.u16(id);
    writeStaticText(w, text, textVersion);
    tag(textVersion == 1 ? tag::DefineText : tag::DefineText2, w.bytes());
}

void TagWriter::defineButton2(uint16_t id, const ButtonDef& button) {
    Writer w;
    w.u16(id);
    w.u8(button.trackAsMenu ? 1 : 0);
    const size_t offsetAt = w.size();
    w.u16(0);   // action offset, patched below
    for (const ButtonRecord& record : button.records) {
        w.u8(record.states & 0x0F);
        w.u16(record.characterId);
        w.u16(record.depth);
        w.matrix(record.matrix);
        w.colorTransform(record.colorTransform, true);
    }
    w.u8(0);   // end of records
    if (!button.actions.empty()) w.patchU16(offsetAt, uint16_t(w.size() - offsetAt));
    for (size_t i = 0; i < button.actions.size(); ++i) {
        const ButtonAction& action = button.actions[i];
        const bool last = i + 1 == button.actions.size();
        // The size covers this record's header and actions; the last says 0.
        w.u16(last ? 0 : uint16_t(4 + action.actions.size()));
        w.u8(uint8_t(action.conditions));
        w.u8(uint8_t((action.keyCode << 1) | ((action.conditions >> 8) & 1)));
        w.raw(action.actions);
    }
    tag(tag::DefineButton2, w.bytes());
}

void TagWriter::defineSprite(uint16_t id, const TagWriter& timeline) {
    Writer w;
    w.u16(id);
    w.u16(timeline.frameCount());
    w.raw(timeline.bytes());
    tag(tag::DefineSprite, w.bytes());
}

void TagWriter::place(const PlaceObject& place) {
    const bool clipActions = !place.clipActions.empty();
    Writer w;
    w.u8(uint8_t((clipActions ? 0x80 : 0) | (place.clipDepth ? 0x40 : 0) | (place.name ? 0x20 : 0) |
                 (place.ratio ? 0x10 : 0) | (place.colorTransform ? 0x08 : 0) | (place.matrix ? 0x04 : 0) |
                 (place.characterId ? 0x02 : 0) | (place.move ? 0x01 : 0)));
    w.u16(place.depth);
    if (place.characterId) w.u16(*place.characterId);
    if (place.matrix) w.matrix(*place.matrix);
    if (place.colorTransform) w.colorTransform(*place.colorTransform, true);
    if (place.ratio) w.u16(*place.ratio);
    if (place.name) w.cstring(*place.name);
    if (place.clipDepth) w.u16(*place.clipDepth);
    if (clipActions) {
        // Event flags are 16 bits wide up to SWF 5, 32 bits from SWF 6:
        // older files cannot hold the later events, and a handler left with
        // none would end the list, so it is left out.
        const uint32_t storable = version_ >= 6 ? 0xFFFFFFFFu : 0xFFFFu;
        auto events = [&](uint32_t flags) {
            if (version_ >= 6) w.u32(flags); else w.u16(uint16_t(flags));
        };
        uint32_t all = 0;
        for (const ClipAction& action : place.clipActions) all |= action.events & storable;
        w.u16(0);   // reserved
        events(all);
        for (const ClipAction& action : place.clipActions) {
            if ((action.events & storable) == 0) continue;
            events(action.events & storable);
            const bool key = action.events & storable & clipEvent::KeyPress;
            w.u32(uint32_t(action.actions.size() + (key ? 1 : 0)));
            if (key) w.u8(action.keyCode);
            w.raw(action.actions);
        }
        events(0);
    }
    tag(tag::PlaceObject2, w.bytes());
}

void TagWriter::remove(uint16_t depth) {
    Writer w;
    w.u16(depth);
    tag(tag::RemoveObject2, w.bytes());
}

void TagWriter::doAction(std::span<const uint8_t> actions) { tag(tag::DoAction, actions); }

void TagWriter::showFrame() {
    tag(tag::ShowFrame, {});
    ++frames_;
}

void TagWriter::end() { tag(tag::End, {}); }

Bytes movieFile(uint8_t version, const Rect& frameSizeTwips, double frameRate, const TagWriter& tags) {
    Writer body;
    body.rect(frameSizeTwips);
    body.u16(uint16_t(std::lround(frameRate * 256)));   // 8.8 fixed point
    body.u16(tags.frameCount());
    body.raw(tags.bytes());
    Writer file;
    file.u8('F');
    file.u8('W');
    file.u8('S');
    file.u8(version);
    file.u32(uint32_t(8 + body.size()));
    file.raw(body.bytes());
    return file.take();
}

} // namespace tesmar::swf
