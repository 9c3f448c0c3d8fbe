#include "player/bridge/TextSnapshot.h"
#include <cmath>
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/stage/EditTextFormat.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

// A snapshot keeps its clip; the text is read from the clip at each call.
class TextSnapshotObject : public script::Object {
public:
    explicit TextSnapshotObject(script::Heap& heap) : script::Object(heap) {}
    Value clip;
    std::vector<bool> selected;
    double selectColor = 0xFFFF00;   // kept for scripts; selections are not drawn
    void trace(script::Tracer& tracer) override {
        script::Object::trace(tracer);
        tracer.mark(clip);
    }
};

struct SnapshotChar {
    char32_t c = 0;
    bool startsLine = false;   // first on a line other than the first
    double x = 0, y = 0;       // glyph origin in the clip's space, twips
    std::string font;
    Rgba color;
    double height = 0;         // twips
};

// The characters of the static texts placed in clip, by depth.
std::vector<SnapshotChar> snapshotText(stage::MovieClip& clip) {
    std::vector<SnapshotChar> out;
    for (const auto& [depth, child] : clip.children()) {
        if (child->kind() != stage::DisplayObject::Kind::Text) continue;
        const swf::Movie& movie = child->loadedMovie().movie();
        const auto* text = movie.get<swf::TextDef>(child->characterId());
        if (!text) continue;
        const Matrix place = child->matrix() * text->matrix;
        bool firstOfObject = true;
        double lineY = 0;
        for (const swf::TextRun& run : text->runs) {
            const auto* font = movie.get<swf::FontDef>(run.fontId);
            for (const swf::TextGlyph& glyph : run.glyphs) {
                SnapshotChar sc;
                sc.c = font && glyph.index < font->codes.size() ? font->codes[glyph.index] : U'?';
                sc.startsLine = !out.empty() && (firstOfObject || glyph.y != lineY);
                const Point at = place.apply({glyph.x, glyph.y});
                sc.x = at.x;
                sc.y = at.y;
                sc.font = font ? font->name : std::string();
                while (!sc.font.empty() && sc.font.back() == '\0') sc.font.pop_back();
                sc.color = run.color;
                sc.height = run.height;
                lineY = glyph.y;
                firstOfObject = false;
                out.push_back(sc);
            }
        }
    }
    return out;
}

TextSnapshotObject* snapshotOf(CallContext& c) { return dynamic_cast<TextSnapshotObject*>(c.thisObject); }

stage::MovieClip* clipOf(script::VM& vm, const Value& v) {
    if (!v.isObject() || v.object()->kind() != script::ObjectKind::Clip) return nullptr;
    auto* clip = dynamic_cast<StageClip*>(vm.liveClip(static_cast<script::ClipObject*>(v.object())));
    return clip ? clip->clip() : nullptr;
}

std::vector<SnapshotChar> textOf(CallContext& c) {
    TextSnapshotObject* self = snapshotOf(c);
    stage::MovieClip* clip = self ? clipOf(c.vm, self->clip) : nullptr;
    return clip ? snapshotText(*clip) : std::vector<SnapshotChar>{};
}

double wholeNumber(script::VM& vm, const Value& v) {
    const double n = std::trunc(vm.toNumber(v));
    return std::isfinite(n) ? n : 0;
}

// [begin, end) from two script indexes: at least one character, inside the text.
void clampRange(double from, double to, size_t count, size_t& begin, size_t& end) {
    const double last = double(count) - 1;
    begin = size_t(std::clamp(from, 0.0, std::max(0.0, last)));
    end = size_t(std::clamp(to, double(begin + 1), double(count)));
    if (count == 0) begin = end = 0;
}

std::string joined(const std::vector<SnapshotChar>& chars, size_t begin, size_t end, bool lineEndings,
                   const std::vector<bool>* only = nullptr) {
    std::u32string out;
    for (size_t i = begin; i < end && i < chars.size(); ++i) {
        if (only && (i >= only->size() || !(*only)[i])) continue;
        if (lineEndings && chars[i].startsLine && !out.empty()) out.push_back(U'\n');
        out.push_back(chars[i].c);
    }
    return stage::encodeUtf8(out);
}

Value getCount(CallContext& c) {
    if (c.count() != 0) return Value();
    return Value(double(textOf(c).size()));
}

// getText(start, end, includeLineEndings)
Value getText(CallContext& c) {
    if (c.count() < 2 || c.count() > 3) return Value();
    const auto chars = textOf(c);
    size_t begin = 0, end = 0;
    clampRange(wholeNumber(c.vm, c.arg(0)), wholeNumber(c.vm, c.arg(1)), chars.size(), begin, end);
    return Value(joined(chars, begin, end, c.count() == 3 && c.vm.toBoolean(c.arg(2))));
}

std::u32string folded(std::u32string s) {
    for (char32_t& ch : s)
        if (ch < 0x80) ch = char32_t(std::tolower(int(ch)));
    return s;
}

// findText(start, text, caseSensitive): the index of the first match at or
// after start, or -1.
Value findText(CallContext& c) {
    if (c.count() != 3) return Value();
    const double start = wholeNumber(c.vm, c.arg(0));
    const std::string needleText = c.vm.toString(c.arg(1));
    const bool caseSensitive = c.vm.toBoolean(c.arg(2));
    std::u32string haystack;
    for (const SnapshotChar& ch : textOf(c)) haystack.push_back(ch.c);
    std::u32string needle = stage::decodeText(needleText);
    if (start < 0 || needle.empty() || start >= double(haystack.size())) return Value(-1);
    if (!caseSensitive) {
        haystack = folded(haystack);
        needle = folded(needle);
    }
    const size_t at = haystack.find(needle, size_t(start));
    return Value(at == std::u32string::npos ? -1.0 : double(at));
}

// setSelected(start, end, select)
Value setSelected(CallContext& c) {
    TextSnapshotObject* self = snapshotOf(c);
    if (!self || c.count() != 3) return Value();
    const auto chars = textOf(c);
    size_t begin = 0, end = 0;
    clampRange(wholeNumber(c.vm, c.arg(0)), wholeNumber(c.vm, c.arg(1)), chars.size(), begin, end);
    self->selected.resize(chars.size());
    for (size_t i = begin; i < end; ++i) self->selected[i] = c.vm.toBoolean(c.arg(2));
    return Value();
}

// getSelected(start, end): whether any character of the range is selected.
Value getSelected(CallContext& c) {
    TextSnapshotObject* self = snapshotOf(c);
    if (!self || c.count() != 2) return Value();
    const auto chars = textOf(c);
    size_t begin = 0, end = 0;
    clampRange(wholeNumber(c.vm, c.arg(0)), wholeNumber(c.vm, c.arg(1)), chars.size(), begin, end);
    for (size_t i = begin; i < end && i < self->selected.size(); ++i)
        if (self->selected[i]) return Value(true);
    return Value(false);
}

Value getSelectedText(CallContext& c) {
    TextSnapshotObject* self = snapshotOf(c);
    if (!self || c.count() > 1) return Value();
    const auto chars = textOf(c);
    return Value(joined(chars, 0, chars.size(), c.vm.toBoolean(c.arg(0)), &self->selected));
}

// hitTestTextNearPos(x, y, closeDistance): the character whose origin is
// nearest the point (pixels in the clip's space), or -1 when none is close.
Value hitTestTextNearPos(CallContext& c) {
    if (c.count() < 2) return Value();
    const double x = c.vm.toNumber(c.arg(0)) * 20, y = c.vm.toNumber(c.arg(1)) * 20;
    const double close = c.count() >= 3 ? c.vm.toNumber(c.arg(2)) * 20 : 0;
    const auto chars = textOf(c);
    double best = INFINITY;
    double index = -1;
    for (size_t i = 0; i < chars.size(); ++i) {
        const double d = std::hypot(chars[i].x - x, chars[i].y - y);
        if (d <= close && d < best) {
            best = d;
            index = double(i);
        }
    }
    return Value(index);
}

Value setSelectColor(CallContext& c) {
    if (TextSnapshotObject* self = snapshotOf(c)) self->selectColor = c.vm.toNumber(c.arg(0));
    return Value();
}

// getTextRunInfo(start, end): per character its place, look and selection.
Value getTextRunInfo(CallContext& c) {
    TextSnapshotObject* self = snapshotOf(c);
    if (!self || c.count() != 2) return Value();
    const auto chars = textOf(c);
    size_t begin = 0, end = 0;
    clampRange(wholeNumber(c.vm, c.arg(0)), wholeNumber(c.vm, c.arg(1)), chars.size(), begin, end);
    script::ArrayObject* out = c.vm.newArray();
    for (size_t i = begin; i < end; ++i) {
        const SnapshotChar& ch = chars[i];
        script::Object* info = c.vm.newObject();
        c.vm.set(info, "indexInRun", Value(double(i)));
        c.vm.set(info, "selected", Value(i < self->selected.size() && self->selected[i]));
        c.vm.set(info, "font", Value(ch.font));
        c.vm.set(info, "color", Value(double((uint32_t(ch.color.r) << 16) | (uint32_t(ch.color.g) << 8) | ch.color.b)));
        c.vm.set(info, "height", Value(ch.height / 20));
        c.vm.set(info, "matrix_tx", Value(ch.x / 20));
        c.vm.set(info, "matrix_ty", Value(ch.y / 20));
        out->push(Value(info));
    }
    return Value(static_cast<script::Object*>(out));
}

Value textSnapshotConstructor(CallContext& c) {
    auto* made = c.vm.heap().make<TextSnapshotObject>();
    if (c.thisObject)
        for (const script::Property& p : c.thisObject->properties())
            if (!p.accessor) made->put(p.name, p.value, p.flags);
    made->clip = c.arg(0);
    return Value(static_cast<script::Object*>(made));
}

// MovieClip.getTextSnapshot(): a new TextSnapshot of this clip, made by
// whatever _global.TextSnapshot is now.
Value getTextSnapshot(CallContext& c) {
    if (!c.thisObject || c.thisObject->kind() != script::ObjectKind::Clip) return Value();
    return c.vm.construct(c.vm.get(c.vm.global(), "TextSnapshot"), {Value(c.thisObject)});
}

} // namespace

void installTextSnapshot(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    script::FunctionObject* constructor = vm.newNative(textSnapshotConstructor);
    script::Object* prototype = vm.attachPrototype(constructor);
    // Listed by for..in newest first, as the player lists them.
    const std::pair<const char*, script::NativeFunction> methods[] = {
        {"getCount", getCount}, {"setSelected", setSelected}, {"getSelected", getSelected},
        {"getText", getText}, {"getSelectedText", getSelectedText}, {"hitTestTextNearPos", hitTestTextNearPos},
        {"findText", findText}, {"setSelectColor", setSelectColor}, {"getTextRunInfo", getTextRunInfo},
    };
    for (const auto& [name, fn] : methods) vm.defineNative(prototype, name, fn, script::OnlySwf6Up);
    vm.global()->put("TextSnapshot", Value(static_cast<script::Object*>(constructor)), script::DontEnum);
    vm.defineNative(vm.protos().movieClip, "getTextSnapshot", getTextSnapshot);
}

} // namespace tesmar::bridge
