#include "player/bridge/DrawingMethods.h"
#include <algorithm>
#include <cmath>
#include "player/bridge/StageClip.h"
#include "player/script/VM.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

// The gradient square spans 32768 twips on each axis.
constexpr double kGradientSquare = 32768;

stage::MovieClip* thisClip(CallContext& c) {
    if (!c.thisObject || c.thisObject->kind() != script::ObjectKind::Clip) return nullptr;
    auto* clip = dynamic_cast<StageClip*>(c.vm.liveClip(static_cast<script::ClipObject*>(c.thisObject)));
    return clip ? clip->clip() : nullptr;
}

double number(CallContext& c, const Value& v, double fallback = 0) {
    const double n = c.vm.toNumber(v);
    return std::isfinite(n) ? n : fallback;
}

// A pixel coordinate argument in whole twips.
double twips(CallContext& c, size_t i) { return std::round(std::clamp(number(c, c.arg(i)), -1e7, 1e7) * 20); }

Point pointArg(CallContext& c, size_t i) { return {twips(c, i), twips(c, i + 1)}; }

Rgba colorArg(CallContext& c, const Value& rgb, const Value& alpha) {
    const uint32_t n = uint32_t(c.vm.toInt32(rgb));
    const double a = alpha.isUndefined() ? 100 : std::clamp(number(c, alpha, 100), 0.0, 100.0);
    return Rgba{uint8_t(n >> 16), uint8_t(n >> 8), uint8_t(n), uint8_t(std::lround(a * 255 / 100))};
}

template <class Change>
Value drawOn(CallContext& c, Change change) {
    if (stage::MovieClip* clip = thisClip(c)) {
        change(clip->drawing());
        clip->context().changed();
    }
    return Value();
}

Value clear(CallContext& c) {
    return drawOn(c, [](stage::Drawing& d) { d.clear(); });
}

Value lineStyle(CallContext& c) {
    std::optional<LineStyle> style;
    if (c.count() > 0 && !c.arg(0).isNullish()) {
        LineStyle line;
        line.width = std::round(std::clamp(number(c, c.arg(0)), 0.0, 255.0) * 20);
        line.color = colorArg(c, c.arg(1), c.arg(2));
        line.pixelHinting = c.vm.toBoolean(c.arg(3));
        const std::string scale = c.count() > 4 ? c.vm.toString(c.arg(4)) : "normal";
        line.noHScale = scale == "none" || scale == "horizontal";
        line.noVScale = scale == "none" || scale == "vertical";
        const std::string caps = c.count() > 5 ? c.vm.toString(c.arg(5)) : "round";
        line.startCap = line.endCap = caps == "none" ? LineStyle::Cap::None
                                    : caps == "square" ? LineStyle::Cap::Square : LineStyle::Cap::Round;
        const std::string joint = c.count() > 6 ? c.vm.toString(c.arg(6)) : "round";
        line.join = joint == "miter" ? LineStyle::Join::Miter
                  : joint == "bevel" ? LineStyle::Join::Bevel : LineStyle::Join::Round;
        line.miterLimit = std::clamp(number(c, c.arg(7), 3), 1.0, 255.0);
        style = line;
    }
    return drawOn(c, [&](stage::Drawing& d) { d.lineStyle(style); });
}

Value beginFill(CallContext& c) {
    // Without a colour there is no fill: the open one just ends.
    if (c.count() == 0 || c.arg(0).isNullish()) return drawOn(c, [](stage::Drawing& d) { d.endFill(); });
    FillStyle fill;
    fill.color = colorArg(c, c.arg(0), c.arg(1));
    return drawOn(c, [&](stage::Drawing& d) { d.beginFill(fill); });
}

// The items of an array-like object, at most `limit`.
std::vector<Value> items(CallContext& c, const Value& v, size_t limit) {
    std::vector<Value> out;
    if (!v.isObject()) return out;
    const double length = number(c, c.vm.get(v.object(), "length"));
    for (size_t i = 0; i < size_t(std::clamp(length, 0.0, double(limit))); ++i)
        out.push_back(c.vm.get(v.object(), std::to_string(i)));
    return out;
}

// The gradient matrix of beginGradientFill: a "box" description, a
// flash.geom.Matrix {a, b, c, d, tx, ty}, or the 3 x 3 {a, b, d, e, g, h}
// (pixels over a gradient square one pixel wide).
Matrix gradientMatrix(CallContext& c, const Value& v) {
    if (!v.isObject()) return Matrix{};
    script::Object* m = v.object();
    auto field = [&](const char* name, double fallback = 0) { return number(c, c.vm.get(m, name), fallback); };
    if (c.vm.toString(c.vm.get(m, "matrixType")) == "box") {
        const double x = field("x"), y = field("y"), w = field("w"), h = field("h"), r = field("r");
        const double sx = w * 20 / kGradientSquare, sy = h * 20 / kGradientSquare;
        const double cosR = std::cos(r), sinR = std::sin(r);
        return Matrix{sx * cosR, sx * sinR, -sy * sinR, sy * cosR, (x + w / 2) * 20, (y + h / 2) * 20};
    }
    // A flash.geom.Matrix maps the gradient square in its own size.
    if (!c.vm.get(m, "tx").isUndefined())
        return Matrix{field("a", 1), field("b"), field("c"), field("d", 1), field("tx") * 20, field("ty") * 20};
    const double unit = 20 / kGradientSquare;
    return Matrix{field("a", 1) * unit, field("b") * unit, field("d") * unit, field("e", 1) * unit,
                  field("g") * 20, field("h") * 20};
}

// The gradient that beginGradientFill and lineGradientStyle describe with
// their arguments; none when the type, colours, alphas or ratios are missing.
std::optional<FillStyle> gradientFill(CallContext& c) {
    const std::string type = c.vm.toString(c.arg(0));
    if (type != "linear" && type != "radial") return std::nullopt;
    const std::vector<Value> colors = items(c, c.arg(1), 15), alphas = items(c, c.arg(2), 15),
                             ratios = items(c, c.arg(3), 15);
    const size_t count = std::min({colors.size(), alphas.size(), ratios.size()});
    if (count == 0) return std::nullopt;
    FillStyle fill;
    fill.kind = type == "linear" ? FillStyle::Kind::LinearGradient : FillStyle::Kind::RadialGradient;
    for (size_t i = 0; i < count; ++i)
        fill.gradient.stops.push_back(
            {uint8_t(std::clamp(number(c, ratios[i]), 0.0, 255.0)), colorArg(c, colors[i], alphas[i])});
    fill.matrix = gradientMatrix(c, c.arg(4));
    const std::string spread = c.count() > 5 ? c.vm.toString(c.arg(5)) : "pad";
    fill.gradient.spread = spread == "reflect" ? Gradient::Spread::Reflect
                         : spread == "repeat" ? Gradient::Spread::Repeat : Gradient::Spread::Pad;
    if (c.count() > 6 && c.vm.toString(c.arg(6)) == "linearRGB")
        fill.gradient.interpolation = Gradient::Interpolation::LinearRgb;
    const double focal = std::clamp(number(c, c.arg(7)), -1.0, 1.0);
    if (fill.kind == FillStyle::Kind::RadialGradient && focal != 0) {
        fill.kind = FillStyle::Kind::FocalGradient;
        fill.gradient.focalPoint = focal;
    }
    return fill;
}

Value beginGradientFill(CallContext& c) {
    const std::optional<FillStyle> fill = gradientFill(c);
    if (!fill) return drawOn(c, [](stage::Drawing& d) { d.endFill(); });
    return drawOn(c, [&](stage::Drawing& d) { d.beginFill(*fill); });
}

// Paints the current line style with a gradient from now on.
Value lineGradientStyle(CallContext& c) {
    const std::optional<FillStyle> fill = gradientFill(c);
    if (!fill) return Value();
    return drawOn(c, [&](stage::Drawing& d) { d.lineFill(*fill); });
}

Value endFill(CallContext& c) {
    return drawOn(c, [](stage::Drawing& d) { d.endFill(); });
}

Value moveTo(CallContext& c) {
    const Point to = pointArg(c, 0);
    return drawOn(c, [&](stage::Drawing& d) { d.moveTo(to); });
}

Value lineTo(CallContext& c) {
    const Point to = pointArg(c, 0);
    return drawOn(c, [&](stage::Drawing& d) { d.lineTo(to); });
}

Value curveTo(CallContext& c) {
    const Point control = pointArg(c, 0), to = pointArg(c, 2);
    return drawOn(c, [&](stage::Drawing& d) { d.curveTo(control, to); });
}

} // namespace

void installDrawingMethods(script::VM& vm) {
    struct Method {
        const char* name;
        script::NativeFunction fn;
    };
    const Method methods[] = {
        {"clear", clear}, {"lineStyle", lineStyle}, {"beginFill", beginFill},
        {"beginGradientFill", beginGradientFill}, {"lineGradientStyle", lineGradientStyle}, {"endFill", endFill},
        {"moveTo", moveTo}, {"lineTo", lineTo}, {"curveTo", curveTo},
    };
    for (const Method& m : methods) vm.defineNative(vm.protos().movieClip, m.name, m.fn);
}

} // namespace tesmar::bridge
