#pragma once
// Functions: native ones written in C++ and script ones defined by
// DefineFunction / DefineFunction2, which keep the scope they were defined in.

#include "player/script/Object.h"

#include <memory>
#include <vector>

namespace tesmar::script {

class VM;
class ClipObject;

struct CallContext {
    VM& vm;
    Value thisValue;
    Object* thisObject;             // thisValue as an object, or null
    const std::vector<Value>& args;
    FunctionObject* callee;
    bool constructing;
    // A native constructor sets this to make `new` give undefined (bad arguments).
    bool refuseInstance = false;

    Value arg(size_t i) const { return i < args.size() ? args[i] : Value(); }
    size_t count() const { return args.size(); }
};

using NativeFunction = Value (*)(CallContext&);

// The bytes of one action block, shared by every function defined in it.
using ActionBytes = std::shared_ptr<const std::vector<uint8_t>>;
using ConstantPool = std::shared_ptr<const std::vector<std::string>>;

struct ScriptFunction {
    ActionBytes bytes;
    size_t begin = 0, end = 0;          // the body
    int swfVersion = 5;
    bool isFunction2 = false;
    uint8_t registerCount = 4;
    uint16_t flags = 0;                  // DefineFunction2 preload/suppress flags
    struct Param { uint8_t reg; std::string name; };
    std::vector<Param> params;
    std::vector<Object*> scope;          // captured scope chain, outermost first
    Object* target = nullptr;            // the clip the function was defined on
    ConstantPool pool;
};

class FunctionObject : public Object {
public:
    FunctionObject(Heap& heap, NativeFunction native, ObjectKind instanceKind = ObjectKind::Plain)
        : Object(heap, ObjectKind::Function), native(native), instanceKind(instanceKind) {}
    FunctionObject(Heap& heap, std::unique_ptr<ScriptFunction> script)
        : Object(heap, ObjectKind::Function), script(std::move(script)) {}

    NativeFunction native = nullptr;
    // What `new` creates before running the constructor.
    ObjectKind instanceKind = ObjectKind::Plain;
    // Native constructors behave differently when called without `new`.
    NativeFunction constructor = nullptr;
    std::unique_ptr<ScriptFunction> script;

    void trace(Tracer& tracer) override;
};

} // namespace tesmar::script
