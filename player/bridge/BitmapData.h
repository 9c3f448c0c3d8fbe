#pragma once
// flash.display.BitmapData as scripts see it: a script object owning its
// pixels until dispose() drops them.
#include <memory>
#include "player/bridge/BitmapPixels.h"
#include "player/script/Function.h"

namespace tesmar::bridge {

class BitmapDataObject : public script::Object {
public:
    BitmapDataObject(script::Heap& heap, std::unique_ptr<BitmapPixels> pixels)
        : Object(heap), pixels(std::move(pixels)) {}
    // Null once disposed.
    std::unique_ptr<BitmapPixels> pixels;
};

// The bitmap a script value holds, if it holds a live one.
BitmapPixels* bitmapOf(const script::Value& value);
// A new flash.display.BitmapData object holding `pixels`.
script::Value newBitmapData(script::VM& vm, std::unique_ptr<BitmapPixels> pixels);

// Reads a rectangle argument (x, y, width, height as whole numbers); false
// when it is no object or lacks one of them.
bool rectArg(script::VM& vm, const script::Value& value, IntRect& out);

// The source bitmap, source rectangle and destination point that the
// copying methods take as their first three arguments. Gives 0 when usable,
// else the answer: -2 no bitmap, -3 a disposed one, -4 a bad rectangle.
struct CopyArgs {
    BitmapPixels* source = nullptr;
    IntRect area;
    int dx = 0, dy = 0;
};
int copyArgs(script::CallContext& c, CopyArgs& out);
// The live bitmap that `this` is, or null.
BitmapPixels* thisBitmap(script::CallContext& c);

void installBitmapData(script::VM& vm);
// The pixel operations beyond single pixels and fills (BitmapDataOps.cpp).
void installBitmapOps(script::VM& vm, script::Object* prototype);
void installBitmapHitTest(script::VM& vm, script::Object* prototype);
void installBitmapChannels(script::VM& vm, script::Object* prototype);
void installBitmapDraw(script::VM& vm, script::Object* prototype);
void installBitmapDissolve(script::VM& vm, script::Object* prototype);
void installFilterRect(script::VM& vm, script::Object* prototype);

} // namespace tesmar::bridge
