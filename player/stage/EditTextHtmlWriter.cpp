// Writes the styled text of a field as the htmlText the player reports.
#include <cmath>
#include <cstdio>
#include "player/stage/EditTextHtml.h"

namespace tesmar::stage {

namespace {

std::string alignName(TextAlign align) {
    switch (align) {
    case TextAlign::Right: return "RIGHT";
    case TextAlign::Center: return "CENTER";
    case TextAlign::Justify: return "JUSTIFY";
    default: return "LEFT";
    }
}

std::string escape(std::u32string_view chars) {
    std::string out;
    for (char32_t c : chars) {
        switch (c) {
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '&': out += "&amp;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += encodeUtf8(std::u32string_view(&c, 1));
        }
    }
    return out;
}

// Twips as the pixel count the tags carry.
std::string pixels(double twips) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.15g", twips / 20);
    return buffer;
}

std::string attribute(const char* name, const std::string& value) { return std::string(" ") + name + "=\"" + value + "\""; }

std::string colorName(Rgba c) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", c.r, c.g, c.b);
    return buffer;
}

// The attributes of <FONT> in which b differs from a (all of b when a is null).
std::string fontAttributes(const TextFormat* a, const TextFormat& b) {
    std::string s;
    if (!a || a->font != b.font) s += attribute("FACE", b.font);
    if (!a || a->size != b.size) s += attribute("SIZE", pixels(std::round(b.size / 20) * 20));
    if (!a || a->color != b.color) s += attribute("COLOR", colorName(b.color));
    if (!a || a->letterSpacing != b.letterSpacing) s += attribute("LETTERSPACING", pixels(b.letterSpacing));
    if (!a || a->kerning != b.kerning) s += attribute("KERNING", b.kerning ? "1" : "0");
    return s;
}

bool sameFont(const TextFormat& a, const TextFormat& b) {
    return a.font == b.font && a.size == b.size && a.color == b.color && a.letterSpacing == b.letterSpacing &&
           a.kerning == b.kerning;
}

// The tags inside <FONT> of one run: link, bold, italic, underline.
std::string styleOpen(const TextFormat& f) {
    std::string s;
    if (!f.url.empty()) s += "<A HREF=\"" + f.url + "\" TARGET=\"" + f.target + "\">";
    if (f.bold) s += "<B>";
    if (f.italic) s += "<I>";
    if (f.underline) s += "<U>";
    return s;
}

std::string styleClose(const TextFormat& f) {
    std::string s;
    if (f.underline) s += "</U>";
    if (f.italic) s += "</I>";
    if (f.bold) s += "</B>";
    if (!f.url.empty()) s += "</A>";
    return s;
}

std::string textFormatAttributes(const TextFormat& f) {
    std::string s;
    if (f.leftMargin != 0) s += attribute("LEFTMARGIN", pixels(f.leftMargin));
    if (f.rightMargin != 0) s += attribute("RIGHTMARGIN", pixels(f.rightMargin));
    if (f.indent != 0) s += attribute("INDENT", pixels(f.indent));
    if (f.blockIndent != 0) s += attribute("BLOCKINDENT", pixels(f.blockIndent));
    if (f.leading != 0) s += attribute("LEADING", pixels(f.leading));
    if (!f.tabStops.empty()) {
        std::string stops;
        for (double stop : f.tabStops) stops += (stops.empty() ? "" : ",") + pixels(stop);
        s += attribute("TABSTOPS", stops);
    }
    return s;
}

// One paragraph: characters [start, end) with paragraph format p.
std::string paragraph(const StyledText& text, size_t start, size_t end, const TextFormat& p) {
    std::string out;
    const std::string blockAttributes = textFormatAttributes(p);
    if (!blockAttributes.empty()) out += "<TEXTFORMAT" + blockAttributes + ">";
    out += p.bullet ? "<LI>" : "<P ALIGN=\"" + alignName(p.align) + "\">";
    // The open <FONT> tags, outermost first; a run that matches one of them
    // closes those inside it, any other run opens one more.
    std::vector<const TextFormat*> fonts{start < end ? &text.formats[start] : &p};
    out += "<FONT" + fontAttributes(nullptr, *fonts[0]) + ">";
    if (start == end) out += styleOpen(p) + styleClose(p);
    for (size_t run = start; run < end;) {
        const TextFormat& f = text.formats[run];
        size_t runEnd = run + 1;
        while (runEnd < end && text.formats[runEnd] == f) ++runEnd;
        size_t match = fonts.size();
        while (match > 0 && !sameFont(*fonts[match - 1], f)) --match;
        if (match > 0) {
            for (size_t i = fonts.size(); i > match; --i) out += "</FONT>";
            fonts.resize(match);
        } else {
            out += "<FONT" + fontAttributes(fonts.back(), f) + ">";
            fonts.push_back(&f);
        }
        out += styleOpen(f) + escape(std::u32string_view(text.chars).substr(run, runEnd - run)) + styleClose(f);
        run = runEnd;
    }
    for (size_t i = 0; i < fonts.size(); ++i) out += "</FONT>";
    out += p.bullet ? "</LI>" : "</P>";
    if (!blockAttributes.empty()) out += "</TEXTFORMAT>";
    return out;
}

} // namespace

std::string toHtml(const StyledText& text, const TextFormat& empty) {
    if (text.size() == 0) return paragraph(text, 0, 0, empty);
    std::string out;
    // A break at the very end starts no paragraph of its own.
    for (size_t start = 0; start < text.size();) {
        size_t end = text.chars.find(U'\r', start);
        if (end == std::u32string::npos) end = text.size();
        // An empty paragraph takes its format from the break that ends it.
        out += paragraph(text, start, end, text.formats[start < text.size() ? start : text.size() - 1]);
        start = end + 1;
    }
    return out;
}

} // namespace tesmar::stage
