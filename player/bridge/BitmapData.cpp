// flash.display.BitmapData: construction within the size limits, the
// read-only dimensions, single pixels, fillRect, clone and dispose. Methods
// answer -1 when given too few arguments or called on a disposed bitmap, and
// 0 when they have nothing else to say.

#include "player/bridge/BitmapData.h"

#include "player/bridge/BitmapNoise.h"
#include "player/bridge/GeomClasses.h"
#include "player/script/BuiltinGeom.h"
#include "player/stage/DisplayObject.h"

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Value;

BitmapDataObject* self(CallContext& c)
{
    return dynamic_cast<BitmapDataObject*>(c.thisObject);
}

BitmapPixels* pixelsOf(CallContext& c)
{
    BitmapDataObject* b = self(c);
    return b ? b->pixels.get() : nullptr;
}

Value construct(CallContext& c)
{
    double width = c.vm.toInt32(c.arg(0)), height = c.vm.toInt32(c.arg(1));
    if (!BitmapPixels::sizeAllowed(c.vm.swfVersion(), width, height)) {
        c.refuseInstance = true;
        return Value();
    }
    bool transparent = c.count() < 3 || c.vm.toBoolean(c.arg(2));
    uint32_t fill = c.count() < 4 ? 0xFFFFFFFFu : uint32_t(c.vm.toInt32(c.arg(3)));
    auto pixels = std::make_unique<BitmapPixels>(int(width), int(height), transparent, fill);
    return Value(static_cast<script::Object*>(script::adoptInstance<BitmapDataObject>(c, std::move(pixels))));
}

Value getWidth(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    return p ? Value(p->width()) : Value(-1);
}

Value getHeight(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    return p ? Value(p->height()) : Value(-1);
}

Value getTransparent(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    return p ? Value(p->transparent()) : Value(-1);
}

Value getRectangle(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    if (!p) return Value(-1);
    return script::newGeom(c.vm, "Rectangle", {Value(0), Value(0), Value(p->width()), Value(p->height())});
}

Value getPixel(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    if (!p || c.count() < 2) return Value(-1);
    int x = c.vm.toInt32(c.arg(0)), y = c.vm.toInt32(c.arg(1));
    if (!p->contains(x, y)) return Value(0);
    return Value(double(p->straight(x, y) & 0xFFFFFF));
}

Value getPixel32(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    if (!p || c.count() < 2) return Value(-1);
    int x = c.vm.toInt32(c.arg(0)), y = c.vm.toInt32(c.arg(1));
    if (!p->contains(x, y)) return Value(0);
    return Value(double(int32_t(p->straight(x, y))));
}

Value setPixel(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    if (!p || c.count() < 3) return Value(-1);
    int x = c.vm.toInt32(c.arg(0)), y = c.vm.toInt32(c.arg(1));
    uint32_t rgb = uint32_t(c.vm.toInt32(c.arg(2))) & 0xFFFFFF;
    if (p->contains(x, y)) p->setStraight(x, y, (p->straight(x, y) & 0xFF000000u) | rgb);
    return Value(0);
}

Value setPixel32(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    if (!p || c.count() < 3) return Value(-1);
    int x = c.vm.toInt32(c.arg(0)), y = c.vm.toInt32(c.arg(1));
    if (p->contains(x, y)) p->setStraight(x, y, uint32_t(c.vm.toInt32(c.arg(2))));
    return Value(0);
}

Value fillRect(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    if (!p || c.count() < 2) return Value(-1);
    IntRect area;
    if (!rectArg(c.vm, c.arg(0), area)) return Value(-1);
    // A rectangle with a negative size covers the pixels before its corner.
    if (area.width < 0) {
        area.x += area.width;
        area.width = -area.width;
    }
    if (area.height < 0) {
        area.y += area.height;
        area.height = -area.height;
    }
    p->fill(area, uint32_t(c.vm.toInt32(c.arg(1))));
    return Value(0);
}

Value clone(CallContext& c)
{
    BitmapPixels* p = pixelsOf(c);
    if (!p) return Value(-1);
    return newBitmapData(c.vm, std::make_unique<BitmapPixels>(*p));
}

Value dispose(CallContext& c)
{
    BitmapDataObject* b = self(c);
    if (!b || !b->pixels) return Value(-1);
    b->pixels->release();
    b->pixels.reset();
    return Value(0);
}

// BitmapData.loadBitmap(name): a copy of a bitmap the movie exports.
Value loadBitmap(CallContext& c)
{
    stage::DisplayObject* root = displayObjectOf(c.vm, Value(static_cast<script::Object*>(c.vm.host().level(0))));
    if (!root || c.count() < 1) return Value();
    const stage::LoadedMovie& movie = root->loadedMovie();
    const std::string name = c.vm.toString(c.arg(0));
    for (const auto& [exported, id] : movie.movie().exports) {
        if (exported != name) continue;
        const Image* image = movie.bitmap(id);
        if (!image || !BitmapPixels::sizeAllowed(c.vm.swfVersion(), image->width, image->height)) return Value();
        auto pixels = std::make_unique<BitmapPixels>(image->width, image->height, true, 0);
        for (int y = 0; y < image->height; ++y)
            for (int x = 0; x < image->width; ++x) pixels->set(x, y, image->row(y)[x]);
        return newBitmapData(c.vm, std::move(pixels));
    }
    return Value();
}

} // namespace

BitmapPixels* thisBitmap(CallContext& c)
{
    return pixelsOf(c);
}

int copyArgs(CallContext& c, CopyArgs& out)
{
    auto* source = c.arg(0).isObject() ? dynamic_cast<BitmapDataObject*>(c.arg(0).object()) : nullptr;
    if (!source) return -2;
    if (!source->pixels) return -3;
    out.source = source->pixels.get();
    if (!rectArg(c.vm, c.arg(1), out.area)) return -4;
    out.dx = c.vm.toInt32(c.vm.getOf(c.arg(2), "x"));
    out.dy = c.vm.toInt32(c.vm.getOf(c.arg(2), "y"));
    return 0;
}

BitmapPixels* bitmapOf(const Value& value)
{
    auto* b = value.isObject() ? dynamic_cast<BitmapDataObject*>(value.object()) : nullptr;
    return b ? b->pixels.get() : nullptr;
}

Value newBitmapData(script::VM& vm, std::unique_ptr<BitmapPixels> pixels)
{
    Value cls = vm.get(script::flashPackage(vm, "display"), "BitmapData");
    Value made = vm.construct(cls, {Value(1), Value(1)});
    auto* b = made.isObject() ? dynamic_cast<BitmapDataObject*>(made.object()) : nullptr;
    if (!b) return Value();
    b->pixels = std::move(pixels);
    return made;
}

bool rectArg(script::VM& vm, const Value& value, IntRect& out)
{
    if (!value.isObject()) return false;
    int* fields[] = {&out.x, &out.y, &out.width, &out.height};
    const char* names[] = {"x", "y", "width", "height"};
    for (int i = 0; i < 4; ++i) {
        Value v = vm.get(value.object(), names[i]);
        if (v.isUndefined()) return false;
        *fields[i] = vm.toInt32(v);
    }
    return true;
}

void installBitmapData(script::VM& vm)
{
    script::FunctionObject* cls = script::addFlashClass(vm, "display", "BitmapData", construct);
    script::Object* proto = vm.get(cls, "prototype").object();
    const struct { const char* name; script::NativeFunction getter; } fields[] = {
        {"width", getWidth}, {"height", getHeight}, {"transparent", getTransparent}, {"rectangle", getRectangle}};
    for (const auto& f : fields) {
        script::addAccessor(vm, proto, f.name, f.getter, nullptr);
        proto->findOwn(f.name)->flags = 0;
    }
    vm.defineNative(proto, "getPixel", getPixel);
    vm.defineNative(proto, "getPixel32", getPixel32);
    vm.defineNative(proto, "setPixel", setPixel);
    vm.defineNative(proto, "setPixel32", setPixel32);
    vm.defineNative(proto, "fillRect", fillRect);
    vm.defineNative(proto, "clone", clone);
    vm.defineNative(proto, "dispose", dispose);
    installBitmapOps(vm, proto);
    installBitmapHitTest(vm, proto);
    installBitmapDraw(vm, proto);
    installBitmapNoise(vm, proto);
    vm.defineNative(cls, "loadBitmap", loadBitmap);
    // The channel numbers that copyChannel takes.
    const struct { const char* name; int value; } channels[] = {
        {"RED_CHANNEL", 1}, {"GREEN_CHANNEL", 2}, {"BLUE_CHANNEL", 4}, {"ALPHA_CHANNEL", 8}};
    for (const auto& channel : channels) cls->put(channel.name, Value(channel.value), 0);
}

} // namespace tesmar::bridge
