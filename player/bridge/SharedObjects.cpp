// SharedObject: data a movie keeps for a later visit. getLocal gives the
// one object of a name and path, whose `data` the movie fills; getSize
// tells the size of the file that flush would write (the data as AMF0
// members behind a small header). A screen saver keeps nothing on disk:
// the objects live as long as the movie's scripts, and flush only checks
// that the data can be written.
#include "player/bridge/Amf.h"
#include "player/bridge/ScriptBridge.h"

#include <map>

namespace tesmar::bridge {

namespace {

using script::CallContext;
using script::Object;
using script::Value;

class SharedObject : public Object {
public:
    SharedObject(script::Heap& heap, std::string name) : Object(heap), name(std::move(name)) {}
    std::string name;
};

// getLocal itself: it holds the objects it made, by path and name.
class GetLocalFunction : public script::FunctionObject {
public:
    GetLocalFunction(script::Heap& heap, script::NativeFunction native, Object* prototype)
        : FunctionObject(heap, native), prototype(prototype) {}
    void trace(script::Tracer& tracer) override {
        FunctionObject::trace(tracer);
        tracer.mark(prototype);
        for (const auto& [key, object] : objects) tracer.mark(object);
    }
    Object* prototype;
    std::map<std::string, SharedObject*> objects;
};

// The file flush would write: a signature, the length of what follows, the "TCSO"
// tag, the shared object's name and the AMF version (0).
std::vector<uint8_t> fileOf(CallContext& c, SharedObject& so) {
    script::AmfWriter out = amfWriter(c.vm, bridgeOf(c));
    out.writeArraysWithNames();
    const Value data = c.vm.get(&so, "data");
    out.bytes() = {'T', 'C', 'S', 'O', 0, 4, 0, 0, 0, 0};
    out.name(so.name);
    out.u32(0);
    if (data.isObject()) out.fileMembers(data.object());
    script::AmfWriter file = amfWriter(c.vm, bridgeOf(c));
    file.u16(0x00BF);
    file.u32(uint32_t(out.bytes().size()));
    file.bytes().insert(file.bytes().end(), out.bytes().begin(), out.bytes().end());
    return std::move(file.bytes());
}

// Names may not hold characters that the player keeps out of file names.
bool validName(const std::string& name) {
    return !name.empty() && name.find_first_of("~%&\\;:\"',<>?# ") == std::string::npos;
}

Value getLocal(CallContext& c) {
    auto* store = dynamic_cast<GetLocalFunction*>(c.callee);
    if (!store || c.count() == 0) return Value::null();
    const std::string name = c.vm.toString(c.arg(0));
    if (!validName(name)) return Value::null();
    const std::string path = c.count() > 1 && !c.arg(1).isUndefined() ? c.vm.toString(c.arg(1)) : std::string();
    SharedObject*& so = store->objects[path + "\n" + name];
    if (!so) {
        so = c.vm.heap().make<SharedObject>(name);
        so->setProto(store->prototype);
        so->put("data", Value(c.vm.newObject()), script::DontEnum);
    }
    return Value(static_cast<Object*>(so));
}

SharedObject* self(CallContext& c) { return dynamic_cast<SharedObject*>(c.thisObject); }

// There is no disk to write to: the data stays in memory, which always succeeds.
Value flush(CallContext& c) {
    return self(c) ? Value(true) : Value();
}

Value getSize(CallContext& c) {
    SharedObject* so = self(c);
    return so ? Value(double(fileOf(c, *so).size())) : Value();
}

Value clear(CallContext& c) {
    SharedObject* so = self(c);
    if (!so) return Value();
    so->put("data", Value(c.vm.newObject()), script::DontEnum);
    return Value();
}

Value construct(CallContext&) { return Value(); }

} // namespace

void installSharedObject(ScriptBridge& bridge) {
    script::VM& vm = *bridge.vm();
    script::FunctionObject* cls = vm.newNative(construct);
    Object* prototype = vm.attachPrototype(cls);
    vm.defineNative(prototype, "flush", flush);
    vm.defineNative(prototype, "getSize", getSize);
    vm.defineNative(prototype, "clear", clear);
    auto* get = vm.heap().make<GetLocalFunction>(getLocal, prototype);
    get->setProto(vm.protos().function);
    cls->put("getLocal", Value(static_cast<Object*>(get)), script::DontEnum);
    vm.global()->put("SharedObject", Value(static_cast<Object*>(cls)), script::DontEnum);
}

} // namespace tesmar::bridge
