#pragma once
// Script objects: named properties in creation order with their flags,
// getter/setter pairs (addProperty), and hooks for objects whose properties
// come from elsewhere (movie clips, arrays). Objects live in a Heap, which
// frees the unreachable ones; cycles (prototype <-> constructor) are normal.

#include "player/script/Value.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tesmar::script {

class Heap;
class VM;
class FunctionObject;

// Property flags, with the bit values that ASSetPropFlags uses.
enum PropertyFlag : uint16_t {
    DontEnum = 1,
    DontDelete = 2,
    ReadOnly = 4,
    // Visibility by the SWF version of the running code.
    OnlySwf6Up = 0x80,
    IgnoreSwf6 = 0x100,
    OnlySwf7Up = 0x400,
    OnlySwf8Up = 0x1000,
    OnlySwf9Up = 0x2000,
    OnlySwf10Up = 0x4000,
};

struct Property {
    std::string name;
    Value value;
    uint16_t flags = 0;
    bool accessor = false;             // added by addProperty
    FunctionObject* getter = nullptr;
    FunctionObject* setter = nullptr;

    bool visibleTo(int swfVersion) const;
};

// A callback set by Object.watch: it sees every assignment of one property
// and decides the value stored.
struct Watcher {
    FunctionObject* callback = nullptr;
    Value userData;
};

enum class ObjectKind : uint8_t {
    Plain, Function, Array, String, Number, Boolean, Date, Clip, Super, Error
};

// Receives every object that an object refers to, for the collector.
class Tracer {
public:
    void mark(Object* o) { if (o) pending_.push_back(o); }
    void mark(const Value& v);

private:
    friend class Heap;
    std::vector<Object*> pending_;
};

class Object {
public:
    Object(Heap& heap, ObjectKind kind = ObjectKind::Plain);
    virtual ~Object() = default;
    Object(const Object&) = delete;
    Object& operator=(const Object&) = delete;

    ObjectKind kind() const { return kind_; }
    Heap& heap() const { return heap_; }

    Property* findOwn(std::string_view name);
    // Creates the property at the newest position or overwrites its value
    // in place (an existing property keeps its place in the order).
    Property& put(std::string_view name, Value value, uint16_t flags = 0);
    // Removes an own property unless it is DontDelete; false when refused or absent.
    bool remove(std::string_view name);
    const std::vector<Property>& properties() const { return properties_; }

    Watcher* findWatcher(std::string_view name);
    void watch(std::string_view name, FunctionObject* callback, Value userData);
    bool unwatch(std::string_view name);

    Object* proto();
    void setProto(Object* proto) { put("__proto__", Value(proto), DontEnum); }

    // The wrapped value of String, Number, Boolean and Date objects.
    Value primitive;

    // Properties computed by the object itself (clip `_x`, array `length`).
    // Return true when the name was handled.
    virtual bool getVirtual(VM&, const std::string&, Value&) { return false; }
    virtual bool setVirtual(VM&, const std::string&, const Value&) { return false; }
    // Virtual names that for..in should list besides the stored properties.
    virtual void virtualNames(std::vector<std::string>&) {}
    virtual void trace(Tracer& tracer);

private:
    void reindexFrom(size_t first);

    Heap& heap_;
    ObjectKind kind_;
    std::vector<Property> properties_;
    std::unordered_map<std::string, uint32_t> index_;
    std::unique_ptr<std::unordered_map<std::string, Watcher>> watchers_;   // by key, made on first watch
    friend class Heap;
    bool marked_ = false;
};

// An array keeps its elements as ordinary properties named by their index
// and tracks `length` itself.
class ArrayObject : public Object {
public:
    explicit ArrayObject(Heap& heap) : Object(heap, ObjectKind::Array) {}
    // The element count the array methods use; a length that wrapped
    // negative counts as none.
    uint32_t length() const { return length_ > 0 ? uint32_t(length_) : 0; }
    void setLength(VM& vm, double length);
    bool getVirtual(VM& vm, const std::string& name, Value& out) override;
    bool setVirtual(VM& vm, const std::string& name, const Value& value) override;
    void push(Value v);

private:
    // Kept as a signed 32-bit number: an element past 2^31 - 1 makes it wrap.
    int32_t length_ = 0;
};

// The element index a property name stands for: an optional minus sign and
// digits, read as a 32-bit integer that wraps ("4294967297" is 1); nothing
// when the name is no such number.
std::optional<int32_t> elementIndex(std::string_view name);

} // namespace tesmar::script
