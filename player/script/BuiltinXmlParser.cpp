// A one-pass XML reader: the open elements live on a vector, not on the
// native stack, so nesting depth costs memory in proportion to the input
// and nothing more.

#include "player/script/BuiltinXmlParser.h"

#include <cstdint>

namespace tesmar::script {

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool allSpace(std::string_view s)
{
    for (char c : s)
        if (!isSpace(c)) return false;
    return true;
}

void appendUtf8(std::string& out, uint32_t code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

// The character that `&name;` stands for; false when it is no reference.
bool decodeReference(std::string_view name, std::string& out)
{
    static const std::pair<std::string_view, char> named[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    for (const auto& [entity, c] : named) {
        if (name == entity) {
            out += c;
            return true;
        }
    }
    if (name.size() < 2 || name[0] != '#') return false;
    bool hex = name[1] == 'x' || name[1] == 'X';
    std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 8) return false;
    uint32_t code = 0;
    for (char c : digits) {
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return false;
        code = code * (hex ? 16 : 10) + uint32_t(d);
    }
    if (code == 0 || code > 0x10FFFF) return false;
    appendUtf8(out, code);
    return true;
}

class Reader {
public:
    Reader(std::string_view source, bool ignoreWhite, XmlHandler& handler)
        : s_(source), ignoreWhite_(ignoreWhite), handler_(handler) {}

    int run()
    {
        while (pos_ < s_.size()) {
            int status = s_[pos_] == '<' ? markup() : text();
            if (status != XmlOk) return status;
        }
        return open_.empty() ? XmlOk : XmlStartTagUnmatched;
    }

private:
    bool startsWith(std::string_view prefix) const { return s_.substr(pos_, prefix.size()) == prefix; }

    int text()
    {
        size_t end = s_.find('<', pos_);
        if (end == std::string_view::npos) end = s_.size();
        std::string_view raw = s_.substr(pos_, end - pos_);
        pos_ = end;
        if (!(ignoreWhite_ && allSpace(raw))) handler_.text(xmlUnescape(raw));
        return XmlOk;
    }

    // Skips to the end of a construct closed by `terminator`; false when the
    // text ends first.
    bool skipPast(std::string_view terminator, size_t from, std::string_view* inside = nullptr)
    {
        size_t end = s_.find(terminator, from);
        if (end == std::string_view::npos) return false;
        if (inside) *inside = s_.substr(from, end - from);
        pos_ = end + terminator.size();
        return true;
    }

    int markup()
    {
        size_t start = pos_;
        std::string_view inside;
        if (startsWith("<!--"))
            return skipPast("-->", pos_ + 4) ? XmlOk : XmlCommentUnterminated;
        if (startsWith("<![CDATA[")) {
            if (!skipPast("]]>", pos_ + 9, &inside)) return XmlCdataUnterminated;
            handler_.text(std::string(inside));
            return XmlOk;
        }
        if (startsWith("<!")) return doctype(start);
        if (startsWith("<?")) {
            if (!skipPast("?>", pos_ + 2)) return XmlDeclarationUnterminated;
            handler_.declaration(std::string(s_.substr(start, pos_ - start)));
            return XmlOk;
        }
        if (startsWith("</")) return endTag();
        return startTag();
    }

    // `<!DOCTYPE ...>`, whose internal subset in [ ] may hold `>` itself.
    int doctype(size_t start)
    {
        int depth = 0;
        for (size_t i = pos_ + 2; i < s_.size(); ++i) {
            char c = s_[i];
            if (c == '[') ++depth;
            else if (c == ']' && depth > 0) --depth;
            else if (c == '>' && depth == 0) {
                pos_ = i + 1;
                handler_.doctype(std::string(s_.substr(start, pos_ - start)));
                return XmlOk;
            }
        }
        return XmlDoctypeUnterminated;
    }

    int endTag()
    {
        std::string_view inside;
        if (!skipPast(">", pos_ + 2, &inside)) return XmlMalformedElement;
        while (!inside.empty() && isSpace(inside.back())) inside.remove_suffix(1);
        if (open_.empty()) return XmlEndTagUnmatched;
        if (inside != open_.back()) return XmlStartTagUnmatched;
        open_.pop_back();
        handler_.endElement();
        return XmlOk;
    }

    void skipSpace()
    {
        while (pos_ < s_.size() && isSpace(s_[pos_])) ++pos_;
    }

    std::string_view readName()
    {
        size_t start = pos_;
        while (pos_ < s_.size()) {
            char c = s_[pos_];
            if (isSpace(c) || c == '/' || c == '>' || c == '=') break;
            ++pos_;
        }
        return s_.substr(start, pos_ - start);
    }

    int startTag()
    {
        ++pos_;
        std::string_view name = readName();
        if (name.empty()) return XmlMalformedElement;
        XmlAttributeList attributes;
        for (;;) {
            skipSpace();
            if (pos_ >= s_.size()) return XmlMalformedElement;
            if (s_[pos_] == '>') {
                ++pos_;
                open_.emplace_back(name);
                handler_.startElement(std::string(name), attributes, false);
                return XmlOk;
            }
            if (startsWith("/>")) {
                pos_ += 2;
                handler_.startElement(std::string(name), attributes, true);
                return XmlOk;
            }
            int status = attribute(attributes);
            if (status != XmlOk) return status;
        }
    }

    int attribute(XmlAttributeList& attributes)
    {
        std::string_view key = readName();
        if (key.empty()) return XmlMalformedElement;
        skipSpace();
        if (pos_ >= s_.size() || s_[pos_] != '=') return XmlMalformedElement;
        ++pos_;
        skipSpace();
        if (pos_ >= s_.size()) return XmlMalformedElement;
        char quote = s_[pos_];
        if (quote != '"' && quote != '\'') return XmlMalformedElement;
        std::string_view value;
        if (!skipPast(std::string_view(&quote, 1), pos_ + 1, &value)) return XmlAttributeUnterminated;
        attributes.emplace_back(std::string(key), xmlUnescape(value));
        return XmlOk;
    }

    std::string_view s_;
    size_t pos_ = 0;
    bool ignoreWhite_;
    XmlHandler& handler_;
    std::vector<std::string_view> open_;   // names of the elements not yet closed
};

} // namespace

int parseXml(std::string_view source, bool ignoreWhite, XmlHandler& handler)
{
    return Reader(source, ignoreWhite, handler).run();
}

std::string xmlUnescape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '&') {
            size_t semicolon = text.find(';', i + 1);
            // References are short; a far-off ';' belongs to something else.
            if (semicolon != std::string_view::npos && semicolon - i <= 12 &&
                decodeReference(text.substr(i + 1, semicolon - i - 1), out)) {
                i = semicolon + 1;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

std::string xmlEscape(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace tesmar::script
