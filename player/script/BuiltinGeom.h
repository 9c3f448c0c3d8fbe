#pragma once
// Helpers shared by the flash.* package classes: the package objects under
// _global.flash, construction of geometry objects by class name, and numeric
// reads of their fields as the scripts of the era saw them.

#include "player/script/VM.h"

#include <string>
#include <vector>

namespace tesmar::script {

void installPoint(VM& vm);
void installRectangle(VM& vm);
void installMatrix(VM& vm);
void installColorTransform(VM& vm);

// _global.flash.<name> (geom, display, filters...), made on first use.
Object* flashPackage(VM& vm, const char* name);
// Adds a class constructor with its prototype to a flash package.
FunctionObject* addFlashClass(VM& vm, const char* package, const char* name, NativeFunction constructor,
                              Object* prototype = nullptr);
// new flash.geom.<name>(args...), as the movie currently defines that class.
Value newGeom(VM& vm, const char* name, const std::vector<Value>& args);
// A property of a value read as a number (undefined members give NaN).
double numberOf(VM& vm, const Value& object, const char* name);
// A native getter/setter pair on a prototype.
void addAccessor(VM& vm, Object* on, const char* name, NativeFunction getter, NativeFunction setter);

// Native constructors whose instances carry C++ state make their own
// object and give it what `new` put on the plain one (__proto__, __constructor__).
template <class T, class... Args>
T* adoptInstance(CallContext& c, Args&&... args)
{
    T* made = c.vm.heap().make<T>(std::forward<Args>(args)...);
    if (c.thisObject)
        for (const Property& p : c.thisObject->properties()) made->put(p.name, p.value, p.flags);
    return made;
}

// A flash.geom.ColorTransform: multipliers and offsets of red, green, blue
// and alpha, kept as numbers by the class's own accessors.
class ColorTransformObject : public Object {
public:
    explicit ColorTransformObject(Heap& heap) : Object(heap) {}
    double multiplier[4] = {1, 1, 1, 1};   // red, green, blue, alpha
    double offset[4] = {0, 0, 0, 0};
};

// new flash.geom.ColorTransform with the given values; null when the movie
// replaced the class with something that makes no colour transform.
ColorTransformObject* newColorTransform(VM& vm, const double multiplier[4], const double offset[4]);

// Comparison as Less2 gives it: undefined when either side is NaN.
Value compareLess(double a, double b);

} // namespace tesmar::script
