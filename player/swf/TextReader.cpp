#include "player/swf/TextReader.h"
#include "player/swf/ShapeReader.h"

namespace tesmar::swf {

namespace {

// Reads glyph shapes given their offsets, relative to the table start.
bool readGlyphs(std::span<const uint8_t> table, const std::vector<uint32_t>& offsets, size_t tableEnd,
                FontDef& font) {
    for (size_t i = 0; i < offsets.size(); ++i) {
        size_t begin = offsets[i];
        size_t end = i + 1 < offsets.size() ? offsets[i + 1] : tableEnd;
        if (begin > end || end > table.size()) return false;
        Reader glyphReader(table.subspan(begin, end - begin));
        auto glyph = readGlyph(glyphReader);
        font.glyphs.push_back(glyph ? std::move(*glyph) : Shape{});
    }
    return true;
}

} // namespace

std::optional<FontDef> readFont1(Reader& r) {
    FontDef font;
    auto table = r.rest();
    Reader offsets(table);
    const uint16_t first = offsets.u16();
    if (offsets.failed() || first % 2 != 0 || first > table.size()) return std::nullopt;
    std::vector<uint32_t> starts{first};
    for (unsigned i = 1; i < first / 2u; ++i) starts.push_back(offsets.u16());
    if (offsets.failed() || !readGlyphs(table, starts, table.size(), font)) return std::nullopt;
    return font;
}

std::optional<FontDef> readFont2(Reader& r, int fontVersion) {
    FontDef font;
    if (fontVersion == 3) font.emSquare = 20480;
    const uint8_t flags = r.u8();
    const bool hasLayout = flags & 0x80, wideOffsets = flags & 0x08, wideCodes = flags & 0x04;
    font.italic = flags & 0x02;
    font.bold = flags & 0x01;
    r.u8();   // language
    font.name = r.string(r.u8());
    const uint16_t count = r.u16();
    if (r.failed()) return std::nullopt;

    auto table = r.bytes().subspan(r.position());
    Reader t(table);
    std::vector<uint32_t> offsets;
    for (uint16_t i = 0; i < count && !t.failed(); ++i) offsets.push_back(wideOffsets ? t.u32() : t.u16());
    uint32_t codeTable = count == 0 && t.atEnd() ? 0 : (wideOffsets ? t.u32() : t.u16());
    if (t.failed() || codeTable > table.size()) return std::nullopt;
    if (!readGlyphs(table, offsets, codeTable, font)) return std::nullopt;

    Reader rest(table.subspan(codeTable));
    for (uint16_t i = 0; i < count; ++i) font.codes.push_back(wideCodes ? rest.u16() : rest.u8());
    if (hasLayout) {
        font.ascent = rest.u16();
        font.descent = rest.u16();
        font.leading = rest.s16();
        for (uint16_t i = 0; i < count; ++i) font.advances.push_back(rest.s16());
        for (uint16_t i = 0; i < count; ++i) rest.rect();
        font.hasLayout = !rest.failed();   // kerning that follows is not used
    }
    if (rest.failed()) {
        font.codes.resize(std::min(font.codes.size(), size_t(count)));
        if (!hasLayout) font.codes.clear();
        font.advances.clear();
    }
    return font;
}

bool readFontInfo(Reader& r, int version, FontDef& font) {
    std::string name = r.string(r.u8());
    const uint8_t flags = r.u8();
    if (version == 2) r.u8();   // language
    const bool wideCodes = version == 2 || (flags & 0x01);
    std::vector<uint16_t> codes;
    for (size_t i = 0; i < font.glyphs.size(); ++i) codes.push_back(wideCodes ? r.u16() : r.u8());
    if (r.failed()) return false;
    font.name = std::move(name);
    font.italic = flags & 0x04;
    font.bold = flags & 0x02;
    font.codes = std::move(codes);
    return true;
}

std::optional<TextDef> readText(Reader& r, int textVersion) {
    TextDef text;
    text.bounds = r.rect();
    text.matrix = r.matrix();
    const unsigned glyphBits = r.u8(), advanceBits = r.u8();
    if (glyphBits > 32 || advanceBits > 32) return std::nullopt;
    TextRun style;   // the current font, colour and height
    double x = 0, y = 0;
    while (!r.failed()) {
        const uint8_t flags = r.u8();
        if (flags == 0) break;
        if (flags & 0x08) style.fontId = r.u16();
        if (flags & 0x04) style.color = textVersion == 2 ? r.rgba() : r.rgb();
        if (flags & 0x01) x = r.s16();
        if (flags & 0x02) y = r.s16();
        if (flags & 0x08) style.height = r.u16();
        const uint8_t count = r.u8();
        TextRun run = style;
        run.glyphs.clear();
        for (uint8_t i = 0; i < count && !r.failed(); ++i) {
            TextGlyph glyph;
            glyph.index = uint16_t(r.ubits(glyphBits));
            glyph.x = x;
            glyph.y = y;
            x += r.sbits(advanceBits);
            run.glyphs.push_back(glyph);
        }
        r.align();
        if (!r.failed()) text.runs.push_back(std::move(run));
    }
    if (r.failed() && text.runs.empty()) return std::nullopt;
    return text;
}

std::optional<EditTextDef> readEditText(Reader& r) {
    EditTextDef edit;
    edit.bounds = r.rect();
    const uint8_t flags1 = r.u8(), flags2 = r.u8();
    const bool hasText = flags1 & 0x80, hasColor = flags1 & 0x04, hasMaxLength = flags1 & 0x02,
               hasFont = flags1 & 0x01, hasFontClass = flags2 & 0x80, hasLayout = flags2 & 0x20;
    edit.wordWrap = flags1 & 0x40;
    edit.multiline = flags1 & 0x20;
    edit.password = flags1 & 0x10;
    edit.readOnly = flags1 & 0x08;
    edit.autoSize = flags2 & 0x40;
    edit.selectable = !(flags2 & 0x10);
    edit.border = flags2 & 0x08;
    edit.wasStatic = flags2 & 0x04;
    edit.html = flags2 & 0x02;
    edit.useOutlines = flags2 & 0x01;
    if (hasFont) edit.fontId = r.u16();
    if (hasFontClass) edit.fontClass = r.cstring();
    if (hasFont || hasFontClass) edit.fontHeight = r.u16();
    if (hasColor) edit.color = r.rgba();
    if (hasMaxLength) edit.maxLength = r.u16();
    if (hasLayout) {
        const uint8_t align = r.u8();
        edit.align = align <= 3 ? EditTextDef::Align(align) : EditTextDef::Align::Left;
        edit.leftMargin = r.u16();
        edit.rightMargin = r.u16();
        edit.indent = r.u16();
        edit.leading = r.s16();
    }
    if (r.failed()) return std::nullopt;
    // The variable name and the text end the tag; a missing terminator on
    // the last string is tolerated (some writers leave it out).
    edit.variableName = r.cstring();
    if (r.failed()) return std::nullopt;
    if (hasText) {
        auto rest = r.rest();
        size_t end = 0;
        while (end < rest.size() && rest[end] != 0) ++end;
        edit.initialText.assign(rest.begin(), rest.begin() + std::ptrdiff_t(end));
    }
    return edit;
}

} // namespace tesmar::swf
