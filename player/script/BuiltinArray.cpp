// Array: construction, the mutating methods, join, slice/splice/concat, and
// sort/sortOn with their option flags.

#include "player/script/Builtins.h"
#include "player/script/Convert.h"
#include "player/script/Strings.h"
#include "player/script/VM.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace tesmar::script {

namespace {

enum SortFlag { CaseInsensitive = 1, Descending = 2, UniqueSort = 4, ReturnIndexedArray = 8, Numeric = 16 };

// The methods that copy an array look at no more elements than this, so a
// huge `length` costs no huge allocation.
const double maxLength = 1 << 20;

size_t lengthOf(VM& vm, Object* o)
{
    // A real array counts its own elements, whatever a getter added for
    // `length` answers.
    if (o->kind() == ObjectKind::Array)
        return size_t(std::min(double(static_cast<ArrayObject*>(o)->length()), maxLength));
    double n = vm.toNumber(vm.get(o, "length"));
    if (!(n > 0)) return 0;
    return size_t(std::min(n, maxLength));
}

// An element as the array methods see it: the value stored on the object
// itself, passing by prototypes and any getter added for the index.
Value elementAt(Object* o, size_t i)
{
    Property* own = o->findOwn(std::to_string(i));
    return own ? own->value : Value();
}

std::vector<Value> elements(VM& vm, Object* o)
{
    std::vector<Value> items;
    if (!o) return items;
    size_t n = lengthOf(vm, o);
    items.reserve(n);
    for (size_t i = 0; i < n; ++i) items.push_back(elementAt(o, i));
    return items;
}

void assign(VM& vm, Object* o, const std::vector<Value>& items)
{
    if (o->kind() == ObjectKind::Array) {
        auto* a = static_cast<ArrayObject*>(o);
        a->setLength(vm, 0);
        for (const Value& v : items) a->push(v);
        return;
    }
    for (size_t i = 0; i < items.size(); ++i) vm.set(o, std::to_string(i), items[i]);
    vm.set(o, "length", Value(double(items.size())));
}

Value arrayValue(VM& vm, const std::vector<Value>& items)
{
    return Value(static_cast<Object*>(vm.newArray(items)));
}

Value arrayConstructor(CallContext& c)
{
    ArrayObject* a = c.constructing && c.thisObject && c.thisObject->kind() == ObjectKind::Array
                   ? static_cast<ArrayObject*>(c.thisObject) : c.vm.newArray();
    if (c.count() == 1 && c.arg(0).isNumber()) {
        double n = c.arg(0).number();
        // A negative count makes a negative length, as an element index can.
        if (n <= maxLength && n == std::trunc(n)) a->setLength(c.vm, n);
        else a->push(c.arg(0));
    } else {
        for (const Value& v : c.args) a->push(v);
    }
    return Value(static_cast<Object*>(a));
}

std::string join(VM& vm, Object* o, const std::string& separator)
{
    std::string out;
    size_t n = lengthOf(vm, o);
    for (size_t i = 0; i < n; ++i) {
        if (i) out += separator;
        out += vm.toString(elementAt(o, i));
        vm.checkString(out.size());
    }
    return out;
}

Value arrayJoin(CallContext& c)
{
    if (!c.thisObject) return Value();
    std::string separator = c.arg(0).isUndefined() ? "," : c.vm.toString(c.arg(0));
    return Value(join(c.vm, c.thisObject, separator));
}

Value arrayToString(CallContext& c)
{
    if (!c.thisObject) return Value();
    return Value(join(c.vm, c.thisObject, ","));
}

Value arrayPush(CallContext& c)
{
    if (!c.thisObject) return Value();
    size_t n = lengthOf(c.vm, c.thisObject);
    for (const Value& v : c.args) c.vm.set(c.thisObject, std::to_string(n++), v);
    if (c.thisObject->kind() != ObjectKind::Array) c.vm.set(c.thisObject, "length", Value(double(n)));
    return Value(double(n));
}

Value arrayPop(CallContext& c)
{
    if (!c.thisObject) return Value();
    size_t n = lengthOf(c.vm, c.thisObject);
    if (n == 0) return Value();
    std::string last = std::to_string(n - 1);
    Value v = elementAt(c.thisObject, n - 1);
    c.thisObject->remove(last);
    c.vm.set(c.thisObject, "length", Value(double(n - 1)));
    return v;
}

// The methods that move elements replace each one rather than update it in
// place, so a moved element comes last in the order that for..in lists.
void replaceElement(VM& vm, Object* o, size_t i, const Value& v)
{
    std::string key = std::to_string(i);
    o->remove(key);
    vm.set(o, key, v);
}

Value arrayShift(CallContext& c)
{
    if (!c.thisObject) return Value();
    size_t n = lengthOf(c.vm, c.thisObject);
    if (n == 0) return Value();
    Value first = c.vm.get(c.thisObject, "0");
    for (size_t i = 1; i < n; ++i) replaceElement(c.vm, c.thisObject, i - 1, c.vm.get(c.thisObject, std::to_string(i)));
    c.thisObject->remove(std::to_string(n - 1));
    c.vm.set(c.thisObject, "length", Value(double(n - 1)));
    return first;
}

Value arrayUnshift(CallContext& c)
{
    if (!c.thisObject) return Value();
    size_t n = lengthOf(c.vm, c.thisObject), k = c.count();
    if (k > 0) {
        for (size_t i = n; i-- > 0;) replaceElement(c.vm, c.thisObject, i + k, c.vm.get(c.thisObject, std::to_string(i)));
        for (size_t i = 0; i < k; ++i) replaceElement(c.vm, c.thisObject, i, c.args[i]);
    }
    if (c.thisObject->kind() != ObjectKind::Array) c.vm.set(c.thisObject, "length", Value(double(n + k)));
    return Value(double(n + k));
}

Value arrayReverse(CallContext& c)
{
    if (!c.thisObject) return Value();
    size_t n = lengthOf(c.vm, c.thisObject);
    for (size_t i = 0; i < n / 2; ++i) {
        size_t j = n - 1 - i;
        Value low = c.vm.get(c.thisObject, std::to_string(i));
        Value high = c.vm.get(c.thisObject, std::to_string(j));
        replaceElement(c.vm, c.thisObject, i, high);
        replaceElement(c.vm, c.thisObject, j, low);
    }
    return c.thisValue;
}

// Start/end arguments of slice and splice: negative counts from the end.
size_t clampIndex(VM& vm, const Value& v, size_t length, size_t fallback)
{
    if (v.isUndefined()) return fallback;
    double n = vm.toNumber(v);
    if (std::isnan(n)) return 0;
    n = std::trunc(n);
    if (n < 0) n = std::max(0.0, double(length) + n);
    return size_t(std::min(n, double(length)));
}

Value arraySlice(CallContext& c)
{
    if (!c.thisObject) return Value();
    std::vector<Value> items = elements(c.vm, c.thisObject);
    size_t from = clampIndex(c.vm, c.arg(0), items.size(), 0);
    size_t to = clampIndex(c.vm, c.arg(1), items.size(), items.size());
    std::vector<Value> out;
    if (from < to) out.assign(items.begin() + from, items.begin() + to);
    return arrayValue(c.vm, out);
}

Value arraySplice(CallContext& c)
{
    if (!c.thisObject || c.count() == 0 || c.arg(0).isUndefined()) return Value();
    std::vector<Value> items = elements(c.vm, c.thisObject);
    size_t from = clampIndex(c.vm, c.arg(0), items.size(), 0);
    size_t count = items.size() - from;
    if (c.count() > 1) {
        // An undefined or negative count leaves the array alone.
        if (c.arg(1).isUndefined()) return Value();
        double n = c.vm.toNumber(c.arg(1));
        if (n < 0) return Value();
        count = std::isnan(n) || n < 0 ? 0 : size_t(std::min(std::trunc(n), double(count)));
    }
    std::vector<Value> removed(items.begin() + from, items.begin() + from + count);
    items.erase(items.begin() + from, items.begin() + from + count);
    if (c.count() > 2) items.insert(items.begin() + from, c.args.begin() + 2, c.args.end());
    assign(c.vm, c.thisObject, items);
    return arrayValue(c.vm, removed);
}

Value arrayConcat(CallContext& c)
{
    std::vector<Value> items = elements(c.vm, c.thisObject);
    for (const Value& v : c.args) {
        if (v.isObject() && v.object()->kind() == ObjectKind::Array) {
            std::vector<Value> more = elements(c.vm, v.object());
            items.insert(items.end(), more.begin(), more.end());
        } else {
            items.push_back(v);
        }
        if (items.size() > maxLength) break;
    }
    return arrayValue(c.vm, items);
}

// Compares two values as sort() does with the given flags: <0, 0 or >0.
int compareValues(VM& vm, const Value& a, const Value& b, int flags)
{
    if (flags & Numeric) {
        if (a.isNumber() && b.isNumber()) {
            double x = a.number(), y = b.number();
            return x < y ? -1 : x > y ? 1 : 0;
        }
    }
    std::string x = vm.toString(a), y = vm.toString(b);
    if (flags & CaseInsensitive) {
        std::u16string wx = toUtf16(x), wy = toUtf16(y);
        for (char16_t& ch : wx) ch = toLowerCase(ch);
        for (char16_t& ch : wy) ch = toLowerCase(ch);
        return wx < wy ? -1 : wx > wy ? 1 : 0;
    }
    return x < y ? -1 : x > y ? 1 : 0;
}

// Sorts `items` (by index) and applies the flags; returns the result value.
Value finishSort(CallContext& c, const std::vector<Value>& items, std::vector<size_t>& order,
                 int flags, const std::function<int(const Value&, const Value&)>& compare)
{
    bool duplicate = false;
    std::stable_sort(order.begin(), order.end(), [&](size_t i, size_t j) {
        int r = compare(items[i], items[j]);
        if (r == 0 && i != j) duplicate = true;
        return (flags & Descending) ? r > 0 : r < 0;
    });
    if ((flags & UniqueSort) && duplicate) return Value(0.0);
    if (flags & ReturnIndexedArray) {
        std::vector<Value> indices;
        for (size_t i : order) indices.push_back(Value(double(i)));
        return arrayValue(c.vm, indices);
    }
    std::vector<Value> sorted;
    for (size_t i : order) sorted.push_back(items[i]);
    assign(c.vm, c.thisObject, sorted);
    return c.thisValue;
}

Value arraySort(CallContext& c)
{
    if (!c.thisObject) return Value();
    std::vector<Value> items = elements(c.vm, c.thisObject);
    // sort(compare, flags): a first argument that is no function is ignored,
    // except as the flags when no second one is given.
    // Any other kind of first argument (undefined, a boolean, a string) refuses.
    if (c.count() > 0 && !c.arg(0).isObject() && !c.arg(0).isNumber()) return Value();
    Value compareFn;
    if (c.arg(0).isObject() && c.arg(0).object()->kind() == ObjectKind::Function) compareFn = c.arg(0);
    int flags = 0;
    if (!c.arg(1).isUndefined()) flags = c.vm.toInt32(c.arg(1));
    else if (c.arg(0).isNumber()) flags = c.vm.toInt32(c.arg(0));
    std::vector<size_t> order(items.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    VM& vm = c.vm;
    auto compare = [&](const Value& a, const Value& b) -> int {
        if (!compareFn.isUndefined()) {
            double r = vm.toNumber(vm.call(compareFn, Value(), {a, b}));
            return r < 0 ? -1 : r > 0 ? 1 : 0;
        }
        return compareValues(vm, a, b, flags);
    };
    return finishSort(c, items, order, flags, compare);
}

Value arraySortOn(CallContext& c)
{
    if (!c.thisObject || c.count() == 0) return Value();
    std::vector<Value> items = elements(c.vm, c.thisObject);
    std::vector<std::string> fields;
    std::vector<int> fieldFlags;
    Value names = c.arg(0);
    if (names.isObject() && names.object()->kind() == ObjectKind::Array) {
        for (const Value& v : elements(c.vm, names.object())) fields.push_back(c.vm.toString(v));
    } else if (!names.isUndefined()) {
        fields.push_back(c.vm.toString(names));
    }
    int flags = 0;
    Value options = c.arg(1);
    if (options.isObject() && options.object()->kind() == ObjectKind::Array) {
        // Flags per field count only when there is one for every field.
        for (const Value& v : elements(c.vm, options.object())) fieldFlags.push_back(c.vm.toInt32(v));
        if (fieldFlags.size() != fields.size()) fieldFlags.clear();
    } else if (!options.isUndefined()) {
        flags = c.vm.toInt32(options);
    }
    std::vector<size_t> order(items.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    VM& vm = c.vm;
    auto compare = [&](const Value& a, const Value& b) -> int {
        for (size_t f = 0; f < fields.size(); ++f) {
            int fieldFlag = f < fieldFlags.size() ? fieldFlags[f] : flags;
            Value x = vm.getOf(a, fields[f]), y = vm.getOf(b, fields[f]);
            int r = compareValues(vm, x, y, fieldFlag);
            if (f < fieldFlags.size() && (fieldFlag & Descending)) r = -r;
            if (r) return r;
        }
        return 0;
    };
    // With flags per field, the first field's decide uniqueness and indices.
    if (!fieldFlags.empty()) flags = fieldFlags[0] & (UniqueSort | ReturnIndexedArray);
    return finishSort(c, items, order, flags, compare);
}

} // namespace

void installArray(VM& vm)
{
    Prototypes& p = vm.protos();
    p.array = vm.newObject();
    FunctionObject* array = vm.newNative(arrayConstructor, ObjectKind::Array);
    vm.attachPrototype(array, p.array);
    vm.defineNative(p.array, "push", arrayPush);
    vm.defineNative(p.array, "pop", arrayPop);
    vm.defineNative(p.array, "shift", arrayShift);
    vm.defineNative(p.array, "unshift", arrayUnshift);
    vm.defineNative(p.array, "reverse", arrayReverse);
    vm.defineNative(p.array, "slice", arraySlice);
    vm.defineNative(p.array, "splice", arraySplice);
    vm.defineNative(p.array, "concat", arrayConcat);
    vm.defineNative(p.array, "join", arrayJoin);
    vm.defineNative(p.array, "toString", arrayToString);
    vm.defineNative(p.array, "sort", arraySort);
    vm.defineNative(p.array, "sortOn", arraySortOn);
    const std::pair<const char*, int> constants[] = {
        {"CASEINSENSITIVE", CaseInsensitive}, {"DESCENDING", Descending}, {"UNIQUESORT", UniqueSort},
        {"RETURNINDEXEDARRAY", ReturnIndexedArray}, {"NUMERIC", Numeric}};
    for (auto [name, value] : constants) array->put(name, Value(value), DontEnum | DontDelete | ReadOnly);
    vm.global()->put("Array", Value(static_cast<Object*>(array)), DontEnum);
}

} // namespace tesmar::script
