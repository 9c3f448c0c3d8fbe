#include "player/bridge/TextFormat.h"
#include <cctype>
#include <climits>
#include <cmath>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;
using stage::TextAlign;

// Font names longer than this are cut.
constexpr size_t kMaxFontName = 64;

enum class Attribute {
    Font, Size, Color, Bold, Italic, Underline, Url, Target, Align, LeftMargin, RightMargin, Indent, Leading,
    BlockIndent, TabStops, Bullet, Display, Kerning, LetterSpacing,
};

struct Named {
    const char* name;
    Attribute attribute;
};

// Prototype order; the constructor takes the first thirteen in this order.
constexpr Named kAttributes[] = {
    {"font", Attribute::Font}, {"size", Attribute::Size}, {"color", Attribute::Color},
    {"bold", Attribute::Bold}, {"italic", Attribute::Italic}, {"underline", Attribute::Underline},
    {"url", Attribute::Url}, {"target", Attribute::Target}, {"align", Attribute::Align},
    {"leftMargin", Attribute::LeftMargin}, {"rightMargin", Attribute::RightMargin}, {"indent", Attribute::Indent},
    {"leading", Attribute::Leading}, {"blockIndent", Attribute::BlockIndent}, {"tabStops", Attribute::TabStops},
    {"bullet", Attribute::Bullet}, {"display", Attribute::Display}, {"kerning", Attribute::Kerning},
    {"letterSpacing", Attribute::LetterSpacing},
};
constexpr size_t kConstructorArguments = 13;

// How a value given by a script becomes an attribute: the constructor cuts
// fractions and takes any number; an assignment rounds from SWF 8 and keeps
// margins (and before SWF 8 indents and leading) from going negative.
struct Conversion {
    bool roundToEven = false;
    bool clampMargins = false;
    bool clampIndents = false;
};

const char* alignName(TextAlign align) {
    switch (align) {
    case TextAlign::Right: return "right";
    case TextAlign::Center: return "center";
    case TextAlign::Justify: return "justify";
    default: return "left";
    }
}

std::optional<TextAlign> alignOf(std::string name) {
    for (char& ch : name) ch = char(std::tolower(static_cast<unsigned char>(ch)));
    if (name == "left") return TextAlign::Left;
    if (name == "right") return TextAlign::Right;
    if (name == "center") return TextAlign::Center;
    if (name == "justify") return TextAlign::Justify;
    return std::nullopt;
}

uint32_t toUint32(double n) {
    if (!std::isfinite(n)) return 0;
    const double wrapped = std::fmod(std::trunc(n), 4294967296.0);
    return uint32_t(int64_t(wrapped < 0 ? wrapped + 4294967296.0 : wrapped));
}

Value optionalValue(const std::optional<double>& v) { return v ? Value(*v) : Value::null(); }
Value optionalValue(const std::optional<bool>& v) { return v ? Value(*v) : Value::null(); }
Value optionalValue(const std::optional<std::string>& v) { return v ? Value(*v) : Value::null(); }

Value read(script::VM& vm, const TextFormatValues& f, Attribute a) {
    switch (a) {
    case Attribute::Font: return optionalValue(f.font);
    case Attribute::Size: return optionalValue(f.size);
    case Attribute::Color: return f.color ? Value(double(*f.color)) : Value::null();
    case Attribute::Bold: return optionalValue(f.bold);
    case Attribute::Italic: return optionalValue(f.italic);
    case Attribute::Underline: return optionalValue(f.underline);
    case Attribute::Url: return optionalValue(f.url);
    case Attribute::Target: return optionalValue(f.target);
    case Attribute::Align: return f.align ? Value(alignName(*f.align)) : Value::null();
    case Attribute::LeftMargin: return optionalValue(f.leftMargin);
    case Attribute::RightMargin: return optionalValue(f.rightMargin);
    case Attribute::Indent: return optionalValue(f.indent);
    case Attribute::Leading: return optionalValue(f.leading);
    case Attribute::BlockIndent: return optionalValue(f.blockIndent);
    case Attribute::TabStops: {
        if (!f.tabStops) return Value::null();
        std::vector<Value> items(f.tabStops->begin(), f.tabStops->end());
        return Value(static_cast<script::Object*>(vm.newArray(items)));
    }
    case Attribute::Bullet: return optionalValue(f.bullet);
    case Attribute::Display: return Value(f.display);
    case Attribute::Kerning: return optionalValue(f.kerning);
    case Attribute::LetterSpacing: return optionalValue(f.letterSpacing);
    }
    return Value();
}

void assign(script::VM& vm, TextFormatValues& f, Attribute a, const Value& v, const Conversion& how) {
    if (a == Attribute::Display) {
        const std::string name = v.isNullish() ? std::string() : vm.toString(v);
        f.display = name == "none" || name == "inline" ? name : "block";
        return;
    }
    if (a == Attribute::Align) {
        // Only a known alignment changes it; anything else, null too, keeps it.
        if (!v.isNullish())
            if (auto align = alignOf(vm.toString(v))) f.align = align;
        return;
    }
    const bool unset = v.isNullish();
    auto text = [&](std::optional<std::string>& out) {
        if (unset) out.reset();
        else out = vm.toString(v);
    };
    auto flag = [&](std::optional<bool>& out) {
        if (unset) out.reset();
        else out = vm.toBoolean(v);
    };
    auto integer = [&](std::optional<double>& out, bool clamp) {
        if (unset) return out.reset();
        double n = vm.toNumber(v);
        if (clamp && !(n > 0)) n = 0;
        out = formatInteger(n, how.roundToEven);
    };
    switch (a) {
    case Attribute::Font:
        text(f.font);
        if (f.font && f.font->size() > kMaxFontName) f.font->resize(kMaxFontName);
        break;
    case Attribute::Size: integer(f.size, false); break;
    case Attribute::Color:
        if (unset) f.color.reset();
        else f.color = toUint32(vm.toNumber(v));
        break;
    case Attribute::Bold: flag(f.bold); break;
    case Attribute::Italic: flag(f.italic); break;
    case Attribute::Underline: flag(f.underline); break;
    case Attribute::Url: text(f.url); break;
    case Attribute::Target: text(f.target); break;
    case Attribute::LeftMargin: integer(f.leftMargin, how.clampMargins); break;
    case Attribute::RightMargin: integer(f.rightMargin, how.clampMargins); break;
    case Attribute::Indent: integer(f.indent, how.clampIndents); break;
    case Attribute::Leading: integer(f.leading, how.clampIndents); break;
    case Attribute::BlockIndent: integer(f.blockIndent, how.clampIndents); break;
    case Attribute::TabStops: {
        if (unset) return f.tabStops.reset();
        if (!v.isObject()) return;
        // Any object with a length serves as the list of stops.
        script::Object* list = v.object();
        const double length = vm.toNumber(vm.get(list, "length"));
        std::vector<double> stops;
        for (double i = 0; i < length && i < 1024; ++i)
            stops.push_back(formatInteger(vm.toNumber(vm.get(list, std::to_string(int(i)))), true));
        f.tabStops = std::move(stops);
        break;
    }
    case Attribute::Bullet: flag(f.bullet); break;
    case Attribute::Kerning: flag(f.kerning); break;
    case Attribute::LetterSpacing:
        if (unset) f.letterSpacing.reset();
        else f.letterSpacing = vm.toNumber(v);
        break;
    default: break;
    }
}

TextFormatObject* formatOf(script::Object* object) { return dynamic_cast<TextFormatObject*>(object); }

template <Attribute A>
Value getter(CallContext& c) {
    TextFormatObject* self = formatOf(c.thisObject);
    return self ? read(c.vm, self->values, A) : Value();
}

template <Attribute A>
Value setter(CallContext& c) {
    if (TextFormatObject* self = formatOf(c.thisObject)) {
        const bool swf8 = c.vm.swfVersion() >= 8;
        assign(c.vm, self->values, A, c.arg(0), Conversion{swf8, true, !swf8});
    }
    return Value();
}

template <size_t... I>
void defineAccessors(script::VM& vm, script::Object* prototype, std::index_sequence<I...>) {
    auto define = [&](const char* name, script::NativeFunction get, script::NativeFunction set) {
        script::Property& p = prototype->put(name, Value(), script::DontEnum | script::DontDelete);
        p.accessor = true;
        p.getter = vm.newNative(get);
        p.setter = vm.newNative(set);
    };
    (define(kAttributes[I].name, getter<kAttributes[I].attribute>, setter<kAttributes[I].attribute>), ...);
}

// new TextFormat(font, size, color, bold, italic, underline, url, target,
// align, leftMargin, rightMargin, indent, leading).
Value textFormatConstructor(CallContext& c) {
    auto* made = c.vm.heap().make<TextFormatObject>();
    if (c.thisObject) {
        // `new` prepared a plain object: the new one takes its place.
        for (const script::Property& p : c.thisObject->properties())
            if (!p.accessor) made->put(p.name, p.value, p.flags);
    }
    for (size_t i = 0; i < kConstructorArguments && i < c.count(); ++i)
        assign(c.vm, made->values, kAttributes[i].attribute, c.arg(i), Conversion{});
    return Value(static_cast<script::Object*>(made));
}

} // namespace

double formatInteger(double n, bool roundToEven) {
    if (!std::isfinite(n)) return INT_MIN;
    const double whole = roundToEven ? std::nearbyint(n) : std::trunc(n);
    return whole < double(INT_MIN) || whole > double(INT_MAX) ? INT_MIN : whole;
}

TextFormatValues TextFormatValues::common(const std::vector<stage::TextFormat>& formats) {
    TextFormatValues out;
    if (formats.empty()) return out;
    auto agree = [&](auto member) {
        for (const stage::TextFormat& f : formats)
            if (!(f.*member == formats[0].*member)) return false;
        return true;
    };
    const stage::TextFormat& first = formats[0];
    auto pixels = [](double twips) { return twips / 20; };
    if (agree(&stage::TextFormat::font)) out.font = first.font;
    if (agree(&stage::TextFormat::size)) out.size = pixels(first.size);
    if (agree(&stage::TextFormat::color))
        out.color = (uint32_t(first.color.r) << 16) | (uint32_t(first.color.g) << 8) | first.color.b;
    if (agree(&stage::TextFormat::bold)) out.bold = first.bold;
    if (agree(&stage::TextFormat::italic)) out.italic = first.italic;
    if (agree(&stage::TextFormat::underline)) out.underline = first.underline;
    if (agree(&stage::TextFormat::url)) out.url = first.url;
    if (agree(&stage::TextFormat::target)) out.target = first.target;
    if (agree(&stage::TextFormat::align)) out.align = first.align;
    if (agree(&stage::TextFormat::leftMargin)) out.leftMargin = pixels(first.leftMargin);
    if (agree(&stage::TextFormat::rightMargin)) out.rightMargin = pixels(first.rightMargin);
    if (agree(&stage::TextFormat::indent)) out.indent = pixels(first.indent);
    if (agree(&stage::TextFormat::leading)) out.leading = pixels(first.leading);
    if (agree(&stage::TextFormat::blockIndent)) out.blockIndent = pixels(first.blockIndent);
    if (agree(&stage::TextFormat::tabStops)) {
        out.tabStops.emplace();
        for (double stop : first.tabStops) out.tabStops->push_back(pixels(stop));
    }
    if (agree(&stage::TextFormat::bullet)) out.bullet = first.bullet;
    if (agree(&stage::TextFormat::kerning)) out.kerning = first.kerning;
    if (agree(&stage::TextFormat::letterSpacing)) out.letterSpacing = pixels(first.letterSpacing);
    return out;
}

void TextFormatValues::applyTo(stage::TextFormat& f) const {
    auto twips = [](double pixels) { return pixels * 20; };
    if (font) f.font = *font;
    if (size) f.size = twips(*size);
    if (color) f.color = Rgba{uint8_t(*color >> 16), uint8_t(*color >> 8), uint8_t(*color), 255};
    if (bold) f.bold = *bold;
    if (italic) f.italic = *italic;
    if (underline) f.underline = *underline;
    if (url) f.url = *url;
    if (target) f.target = *target;
    if (align) f.align = *align;
    if (leftMargin) f.leftMargin = twips(*leftMargin);
    if (rightMargin) f.rightMargin = twips(*rightMargin);
    if (indent) f.indent = twips(*indent);
    if (leading) f.leading = twips(*leading);
    if (blockIndent) f.blockIndent = twips(*blockIndent);
    if (tabStops) {
        f.tabStops.clear();
        for (double stop : *tabStops) f.tabStops.push_back(twips(stop));
    }
    if (bullet) f.bullet = *bullet;
    if (kerning) f.kerning = *kerning;
    if (letterSpacing && std::isfinite(*letterSpacing)) f.letterSpacing = twips(*letterSpacing);
}

script::Object* newTextFormat(script::VM& vm, const TextFormatValues& values) {
    const Value made = vm.construct(vm.get(vm.global(), "TextFormat"), {});
    TextFormatObject* format = made.isObject() ? formatOf(made.object()) : nullptr;
    if (format) format->values = values;
    return format;
}

const TextFormatValues* textFormatValues(script::Object* object) {
    const TextFormatObject* format = formatOf(object);
    return format ? &format->values : nullptr;
}

void installTextFormatClass(script::VM& vm) {
    script::FunctionObject* constructor = vm.newNative(textFormatConstructor);
    script::Object* prototype = vm.attachPrototype(constructor);
    defineAccessors(vm, prototype, std::make_index_sequence<std::size(kAttributes)>{});
    vm.defineNative(prototype, "getTextExtent", getTextExtent);
    vm.global()->put("TextFormat", Value(static_cast<script::Object*>(constructor)), script::DontEnum);
}

} // namespace tesmar::bridge
