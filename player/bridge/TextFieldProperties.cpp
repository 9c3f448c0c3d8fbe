// The properties of TextField.prototype: getter/setter pairs that read and
// change the text field behind `this`.
#include <cctype>
#include <cmath>
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/FilterObject.h"
#include "player/bridge/TextField.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;
using stage::EditText;

enum class Field {
    Text, HtmlText, Html, Length, TextColor, TextWidth, TextHeight, AutoSize, WordWrap, Multiline, Border,
    BorderColor, Background, BackgroundColor, Variable, MaxChars, Selectable, Type, EmbedFonts, Password,
    CondenseWhite, Scroll, MaxScroll, BottomScroll, HScroll, MaxHScroll, Restrict, TabIndex, MouseWheelEnabled,
    AntiAliasType, GridFitType, Sharpness, Thickness,
};

double rgbNumber(Rgba c) { return double((uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b); }

Rgba rgbOf(script::VM& vm, const Value& v, uint8_t alpha = 255) {
    const uint32_t n = uint32_t(vm.toInt32(v));
    return Rgba{uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n), alpha};
}

const char* autoSizeName(EditText::AutoSize mode) {
    switch (mode) {
    case EditText::AutoSize::Left: return "left";
    case EditText::AutoSize::Center: return "center";
    case EditText::AutoSize::Right: return "right";
    default: return "none";
    }
}

// How many lines fit in the box from the first one.
int visibleLines(const EditText& field) {
    const auto& lines = field.layout().lines;
    const double room = field.box().height() - 2 * stage::kTextGutter;
    int count = 0;
    for (const stage::TextLine& line : lines)
        if (line.top + line.ascent + line.descent <= room + 0.5 || count == 0) ++count;
    return std::max(1, count);
}

Value get(script::VM& vm, EditText& f, Field which) {
    (void)vm;
    switch (which) {
    case Field::Text: return Value(f.text());
    case Field::HtmlText: return Value(f.htmlText());
    case Field::Html: return Value(f.html);
    case Field::Length: return Value(double(f.styledText().size()));
    case Field::TextColor: return Value(rgbNumber(f.newTextFormat().color));
    case Field::TextWidth: return Value(std::floor(f.textWidth() / 20));
    case Field::TextHeight: return Value(std::floor(f.textHeight() / 20));
    case Field::AutoSize: return Value(autoSizeName(f.autoSize()));
    case Field::WordWrap: return Value(f.wordWrap());
    case Field::Multiline: return Value(f.multiline);
    case Field::Border: return Value(f.border);
    case Field::BorderColor: return Value(rgbNumber(f.borderColor));
    case Field::Background: return Value(f.background);
    case Field::BackgroundColor: return Value(rgbNumber(f.backgroundColor));
    case Field::Variable: return f.variable.empty() ? Value::null() : Value(f.variable);
    case Field::MaxChars: return f.maxChars > 0 ? Value(f.maxChars) : Value::null();
    case Field::Selectable: return Value(f.selectable);
    case Field::Type: return Value(f.editable ? "input" : "dynamic");
    case Field::EmbedFonts: return Value(f.embedFonts());
    case Field::Password: return Value(f.password);
    case Field::CondenseWhite: return Value(f.condenseWhite);
    case Field::Scroll: return Value(1);
    case Field::MaxScroll: return Value(std::max(1, int(f.layout().lines.size()) - visibleLines(f) + 1));
    case Field::BottomScroll: return Value(std::min(int(f.layout().lines.size()), visibleLines(f)));
    case Field::HScroll: return Value(0);
    case Field::MaxHScroll: return Value(0);
    case Field::Restrict: return f.restrict ? Value(*f.restrict) : Value::null();
    case Field::TabIndex: return f.tabIndex ? Value(*f.tabIndex) : Value();
    case Field::MouseWheelEnabled: return Value(f.mouseWheelEnabled);
    case Field::AntiAliasType: return Value(f.antiAliasType);
    case Field::GridFitType: return Value(f.gridFitType);
    case Field::Sharpness: return Value(f.sharpness);
    case Field::Thickness: return Value(f.thickness);
    }
    return Value();
}

void set(script::VM& vm, ScriptBridge& bridge, EditText& f, Field which, const Value& v) {
    switch (which) {
    case Field::Text:
        f.setText(vm.toString(v));
        storeBoundVariable(bridge, f);
        break;
    case Field::HtmlText:
        if (f.html) f.setHtmlText(vm.toString(v));
        else f.setText(vm.toString(v));
        storeBoundVariable(bridge, f);
        break;
    case Field::Html: f.html = vm.toBoolean(v); break;
    case Field::TextColor: {
        const Rgba color = rgbOf(vm, v);
        f.newTextFormat().color = color;
        f.changeFormat(0, f.styledText().size(), [&](stage::TextFormat& format) { format.color = color; });
        break;
    }
    case Field::AutoSize: {
        EditText::AutoSize mode = EditText::AutoSize::None;
        if (v.isBoolean()) {
            mode = v.boolean() ? EditText::AutoSize::Left : EditText::AutoSize::None;
        } else {
            std::string name = vm.toString(v);
            for (char& ch : name) ch = char(std::tolower(static_cast<unsigned char>(ch)));
            if (name == "left") mode = EditText::AutoSize::Left;
            else if (name == "center") mode = EditText::AutoSize::Center;
            else if (name == "right") mode = EditText::AutoSize::Right;
        }
        f.setAutoSize(mode);
        break;
    }
    case Field::WordWrap: f.setWordWrap(vm.toBoolean(v)); break;
    case Field::Multiline: f.multiline = vm.toBoolean(v); break;
    case Field::Border: f.border = vm.toBoolean(v); break;
    case Field::BorderColor: f.borderColor = rgbOf(vm, v); break;
    case Field::Background: f.background = vm.toBoolean(v); break;
    case Field::BackgroundColor: f.backgroundColor = rgbOf(vm, v); break;
    case Field::Variable: {
        f.variable = v.isNullish() ? std::string() : vm.toString(v);
        syncBoundField(bridge, f);
        break;
    }
    case Field::MaxChars: {
        const double n = vm.toNumber(v);
        f.maxChars = std::isfinite(n) && n > 0 ? int(std::min(n, 1e9)) : 0;
        break;
    }
    case Field::Selectable: f.selectable = vm.toBoolean(v); break;
    case Field::Type: {
        std::string type = vm.toString(v);
        for (char& ch : type) ch = char(std::tolower(static_cast<unsigned char>(ch)));
        if (type == "input") f.editable = true;
        else if (type == "dynamic") f.editable = false;
        break;
    }
    case Field::EmbedFonts: f.setEmbedFonts(vm.toBoolean(v)); break;
    case Field::Password: f.password = vm.toBoolean(v); break;
    case Field::CondenseWhite: f.condenseWhite = vm.toBoolean(v); break;
    case Field::Restrict:
        // An empty pattern restricts nothing, like none.
        if (v.isNullish() || vm.toString(v).empty()) f.restrict.reset();
        else f.restrict = vm.toString(v);
        break;
    case Field::TabIndex:
        // Text fields keep the index as an unsigned 32-bit number.
        if (v.isUndefined()) f.tabIndex.reset();
        else f.tabIndex = double(uint32_t(vm.toInt32(v)));
        break;
    case Field::MouseWheelEnabled: f.mouseWheelEnabled = vm.toBoolean(v); break;
    case Field::AntiAliasType: {
        const std::string type = vm.toString(v);
        if (type == "normal" || type == "advanced") f.antiAliasType = type;
        break;
    }
    case Field::GridFitType: {
        const std::string type = vm.toString(v);
        if (type == "none" || type == "pixel" || type == "subpixel") f.gridFitType = type;
        break;
    }
    case Field::Sharpness: f.sharpness = vm.toNumber(v); break;
    case Field::Thickness: f.thickness = vm.toNumber(v); break;
    default: return;   // read-only
    }
    f.lookChanged();
}

template <Field F>
Value getter(CallContext& c) {
    EditText* field = editTextOf(c.vm, c.thisObject);
    if (!field) return Value();
    // A bound field reads as its variable is now.
    if (F == Field::Text || F == Field::HtmlText) syncBoundField(static_cast<ScriptBridge&>(c.vm.host()), *field);
    return get(c.vm, *field, F);
}

template <Field F>
Value setter(CallContext& c) {
    if (EditText* field = editTextOf(c.vm, c.thisObject))
        set(c.vm, static_cast<ScriptBridge&>(c.vm.host()), *field, F, c.arg(0));
    return Value();
}

// Values that are script objects (styleSheet, filters): the field's own
// script object holds them, hidden from for..in. Styles are kept for
// scripts; filters are drawn too.
constexpr const char* kStyleSheetSlot = "$styleSheet";
constexpr const char* kFiltersSlot = "$filters";

template <const char* const* Slot>
Value heldGetter(CallContext& c) {
    if (!editTextOf(c.vm, c.thisObject)) return Value();
    const script::Property* held = c.thisObject->findOwn(*Slot);
    if (held) return held->value;
    // A field without filters answers an empty list.
    return *Slot == kFiltersSlot ? Value(static_cast<script::Object*>(c.vm.newArray())) : Value();
}

template <const char* const* Slot>
Value heldSetter(CallContext& c) {
    stage::EditText* field = editTextOf(c.vm, c.thisObject);
    if (!field) return Value();
    c.thisObject->put(*Slot, c.arg(0), script::DontEnum);
    if (*Slot == kFiltersSlot) drawFilters(c.vm, *field, c.arg(0));
    return Value();
}

constexpr const char* const* kStyleSheet = &kStyleSheetSlot;
constexpr const char* const* kFilters = &kFiltersSlot;

struct Accessor {
    const char* name;
    script::NativeFunction get, set;   // set null: read-only
    uint16_t flags;
};

// Properties that movies before SWF 8 do not see.
constexpr uint16_t OnlySwf8 = script::OnlySwf8Up;

template <Field F>
constexpr Accessor readWrite(const char* name, uint16_t flags = 0) { return {name, getter<F>, setter<F>, flags}; }
template <Field F>
constexpr Accessor readOnly(const char* name) { return {name, getter<F>, nullptr, 0}; }

} // namespace

void installTextFieldProperties(script::VM& vm, script::Object* prototype) {
    // For..in lists them newest first: styleSheet ... gridFitType.
    const Accessor accessors[] = {
        readWrite<Field::GridFitType>("gridFitType", OnlySwf8), readWrite<Field::AntiAliasType>("antiAliasType", OnlySwf8),
        readWrite<Field::Thickness>("thickness", OnlySwf8), readWrite<Field::Sharpness>("sharpness", OnlySwf8),
        {"filters", heldGetter<kFilters>, heldSetter<kFilters>, OnlySwf8},
        readWrite<Field::Scroll>("scroll"), readOnly<Field::MaxScroll>("maxscroll"),
        readWrite<Field::BorderColor>("borderColor"), readWrite<Field::BackgroundColor>("backgroundColor"),
        readWrite<Field::TextColor>("textColor"), readWrite<Field::TabIndex>("tabIndex"),
        readWrite<Field::AutoSize>("autoSize"), readWrite<Field::Text>("text"), readWrite<Field::Type>("type"),
        readWrite<Field::HtmlText>("htmlText"), readWrite<Field::Variable>("variable"),
        readWrite<Field::HScroll>("hscroll"), readOnly<Field::MaxHScroll>("maxhscroll"),
        readWrite<Field::MaxChars>("maxChars"), readWrite<Field::EmbedFonts>("embedFonts"),
        readWrite<Field::Html>("html"), readWrite<Field::Border>("border"),
        readWrite<Field::Background>("background"), readWrite<Field::WordWrap>("wordWrap"),
        readWrite<Field::Password>("password"), readWrite<Field::Multiline>("multiline"),
        readWrite<Field::Selectable>("selectable"), readOnly<Field::Length>("length"),
        readOnly<Field::BottomScroll>("bottomScroll"), readOnly<Field::TextWidth>("textWidth"),
        readOnly<Field::TextHeight>("textHeight"), readWrite<Field::Restrict>("restrict"),
        readWrite<Field::CondenseWhite>("condenseWhite"), readWrite<Field::MouseWheelEnabled>("mouseWheelEnabled"),
        {"styleSheet", heldGetter<kStyleSheet>, heldSetter<kStyleSheet>, 0},
    };
    for (const Accessor& a : accessors) {
        script::Property& p = prototype->put(a.name, Value(), script::DontDelete | a.flags);
        p.accessor = true;
        p.getter = vm.newNative(a.get);
        p.setter = a.set ? vm.newNative(a.set) : nullptr;
    }
}

} // namespace tesmar::bridge
