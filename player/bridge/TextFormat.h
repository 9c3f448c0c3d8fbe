#pragma once
// TextFormat objects of scripts: every attribute may be unset (null), and an
// assignment converts its value the way the player does for the movie's SWF
// version. They describe and change the character formats of text fields.
#include <optional>
#include <string>
#include <vector>
#include "player/script/VM.h"
#include "player/stage/EditTextFormat.h"

namespace tesmar::bridge {

// The attributes of one TextFormat; sizes in pixels, as scripts see them.
struct TextFormatValues {
    std::optional<std::string> font, url, target;
    std::optional<double> size, leftMargin, rightMargin, indent, leading, blockIndent, letterSpacing;
    std::optional<uint32_t> color;
    std::optional<bool> bold, italic, underline, bullet, kerning;
    std::optional<stage::TextAlign> align;
    std::optional<std::vector<double>> tabStops;
    std::string display = "block";

    // The attributes on which all formats agree (the others stay unset).
    static TextFormatValues common(const std::vector<stage::TextFormat>& formats);
    // Sets in format every attribute that is set here.
    void applyTo(stage::TextFormat& format) const;
};

class TextFormatObject : public script::Object {
public:
    explicit TextFormatObject(script::Heap& heap) : script::Object(heap) {}
    TextFormatValues values;
};

// Adds TextFormat (constructor, prototype accessors, getTextExtent).
void installTextFormatClass(script::VM& vm);
// A new TextFormat object holding values.
script::Object* newTextFormat(script::VM& vm, const TextFormatValues& values);
// The values of a TextFormat object, or nullptr for any other object.
const TextFormatValues* textFormatValues(script::Object* object);

// Number conversions of TextFormat attributes: to a 32-bit integer by
// truncation or by rounding halves to even; NaN and numbers out of range
// give the smallest integer.
double formatInteger(double n, bool roundToEven);

// TextFormat.prototype.getTextExtent(text, width): the size that text takes
// in this format, alone or wrapped to width.
script::Value getTextExtent(script::CallContext& c);

} // namespace tesmar::bridge
