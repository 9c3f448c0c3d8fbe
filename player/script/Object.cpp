#include "player/script/Object.h"

#include "player/script/Convert.h"
#include "player/script/Function.h"
#include "player/script/Heap.h"
#include "player/script/VM.h"

#include <cmath>

namespace tesmar::script {

bool Property::visibleTo(int swfVersion) const
{
    if ((flags & OnlySwf6Up) && swfVersion < 6) return false;
    if ((flags & IgnoreSwf6) && swfVersion == 6) return false;
    if ((flags & OnlySwf7Up) && swfVersion < 7) return false;
    if ((flags & OnlySwf8Up) && swfVersion < 8) return false;
    if ((flags & OnlySwf9Up) && swfVersion < 9) return false;
    if ((flags & OnlySwf10Up) && swfVersion < 10) return false;
    return true;
}

void Tracer::mark(const Value& v)
{
    if (v.isObject()) pending_.push_back(v.object());
}

Object::Object(Heap& heap, ObjectKind kind) : heap_(heap), kind_(kind) {}

Property* Object::findOwn(std::string_view name)
{
    auto it = index_.find(heap_.key(name));
    return it == index_.end() ? nullptr : &properties_[it->second];
}

Property& Object::put(std::string_view name, Value value, uint16_t flags)
{
    std::string key = heap_.key(name);
    auto it = index_.find(key);
    if (it != index_.end()) {
        Property& p = properties_[it->second];
        p.value = std::move(value);
        return p;
    }
    index_.emplace(std::move(key), uint32_t(properties_.size()));
    properties_.push_back(Property{std::string(name), std::move(value), flags});
    return properties_.back();
}

bool Object::remove(std::string_view name)
{
    auto it = index_.find(heap_.key(name));
    if (it == index_.end()) return false;
    size_t at = it->second;
    if (properties_[at].flags & DontDelete) return false;
    index_.erase(it);
    properties_.erase(properties_.begin() + at);
    reindexFrom(at);
    return true;
}

void Object::reindexFrom(size_t first)
{
    for (size_t i = first; i < properties_.size(); ++i)
        index_[heap_.key(properties_[i].name)] = uint32_t(i);
}

Watcher* Object::findWatcher(std::string_view name)
{
    if (!watchers_) return nullptr;
    auto it = watchers_->find(heap_.key(name));
    return it == watchers_->end() ? nullptr : &it->second;
}

void Object::watch(std::string_view name, FunctionObject* callback, Value userData)
{
    if (!watchers_) watchers_ = std::make_unique<std::unordered_map<std::string, Watcher>>();
    Watcher& w = (*watchers_)[heap_.key(name)];
    w.callback = callback;
    w.userData = std::move(userData);
}

bool Object::unwatch(std::string_view name)
{
    return watchers_ && watchers_->erase(heap_.key(name)) > 0;
}

Object* Object::proto()
{
    Property* p = findOwn("__proto__");
    return p && p->value.isObject() ? p->value.object() : nullptr;
}

void Object::trace(Tracer& tracer)
{
    tracer.mark(primitive);
    for (const Property& p : properties_) {
        tracer.mark(p.value);
        tracer.mark(static_cast<Object*>(p.getter));
        tracer.mark(static_cast<Object*>(p.setter));
    }
    if (watchers_)
        for (const auto& [name, w] : *watchers_) {
            tracer.mark(static_cast<Object*>(w.callback));
            tracer.mark(w.userData);
        }
}

std::optional<int32_t> elementIndex(std::string_view name)
{
    bool negative = !name.empty() && name[0] == '-';
    if (negative) name.remove_prefix(1);
    if (name.empty()) return std::nullopt;
    uint32_t n = 0;
    for (char c : name) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + uint32_t(c - '0');
    }
    return int32_t(negative ? 0u - n : n);
}

void ArrayObject::push(Value v)
{
    put(std::to_string(length_), std::move(v));
    ++length_;
}

void ArrayObject::setLength(VM& vm, double length)
{
    (void)vm;
    int32_t newLength = toInt32(length);
    // Shortening drops the elements from the new length up to the old one.
    if (newLength < length_) {
        int32_t from = std::max(newLength, 0);
        std::vector<std::string> doomed;
        for (const Property& p : properties()) {
            std::optional<int32_t> i = elementIndex(p.name);
            if (i && *i >= from && *i < length_) doomed.push_back(p.name);
        }
        for (const std::string& name : doomed) remove(name);
    }
    length_ = newLength;
}

bool ArrayObject::getVirtual(VM&, const std::string& name, Value& out)
{
    // A getter added for `length` takes its place.
    if (name != "length" || findOwn(name)) return false;
    out = Value(double(length_));
    return true;
}

bool ArrayObject::setVirtual(VM& vm, const std::string& name, const Value& value)
{
    if (name == "length") {
        setLength(vm, vm.toNumber(value));
        return true;
    }
    std::optional<int32_t> i = elementIndex(name);
    if (!i) return false;
    Property* existing = findOwn(name);
    if (existing && (existing->accessor || (existing->flags & ReadOnly))) return false;
    put(name, value);
    // The new length may wrap below the old one, which drops elements as
    // setting `length` does.
    if (*i >= length_) setLength(vm, double(int32_t(uint32_t(*i) + 1)));
    return true;
}

} // namespace tesmar::script
