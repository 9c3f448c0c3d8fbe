#include "host/InputEvents.h"
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>

namespace tesmar::host {

namespace {

// Just enough JSON for event lists: objects, arrays, strings, numbers,
// true/false/null. Nesting is limited so that hostile input cannot recurse deeply.
struct Json {
    enum class Kind { Null, Bool, Number, String, Array, Object } kind = Kind::Null;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    const Json* field(const std::string& name) const {
        auto it = fields.find(name);
        return it == fields.end() ? nullptr : &it->second;
    }
};

class JsonParser {
public:
    explicit JsonParser(const std::string& text) : s_(text) {}

    bool parse(Json& out) {
        if (!value(out, 0)) return false;
        space();
        return pos_ == s_.size();
    }

private:
    void space() { while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_; }
    bool eat(char c) {
        space();
        if (pos_ < s_.size() && s_[pos_] == c) { ++pos_; return true; }
        return false;
    }
    bool word(const char* w) {
        size_t n = std::char_traits<char>::length(w);
        if (s_.compare(pos_, n, w) != 0) return false;
        pos_ += n;
        return true;
    }
    // The four hex digits of a \u escape (a bad digit counts as 0).
    uint32_t hex4() {
        uint32_t code = 0;
        for (int i = 0; i < 4 && pos_ < s_.size(); ++i, ++pos_) {
            const char h = s_[pos_];
            const int digit = std::isdigit(static_cast<unsigned char>(h)) ? h - '0'
                              : std::isxdigit(static_cast<unsigned char>(h)) ? std::tolower(h) - 'a' + 10 : 0;
            code = code * 16 + uint32_t(digit);
        }
        return code;
    }
    static void appendUtf8(std::string& out, uint32_t code) {
        if (code >= 0x10000) {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }
    bool string(std::string& out) {
        if (!eat('"')) return false;
        while (pos_ < s_.size() && s_[pos_] != '"') {
            char c = s_[pos_++];
            if (c == '\\' && pos_ < s_.size()) {
                char e = s_[pos_++];
                c = e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                if (e == 'u') {
                    uint32_t code = hex4();
                    // A surrogate pair stands for one character past the first 64K.
                    if (code >= 0xD800 && code < 0xDC00 && s_.compare(pos_, 2, "\\u") == 0) {
                        pos_ += 2;
                        const uint32_t low = hex4();
                        if (low >= 0xDC00 && low < 0xE000) code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                    }
                    appendUtf8(out, code);
                    continue;
                }
            }
            out += c;
        }
        return eat('"');
    }
    bool value(Json& out, int depth) {
        if (depth > 32) return false;
        space();
        if (pos_ >= s_.size()) return false;
        char c = s_[pos_];
        if (c == '"') { out.kind = Json::Kind::String; return string(out.text); }
        if (c == '[') {
            ++pos_;
            out.kind = Json::Kind::Array;
            if (eat(']')) return true;
            do {
                out.items.emplace_back();
                if (!value(out.items.back(), depth + 1)) return false;
            } while (eat(','));
            return eat(']');
        }
        if (c == '{') {
            ++pos_;
            out.kind = Json::Kind::Object;
            if (eat('}')) return true;
            do {
                std::string key;
                if (!string(key) || !eat(':') || !value(out.fields[key], depth + 1)) return false;
            } while (eat(','));
            return eat('}');
        }
        if (word("true")) { out.kind = Json::Kind::Bool; out.number = 1; return true; }
        if (word("false")) { out.kind = Json::Kind::Bool; return true; }
        if (word("null")) return true;
        char* end = nullptr;
        out.number = std::strtod(s_.c_str() + pos_, &end);
        if (end == s_.c_str() + pos_) return false;
        pos_ = size_t(end - s_.c_str());
        out.kind = Json::Kind::Number;
        return true;
    }

    const std::string& s_;
    size_t pos_ = 0;
};

struct Key {
    int code = 0;
    int ascii = 0;
};

// A key as the event lists name it: {"Char": "a"} or a name such as "Tab".
Key keyOf(const Json* key) {
    if (!key) return {};
    if (key->kind == Json::Kind::String) {
        static const std::map<std::string, Key> named = {
            {"Backspace", {8, 8}}, {"Tab", {9, 9}}, {"Enter", {13, 13}}, {"LeftShift", {16, 0}},
            {"RightShift", {16, 0}}, {"LeftControl", {17, 0}}, {"RightControl", {17, 0}}, {"LeftAlt", {18, 0}},
            {"CapsLock", {20, 0}}, {"Escape", {27, 27}}, {"Space", {32, 32}}, {"PageUp", {33, 0}},
            {"PageDown", {34, 0}}, {"End", {35, 0}}, {"Home", {36, 0}}, {"ArrowLeft", {37, 0}},
            {"ArrowUp", {38, 0}}, {"ArrowRight", {39, 0}}, {"ArrowDown", {40, 0}}, {"Insert", {45, 0}},
            {"Delete", {46, 127}}};
        auto it = named.find(key->text);
        return it == named.end() ? Key{} : it->second;
    }
    const Json* ch = key->field("Char");
    if (!ch) ch = key->field("Numpad");
    if (!ch || ch->text.size() != 1) return {};
    const unsigned char c = static_cast<unsigned char>(ch->text[0]);
    if (std::isalnum(c)) return {std::toupper(c), c};
    // Punctuation on a US keyboard, by the key that types it.
    static const std::map<char, int> punctuation = {
        {';', 186}, {':', 186}, {'=', 187}, {'+', 187}, {',', 188}, {'<', 188}, {'-', 189}, {'_', 189},
        {'.', 190}, {'>', 190}, {'/', 191}, {'?', 191}, {'`', 192}, {'~', 192}, {'[', 219}, {'{', 219},
        {'\\', 220}, {'|', 220}, {']', 221}, {'}', 221}, {'\'', 222}, {'"', 222}, {' ', 32}};
    auto it = punctuation.find(char(c));
    return {it == punctuation.end() ? 0 : it->second, c};
}

// The first character of UTF-8 text (0 for none or a broken sequence).
char32_t firstCodepoint(const std::string& text) {
    if (text.empty()) return 0;
    const auto byte = [&](size_t i) { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u; };
    const unsigned lead = byte(0);
    if (lead < 0x80) return lead;
    if ((lead & 0xE0) == 0xC0) return char32_t(((lead & 0x1F) << 6) | (byte(1) & 0x3F));
    if ((lead & 0xF0) == 0xE0) return char32_t(((lead & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F));
    if ((lead & 0xF8) == 0xF0)
        return char32_t(((lead & 0x07) << 18) | ((byte(1) & 0x3F) << 12) | ((byte(2) & 0x3F) << 6) | (byte(3) & 0x3F));
    return 0;
}

// A text editing command by its name in event lists; nullopt for one we do not know.
std::optional<Player::TextCommand> textCommandOf(const Json* code) {
    using C = Player::TextCommand;
    static const std::map<std::string, C> named = {
        {"Enter", C::Enter}, {"Backspace", C::Backspace}, {"Delete", C::Delete}, {"MoveLeft", C::MoveLeft},
        {"MoveRight", C::MoveRight}, {"MoveLeftLine", C::LineStart}, {"MoveRightLine", C::LineEnd},
        {"SelectAll", C::SelectAll}, {"Copy", C::Copy}, {"Cut", C::Cut}, {"Paste", C::Paste}};
    if (!code) return std::nullopt;
    auto it = named.find(code->text);
    if (it == named.end()) return std::nullopt;
    return it->second;
}

} // namespace

std::optional<std::vector<InputEvent>> parseInputEvents(const std::string& text, std::string& error) {
    Json root;
    if (!JsonParser(text).parse(root) || root.kind != Json::Kind::Array) {
        error = "input is not a JSON list";
        return std::nullopt;
    }
    static const std::map<std::string, InputEvent::Type> types = {
        {"MouseMove", InputEvent::Type::MouseMove}, {"MouseDown", InputEvent::Type::MouseDown},
        {"MouseUp", InputEvent::Type::MouseUp}, {"KeyDown", InputEvent::Type::KeyDown},
        {"KeyUp", InputEvent::Type::KeyUp}, {"TextInput", InputEvent::Type::TextInput},
        {"TextControl", InputEvent::Type::TextControl}, {"SetClipboardText", InputEvent::Type::SetClipboardText},
        {"FocusLost", InputEvent::Type::FocusLost}, {"Wait", InputEvent::Type::Wait}};
    std::vector<InputEvent> events;
    for (const Json& item : root.items) {
        const Json* type = item.field("type");
        if (!type) { error = "event without a type"; return std::nullopt; }
        InputEvent event;
        auto it = types.find(type->text);
        if (it != types.end()) event.type = it->second;
        if (const Json* pos = item.field("pos"); pos && pos->items.size() == 2) {
            event.x = pos->items[0].number;
            event.y = pos->items[1].number;
        }
        const Key key = keyOf(item.field("key"));
        event.keyCode = key.code;
        event.ascii = key.ascii;
        if (const Json* text = item.field("codepoint")) event.codepoint = firstCodepoint(text->text);
        if (const Json* text = item.field("text")) event.text = text->text;
        // The player hears nothing of the middle button; the pointer still moves.
        const Json* button = item.field("btn");
        if (button && button->text == "Middle" &&
            (event.type == InputEvent::Type::MouseDown || event.type == InputEvent::Type::MouseUp)) {
            event.type = InputEvent::Type::MouseMove;
            event.buttonUnheard = true;
        }
        if (event.type == InputEvent::Type::TextControl) {
            const auto command = textCommandOf(item.field("code"));
            if (command) event.command = *command;
            else event.type = InputEvent::Type::Other;
        }
        events.push_back(event);
    }
    return events;
}

} // namespace tesmar::host
