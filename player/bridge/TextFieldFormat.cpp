// The methods of text fields that read and change the formats of their
// characters (getTextFormat, setTextFormat, get/setNewTextFormat).
#include <cmath>
#include "player/bridge/TextField.h"
#include "player/bridge/TextFormat.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;
using stage::TextFormat;

Value describe(script::VM& vm, const std::vector<TextFormat>& formats) {
    return Value(newTextFormat(vm, TextFormatValues::common(formats)));
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
    const TextFormatValues* format = textFormatValues(c.args.back().object());
    if (!format) return Value();
    size_t begin = 0, end = 0;
    if (!rangeOf(c, c.count() - 1, field->styledText().size(), begin, end)) return Value();
    field->changeFormat(begin, end, [&](TextFormat& f) { format->applyTo(f); });
    return Value();
}

Value getNewTextFormat(CallContext& c) {
    stage::EditText* field = editTextOf(c.vm, c.thisObject);
    return field ? describe(c.vm, {field->newTextFormat()}) : Value();
}

Value setNewTextFormat(CallContext& c) {
    stage::EditText* field = editTextOf(c.vm, c.thisObject);
    const TextFormatValues* format = c.arg(0).isObject() ? textFormatValues(c.arg(0).object()) : nullptr;
    if (field && format) format->applyTo(field->newTextFormat());
    return Value();
}

} // namespace

void installTextFormat(script::VM& vm, script::Object* prototype) {
    installTextFormatClass(vm);
    vm.defineNative(prototype, "getTextFormat", getTextFormat);
    vm.defineNative(prototype, "setTextFormat", setTextFormat);
    vm.defineNative(prototype, "getNewTextFormat", getNewTextFormat);
    vm.defineNative(prototype, "setNewTextFormat", setNewTextFormat);
}

} // namespace tesmar::bridge
