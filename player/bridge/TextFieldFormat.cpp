// TextFormat objects and the methods that read and change the formats of a
// field's characters (getTextFormat, setTextFormat, get/setNewTextFormat).
#include <cmath>
#include "player/bridge/TextField.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;
using stage::TextAlign;
using stage::TextFormat;

// The attributes a TextFormat carries, in the order the constructor takes them.
const char* const kConstructorOrder[] = {"font", "size", "color", "bold", "italic", "underline", "url",
                                         "target", "align", "leftMargin", "rightMargin", "indent", "leading"};
const char* const kOthers[] = {"blockIndent", "bullet", "kerning", "letterSpacing", "tabStops"};

const char* alignName(TextAlign align) {
    switch (align) {
    case TextAlign::Right: return "right";
    case TextAlign::Center: return "center";
    case TextAlign::Justify: return "justify";
    default: return "left";
    }
}

Value attribute(const TextFormat& f, const std::string& name) {
    if (name == "font") return Value(f.font);
    if (name == "size") return Value(f.size / 20);
    if (name == "color") return Value(double((uint32_t(f.color.r) << 16) | (uint32_t(f.color.g) << 8) | f.color.b));
    if (name == "bold") return Value(f.bold);
    if (name == "italic") return Value(f.italic);
    if (name == "underline") return Value(f.underline);
    if (name == "url") return Value(f.url);
    if (name == "target") return Value(f.target);
    if (name == "align") return Value(alignName(f.align));
    if (name == "leftMargin") return Value(f.leftMargin / 20);
    if (name == "rightMargin") return Value(f.rightMargin / 20);
    if (name == "indent") return Value(f.indent / 20);
    if (name == "leading") return Value(f.leading / 20);
    if (name == "blockIndent") return Value(0);
    if (name == "bullet") return Value(f.bullet);
    if (name == "kerning") return Value(false);
    if (name == "letterSpacing") return Value(f.letterSpacing / 20);
    return Value::null();   // tabStops
}

// Applies one attribute given by a script; null and undefined change nothing.
void applyAttribute(script::VM& vm, TextFormat& f, const std::string& name, const Value& v) {
    if (v.isNullish()) return;
    auto twips = [&](double& out) {
        const double n = vm.toNumber(v);
        if (std::isfinite(n)) out = std::round(n * 20);
    };
    if (name == "font") f.font = vm.toString(v);
    else if (name == "size") { double size = f.size; twips(size); f.size = std::clamp(size, 0.0, 2000.0 * 20); }
    else if (name == "color") {
        const uint32_t n = uint32_t(vm.toInt32(v));
        f.color = Rgba{uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n), 255};
    }
    else if (name == "bold") f.bold = vm.toBoolean(v);
    else if (name == "italic") f.italic = vm.toBoolean(v);
    else if (name == "underline") f.underline = vm.toBoolean(v);
    else if (name == "url") f.url = vm.toString(v);
    else if (name == "target") f.target = vm.toString(v);
    else if (name == "align") {
        const std::string a = vm.toString(v);
        if (a == "left") f.align = TextAlign::Left;
        else if (a == "right") f.align = TextAlign::Right;
        else if (a == "center") f.align = TextAlign::Center;
        else if (a == "justify") f.align = TextAlign::Justify;
    }
    else if (name == "leftMargin") twips(f.leftMargin);
    else if (name == "rightMargin") twips(f.rightMargin);
    else if (name == "indent") twips(f.indent);
    else if (name == "leading") twips(f.leading);
    else if (name == "letterSpacing") twips(f.letterSpacing);
    else if (name == "bullet") f.bullet = vm.toBoolean(v);
}

script::Object* newTextFormat(script::VM& vm) {
    const Value constructor = vm.get(vm.global(), "TextFormat");
    const Value made = vm.construct(constructor, {});
    return made.isObject() ? made.object() : nullptr;
}

// A TextFormat describing characters [begin, end): attributes on which they
// differ are null.
Value describe(script::VM& vm, const std::vector<TextFormat>& formats) {
    script::Object* out = newTextFormat(vm);
    if (!out || formats.empty()) return Value(out);
    auto each = [&](const char* name) {
        Value first = attribute(formats[0], name);
        for (size_t i = 1; i < formats.size(); ++i) {
            if (!script::VM::strictEquals(attribute(formats[i], name), first)) {
                first = Value::null();
                break;
            }
        }
        vm.set(out, name, first);
    };
    for (const char* name : kConstructorOrder) each(name);
    for (const char* name : kOthers) each(name);
    return Value(out);
}

void applyAll(script::VM& vm, script::Object* format, TextFormat& f) {
    for (const char* name : kConstructorOrder) applyAttribute(vm, f, name, vm.get(format, name));
    for (const char* name : kOthers) applyAttribute(vm, f, name, vm.get(format, name));
}

// The character range of getTextFormat/setTextFormat arguments before the
// format: none (all), one index, or begin and end.
bool rangeOf(CallContext& c, size_t count, size_t length, size_t& begin, size_t& end) {
    begin = 0;
    end = length;
    auto index = [&](size_t i) {
        const double n = c.vm.toNumber(c.arg(i));
        return std::isfinite(n) && n > 0 ? size_t(std::min(n, double(length))) : size_t(0);
    };
    if (count >= 1) {
        begin = index(0);
        end = count >= 2 ? index(1) : begin + 1;
        if (count == 1 && begin >= length) return false;
    }
    return begin < end;
}

Value textFormatConstructor(CallContext& c) {
    if (!c.thisObject) return Value();
    for (size_t i = 0; i < std::size(kConstructorOrder); ++i)
        c.vm.set(c.thisObject, kConstructorOrder[i], i < c.count() ? c.arg(i) : Value::null());
    for (const char* name : kOthers) c.vm.set(c.thisObject, name, Value::null());
    return Value(c.thisObject);
}

Value getTextFormat(CallContext& c) {
    stage::EditText* field = editTextOf(c.vm, c.thisObject);
    if (!field) return Value();
    const auto& formats = field->styledText().formats;
    size_t begin = 0, end = 0;
    if (!rangeOf(c, c.count(), formats.size(), begin, end)) {
        if (formats.empty()) return describe(c.vm, {field->newTextFormat()});
        return describe(c.vm, {});
    }
    return describe(c.vm, std::vector<TextFormat>(formats.begin() + std::ptrdiff_t(begin),
                                                  formats.begin() + std::ptrdiff_t(end)));
}

Value setTextFormat(CallContext& c) {
    stage::EditText* field = editTextOf(c.vm, c.thisObject);
    if (!field || c.count() == 0 || !c.args.back().isObject()) return Value();
    script::Object* format = c.args.back().object();
    size_t begin = 0, end = 0;
    if (!rangeOf(c, c.count() - 1, field->styledText().size(), begin, end)) return Value();
    field->changeFormat(begin, end, [&](TextFormat& f) { applyAll(c.vm, format, f); });
    return Value();
}

Value getNewTextFormat(CallContext& c) {
    stage::EditText* field = editTextOf(c.vm, c.thisObject);
    return field ? describe(c.vm, {field->newTextFormat()}) : Value();
}

Value setNewTextFormat(CallContext& c) {
    stage::EditText* field = editTextOf(c.vm, c.thisObject);
    if (field && c.arg(0).isObject()) applyAll(c.vm, c.arg(0).object(), field->newTextFormat());
    return Value();
}

} // namespace

void installTextFormat(script::VM& vm, script::Object* prototype) {
    script::FunctionObject* constructor = vm.newNative(textFormatConstructor);
    vm.attachPrototype(constructor);
    vm.global()->put("TextFormat", Value(static_cast<script::Object*>(constructor)), script::DontEnum);
    vm.defineNative(prototype, "getTextFormat", getTextFormat);
    vm.defineNative(prototype, "setTextFormat", setTextFormat);
    vm.defineNative(prototype, "getNewTextFormat", getNewTextFormat);
    vm.defineNative(prototype, "setNewTextFormat", setNewTextFormat);
}

} // namespace tesmar::bridge
