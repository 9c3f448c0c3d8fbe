// ASnative and ASSetNative: the player's built-in functions reached by
// number (a category and an index within it), as the player's own class
// definitions reach them.

#include "player/script/Builtins.h"
#include "player/script/VM.h"

#include <cmath>
#include <map>
#include <utility>

namespace tesmar::script {

namespace {

// ASnative itself, holding the numbered functions it hands out.
class NativeTable : public FunctionObject {
public:
    NativeTable(Heap& heap, NativeFunction fn) : FunctionObject(heap, fn) {}
    std::map<std::pair<int32_t, int32_t>, Value> functions;
    // What an unused number of the Math category gives.
    Value mathFallback;

    void trace(Tracer& tracer) override
    {
        FunctionObject::trace(tracer);
        for (const auto& [id, fn] : functions) tracer.mark(fn);
        tracer.mark(mathFallback);
    }
};

// ASSetNative, which takes its functions from the table.
class SetNative : public FunctionObject {
public:
    SetNative(Heap& heap, NativeTable* table) : FunctionObject(heap, call), table(table) {}
    NativeTable* table;

    void trace(Tracer& tracer) override
    {
        FunctionObject::trace(tracer);
        tracer.mark(table);
    }

private:
    static Value call(CallContext& c);
};

// The numbers of the global functions and of Math, with where the
// installed function lives.
struct Entry {
    int32_t category, index;
    const char* owner;      // a global object's dotted path, or null for the global object itself
    const char* name;
};

const Entry entries[] = {
    {100, 0, nullptr, "escape"}, {100, 1, nullptr, "unescape"}, {100, 2, nullptr, "parseInt"},
    {100, 3, nullptr, "parseFloat"},
    {200, 0, "Math", "abs"}, {200, 1, "Math", "min"}, {200, 2, "Math", "max"}, {200, 3, "Math", "sin"},
    {200, 4, "Math", "cos"}, {200, 5, "Math", "atan2"}, {200, 6, "Math", "tan"}, {200, 7, "Math", "exp"},
    {200, 8, "Math", "log"}, {200, 9, "Math", "sqrt"}, {200, 10, "Math", "round"},
    {200, 11, "Math", "random"}, {200, 12, "Math", "floor"}, {200, 13, "Math", "ceil"},
    {200, 14, "Math", "atan"}, {200, 15, "Math", "asin"}, {200, 16, "Math", "acos"},
    {200, 17, "Math", "pow"},
    {103, 0, "Date.prototype", "getFullYear"}, {103, 1, "Date.prototype", "getYear"},
    {103, 2, "Date.prototype", "getMonth"}, {103, 3, "Date.prototype", "getDate"},
    {103, 4, "Date.prototype", "getDay"}, {103, 5, "Date.prototype", "getHours"},
    {103, 6, "Date.prototype", "getMinutes"}, {103, 7, "Date.prototype", "getSeconds"},
    {103, 8, "Date.prototype", "getMilliseconds"}, {103, 9, "Date.prototype", "setFullYear"},
    {103, 10, "Date.prototype", "setMonth"}, {103, 11, "Date.prototype", "setDate"},
    {103, 12, "Date.prototype", "setHours"}, {103, 13, "Date.prototype", "setMinutes"},
    {103, 14, "Date.prototype", "setSeconds"}, {103, 15, "Date.prototype", "setMilliseconds"},
    {103, 16, "Date.prototype", "getTime"}, {103, 17, "Date.prototype", "setTime"},
    {103, 18, "Date.prototype", "getTimezoneOffset"}, {103, 19, "Date.prototype", "toString"},
    {103, 20, "Date.prototype", "setYear"},
    {103, 128, "Date.prototype", "getUTCFullYear"}, {103, 129, "Date.prototype", "getUTCYear"},
    {103, 130, "Date.prototype", "getUTCMonth"}, {103, 131, "Date.prototype", "getUTCDate"},
    {103, 132, "Date.prototype", "getUTCDay"}, {103, 133, "Date.prototype", "getUTCHours"},
    {103, 134, "Date.prototype", "getUTCMinutes"}, {103, 135, "Date.prototype", "getUTCSeconds"},
    {103, 136, "Date.prototype", "getUTCMilliseconds"}, {103, 137, "Date.prototype", "setUTCFullYear"},
    {103, 138, "Date.prototype", "setUTCMonth"}, {103, 139, "Date.prototype", "setUTCDate"},
    {103, 140, "Date.prototype", "setUTCHours"}, {103, 141, "Date.prototype", "setUTCMinutes"},
    {103, 142, "Date.prototype", "setUTCSeconds"}, {103, 143, "Date.prototype", "setUTCMilliseconds"},
    {103, 256, nullptr, "Date"}, {103, 257, "Date", "UTC"},
};

// The object at a dotted path from the global object.
Value globalAt(VM& vm, const char* path)
{
    Value at(vm.global());
    if (!path) return at;
    std::string rest = path;
    while (at.isObject() && !rest.empty()) {
        size_t dot = rest.find('.');
        at = vm.get(at.object(), rest.substr(0, dot));
        rest = dot == std::string::npos ? "" : rest.substr(dot + 1);
    }
    return at;
}

// The trace action as a function.
Value traceNative(CallContext& c)
{
    Value v = c.arg(0);
    c.vm.trace(v.isUndefined() ? "undefined" : c.vm.toString(v));
    return Value();
}

// ASnative(2, 0): whether the script function running was called by `new`.
Value calledByNew(CallContext& c)
{
    return Value(c.vm.inConstructor());
}

// The Math category answers every number: one it does not use converts its
// first two arguments, as every Math function does, and gives NaN.
Value unusedMathNative(CallContext& c)
{
    for (size_t i = 0; i < c.count() && i < 2; ++i) c.vm.toNumber(c.arg(i));
    return Value(NAN);
}

Value lookupNative(VM& vm, NativeTable* table, const Value& category, const Value& index)
{
    int32_t group = vm.toInt32(category);
    auto it = table->functions.find({group, vm.toInt32(index)});
    if (it != table->functions.end()) return it->second;
    return group == 200 ? table->mathFallback : Value();
}

Value asNative(CallContext& c)
{
    if (c.count() != 2) return Value();
    return lookupNative(c.vm, static_cast<NativeTable*>(c.callee), c.arg(0), c.arg(1));
}

// A leading version mark on a name: 6 to 9 or 10 show the function only to
// movies of that SWF version and later; a lone 1 is taken off and marks nothing.
uint16_t takeVersionMark(std::string& name)
{
    if (name.empty()) return 0;
    char first = name[0];
    if (first >= '6' && first <= '9') {
        name.erase(0, 1);
        const uint16_t marks[] = {OnlySwf6Up, OnlySwf7Up, OnlySwf8Up, OnlySwf9Up};
        return marks[first - '6'];
    }
    if (first != '1') return 0;
    bool ten = name.size() > 1 && name[1] == '0';
    name.erase(0, ten ? 2 : 1);
    return ten ? OnlySwf10Up : 0;
}

// ASSetNative(object, category, "a,b,c"[, first]): object.a is native
// (category, first), object.b the next one, and so on.
Value SetNative::call(CallContext& c)
{
    NativeTable* table = static_cast<SetNative*>(c.callee)->table;
    if (c.count() < 3 || !c.arg(0).isObject()) return Value();
    Object* target = c.arg(0).object();
    std::string names = c.vm.toString(c.arg(2));
    int32_t index = c.arg(3).isUndefined() ? 0 : c.vm.toInt32(c.arg(3));
    size_t at = 0;
    while (at <= names.size()) {
        size_t comma = names.find(',', at);
        if (comma == std::string::npos) comma = names.size();
        std::string name = names.substr(at, comma - at);
        uint16_t flags = takeVersionMark(name);
        if (!name.empty()) target->put(name, lookupNative(c.vm, table, c.arg(1), Value(double(index))), flags);
        ++index;
        at = comma + 1;
    }
    return Value();
}

} // namespace

void installNatives(VM& vm)
{
    Object* global = vm.global();
    NativeTable* table = vm.heap().make<NativeTable>(asNative);
    table->setProto(vm.protos().function);
    for (const Entry& e : entries) {
        Value owner = globalAt(vm, e.owner);
        if (owner.isObject()) table->functions[{e.category, e.index}] = vm.get(owner.object(), e.name);
    }
    table->functions[{100, 4}] = Value(vm.newNative(traceNative));
    table->functions[{2, 0}] = Value(vm.newNative(calledByNew));
    table->mathFallback = Value(vm.newNative(unusedMathNative));
    global->put("ASnative", Value(static_cast<Object*>(table)), DontEnum);

    SetNative* setNative = vm.heap().make<SetNative>(table);
    setNative->setProto(vm.protos().function);
    global->put("ASSetNative", Value(static_cast<Object*>(setNative)), DontEnum);
}

} // namespace tesmar::script
