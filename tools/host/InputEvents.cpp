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
    bool string(std::string& out) {
        if (!eat('"')) return false;
        while (pos_ < s_.size() && s_[pos_] != '"') {
            char c = s_[pos_++];
            if (c == '\\' && pos_ < s_.size()) {
                char e = s_[pos_++];
                c = e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e;
                if (e == 'u') { pos_ = std::min(s_.size(), pos_ + 4); c = '?'; }
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

int keyCodeOf(const Json* key) {
    if (!key) return 0;
    const Json* ch = key->field("Char");
    if (!ch) ch = key->field("Numpad");
    if (!ch || ch->text.empty()) return 0;
    return std::toupper(static_cast<unsigned char>(ch->text[0]));
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
        {"KeyUp", InputEvent::Type::KeyUp}, {"Wait", InputEvent::Type::Wait}};
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
        event.keyCode = keyCodeOf(item.field("key"));
        events.push_back(event);
    }
    return events;
}

} // namespace tesmar::host
