#include "player/stage/EditTextHtml.h"
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>

namespace tesmar::stage {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct Tag {
    std::string name;                            // lower case, without '/'
    bool closing = false;
    std::map<std::string, std::string> attributes;   // names in lower case
};

// Reads the tag that starts at html[pos] == '<'; pos ends after '>'.
Tag readTag(std::string_view html, size_t& pos) {
    Tag tag;
    size_t i = pos + 1;
    const size_t end = html.find('>', i);
    const size_t stop = end == std::string_view::npos ? html.size() : end;
    pos = end == std::string_view::npos ? html.size() : end + 1;
    auto skipSpace = [&] { while (i < stop && std::isspace(static_cast<unsigned char>(html[i]))) ++i; };
    skipSpace();
    if (i < stop && html[i] == '/') { tag.closing = true; ++i; }
    size_t nameStart = i;
    while (i < stop && !std::isspace(static_cast<unsigned char>(html[i])) && html[i] != '/') ++i;
    tag.name = lower(html.substr(nameStart, i - nameStart));
    while (i < stop) {
        skipSpace();
        size_t keyStart = i;
        while (i < stop && html[i] != '=' && !std::isspace(static_cast<unsigned char>(html[i]))) ++i;
        std::string key = lower(html.substr(keyStart, i - keyStart));
        skipSpace();
        if (i >= stop || html[i] != '=') { if (i == keyStart) ++i; continue; }
        ++i;
        skipSpace();
        std::string value;
        if (i < stop && (html[i] == '"' || html[i] == '\'')) {
            const char quote = html[i++];
            size_t close = html.find(quote, i);
            if (close == std::string_view::npos || close > stop) close = stop;
            value = std::string(html.substr(i, close - i));
            i = close + 1;
        } else {
            size_t valueStart = i;
            while (i < stop && !std::isspace(static_cast<unsigned char>(html[i]))) ++i;
            value = std::string(html.substr(valueStart, i - valueStart));
        }
        if (!key.empty()) tag.attributes[key] = value;
    }
    return tag;
}

// The character of an entity at html[pos] == '&', or none (the '&' stands
// for itself). pos ends after the ';'.
bool readEntity(std::string_view html, size_t& pos, char32_t& out) {
    const size_t semi = html.find(';', pos);
    if (semi == std::string_view::npos || semi - pos > 10) return false;
    const std::string name = lower(html.substr(pos + 1, semi - pos - 1));
    static const std::map<std::string, char32_t> named{
        {"lt", U'<'}, {"gt", U'>'}, {"amp", U'&'}, {"quot", U'"'}, {"apos", U'\''}, {"nbsp", 0xA0}};
    if (auto it = named.find(name); it != named.end()) {
        out = it->second;
    } else if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x';
        char* end = nullptr;
        const std::string digits = name.substr(hex ? 2 : 1);
        const long value = std::strtol(digits.c_str(), &end, hex ? 16 : 10);
        if (digits.empty() || *end != 0 || value <= 0 || value > 0x10FFFF) return false;
        out = char32_t(value);
    } else {
        return false;
    }
    pos = semi + 1;
    return true;
}

bool parseColor(const std::string& text, Rgba& color) {
    if (text.size() != 7 || text[0] != '#') return false;
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str() + 1, &end, 16);
    if (*end != 0) return false;
    color = Rgba{uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value), 255};
    return true;
}

// A size in points, possibly relative ("+2", "-1") to the current one.
void applySize(const std::string& text, double& size) {
    if (text.empty()) return;
    const double points = std::atof(text.c_str());
    if (text[0] == '+' || text[0] == '-') size = std::max(0.0, size + points * 20);
    else if (points > 0) size = points * 20;
}

// "20,40,60": tab stops in pixels, as twips.
std::vector<double> tabStops(const std::string& list) {
    std::vector<double> out;
    for (size_t start = 0; start <= list.size() && out.size() < 1024;) {
        size_t comma = list.find(',', start);
        if (comma == std::string::npos) comma = list.size();
        if (comma > start) out.push_back(std::atof(list.substr(start, comma - start).c_str()) * 20);
        start = comma + 1;
    }
    return out;
}

TextAlign parseAlign(const std::string& text, TextAlign current) {
    const std::string a = lower(text);
    if (a == "left") return TextAlign::Left;
    if (a == "right") return TextAlign::Right;
    if (a == "center") return TextAlign::Center;
    if (a == "justify") return TextAlign::Justify;
    return current;
}

class HtmlReader {
public:
    HtmlReader(const TextFormat& base, bool condenseWhite, bool multiline)
        : condenseWhite_(condenseWhite), multiline_(multiline) {
        stack_.push_back({"", base});
    }

    void open(const Tag& tag) {
        TextFormat f = stack_.back().format;
        const auto attr = [&](const char* name) -> const std::string* {
            auto it = tag.attributes.find(name);
            return it == tag.attributes.end() ? nullptr : &it->second;
        };
        if (tag.name == "br") {
            if (multiline_) breakLine();
            return;
        }
        if (tag.name == "p" || tag.name == "li") {
            if (multiline_ && !atParagraphStart()) breakLine();
            if (const std::string* a = attr("align")) f.align = parseAlign(*a, f.align);
            if (tag.name == "li") f.bullet = true;
            paragraphFormat(f);
        } else if (tag.name == "b") {
            f.bold = true;
        } else if (tag.name == "i") {
            f.italic = true;
        } else if (tag.name == "u") {
            f.underline = true;
        } else if (tag.name == "font") {
            if (const std::string* a = attr("face")) f.font = *a;
            if (const std::string* a = attr("size")) applySize(*a, f.size);
            if (const std::string* a = attr("color")) parseColor(*a, f.color);
            if (const std::string* a = attr("letterspacing")) f.letterSpacing = std::atof(a->c_str()) * 20;
            if (const std::string* a = attr("kerning")) f.kerning = std::atoi(a->c_str()) != 0;
        } else if (tag.name == "a") {
            if (const std::string* a = attr("href")) f.url = *a;
            if (const std::string* a = attr("target")) f.target = *a;
        } else if (tag.name == "textformat") {
            if (const std::string* a = attr("leftmargin")) f.leftMargin = std::atof(a->c_str()) * 20;
            if (const std::string* a = attr("rightmargin")) f.rightMargin = std::atof(a->c_str()) * 20;
            if (const std::string* a = attr("indent")) f.indent = std::atof(a->c_str()) * 20;
            if (const std::string* a = attr("leading")) f.leading = std::atof(a->c_str()) * 20;
            if (const std::string* a = attr("blockindent")) f.blockIndent = std::atof(a->c_str()) * 20;
            if (const std::string* a = attr("tabstops")) f.tabStops = tabStops(*a);
            paragraphFormat(f);
        } else {
            return;   // unknown tags change nothing and close nothing
        }
        stack_.push_back({tag.name, f});
    }

    void close(const Tag& tag) {
        for (size_t i = stack_.size(); i-- > 1;) {
            if (stack_[i].name != tag.name) continue;
            stack_.resize(i);
            if (multiline_ && (tag.name == "p" || tag.name == "li")) breakLine();
            return;
        }
    }

    void text(char32_t c) {
        if (c == '\n' || c == '\r') {
            if (condenseWhite_) c = ' ';
            else { breakLine(); return; }
        }
        if (condenseWhite_ && (c == ' ' || c == '\t')) {
            if (pendingSpace_ || atParagraphStart()) return;
            pendingSpace_ = true;
            c = ' ';
        } else {
            pendingSpace_ = false;
        }
        out_.append(std::u32string_view(&c, 1), stack_.back().format);
        endedByParagraph_ = false;
    }

    StyledText finish() {
        // The break that closes the last paragraph is not part of the text.
        if (endedByParagraph_ && !out_.chars.empty() && out_.chars.back() == '\r') {
            out_.chars.pop_back();
            out_.formats.pop_back();
        }
        return std::move(out_);
    }

private:
    struct Open {
        std::string name;
        TextFormat format;
    };
    bool atParagraphStart() const { return out_.chars.empty() || out_.chars.back() == '\r'; }
    void breakLine() {
        out_.append(U"\r", stack_.back().format);
        pendingSpace_ = false;
        endedByParagraph_ = true;
    }
    // Paragraph attributes belong to the whole paragraph being written.
    void paragraphFormat(const TextFormat& f) {
        size_t start = out_.chars.size();
        while (start > 0 && out_.chars[start - 1] != '\r') --start;
        for (size_t i = start; i < out_.size(); ++i) {
            TextFormat& g = out_.formats[i];
            g.align = f.align;
            g.leftMargin = f.leftMargin;
            g.rightMargin = f.rightMargin;
            g.indent = f.indent;
            g.leading = f.leading;
            g.blockIndent = f.blockIndent;
            g.tabStops = f.tabStops;
            g.bullet = f.bullet;
        }
    }

    std::vector<Open> stack_;
    StyledText out_;
    bool condenseWhite_;
    bool multiline_;
    bool pendingSpace_ = false;
    bool endedByParagraph_ = false;
};

} // namespace

StyledText parseHtml(std::string_view html, const TextFormat& base, bool condenseWhite, bool multiline) {
    HtmlReader reader(base, condenseWhite, multiline);
    const std::string utf8(html);
    size_t pos = 0;
    // Tags and entities are ASCII: find them in the bytes, decode text between.
    while (pos < utf8.size()) {
        const char c = utf8[pos];
        if (c == '<') {
            Tag tag = readTag(utf8, pos);
            if (tag.closing) reader.close(tag);
            else reader.open(tag);
            continue;
        }
        if (c == '&') {
            char32_t entity = 0;
            if (readEntity(utf8, pos, entity)) { reader.text(entity); continue; }
        }
        size_t next = utf8.find_first_of("<&", pos + 1);
        if (next == std::string::npos) next = utf8.size();
        for (char32_t ch : decodeText(std::string_view(utf8).substr(pos, next - pos))) reader.text(ch);
        pos = next;
    }
    return reader.finish();
}

} // namespace tesmar::stage
