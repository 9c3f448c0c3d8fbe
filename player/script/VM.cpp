#include "player/script/VM.h"

#include "player/script/Builtins.h"
#include "player/script/Convert.h"
#include "player/script/Interpreter.h"
#include "player/script/Strings.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>

namespace tesmar::script {

VM::VM(ScriptHost& host, int swfVersion, Limits limits)
    : host_(host), swfVersion_(swfVersion), limits_(limits), heap_(swfVersion >= 7), codeVersion_(swfVersion)
{
    global_ = heap_.make<Object>();
    installBuiltins();
    frameStartMs_ = host_.timeMs();
    const double now = host_.wallClockMs();
    random_.seed(std::isfinite(now) ? static_cast<uint32_t>(std::fmod(std::fabs(now), 4294967296.0)) : 0u);
}

VM::~VM() = default;

void VM::installBuiltins()
{
    installObjectAndFunction(*this);
    installArray(*this);
    installString(*this);
    installNumberAndBoolean(*this);
    installMath(*this);
    installDate(*this);
    installGlobals(*this);
    installBroadcaster(*this);
    installSystemObjects(*this);
    installMovieClip(*this);
    installXml(*this);
    installGeom(*this);
    // Last: the numbered natives are the functions installed above.
    installNatives(*this);
}

void VM::beginFrame()
{
    instructions_ = 0;
    carriedStack_.clear();
    frameStartMs_ = host_.timeMs();
}

void VM::abort()
{
    stopped_ = true;
    throw ScriptAbort{};
}

void VM::countInstruction()
{
    ++instructions_;
    bool overTime = (instructions_ & 4095) == 0
        && host_.timeMs() - frameStartMs_ > limits_.millisecondsPerFrame;
    if (instructions_ > limits_.instructionsPerFrame || overTime) abort();
}

void VM::checkString(size_t bytes)
{
    if (bytes > limits_.maxStringBytes) abort();
}

VM::StackBase::StackBase(VM& v) : vm(v), outermost(v.stackBase_ == 0)
{
    if (outermost) vm.stackBase_ = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
}

VM::StackBase::~StackBase()
{
    if (outermost) vm.stackBase_ = 0;
}

bool VM::stackExhausted() const
{
    uintptr_t here = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    return stackBase_ != 0 && stackBase_ > here && stackBase_ - here > limits_.maxNativeStack;
}

void VM::runActions(const ActionBytes& bytes, ClipObject* clip)
{
    if (stopped_ || !bytes) return;
    StackBase base(*this);
    try {
        Interpreter::runTopLevel(*this, bytes, clip);
        pendingThrow_.reset();
    } catch (const ScriptThrow& thrown) {
        trace("Warning: Uncaught exception, " + toString(thrown.value));
    } catch (const ScriptAbort&) {
    }
}

Value VM::callSafely(const Value& function, const Value& thisValue, const std::vector<Value>& args)
{
    if (stopped_) return Value();
    StackBase base(*this);
    try {
        Value result = call(function, thisValue, args);
        pendingThrow_.reset();
        return result;
    } catch (const ScriptThrow& thrown) {
        trace("Warning: Uncaught exception, " + toString(thrown.value));
    } catch (const ScriptAbort&) {
    }
    return Value();
}

void VM::trace(const std::string& text)
{
    size_t start = 0;
    while (true) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) break;
        host_.trace(text.substr(start, end - start));
        start = end + 1;
    }
    host_.trace(text.substr(start));
}

// ---- members ---------------------------------------------------------------

ClipObject* VM::liveClip(ClipObject* clip)
{
    if (!clip || !clip->removed()) return clip;
    ClipObject* level0 = host_.level(0);
    if (!level0) return nullptr;
    return resolveClipPath(level0, clip->targetPath());
}

ClipObject* VM::resolveClipPath(ClipObject* base, const std::string& path)
{
    ClipObject* clip = base;
    size_t i = 0;
    while (clip && i <= path.size()) {
        size_t end = path.find_first_of("./", i);
        if (end == std::string::npos) end = path.size();
        std::string part = path.substr(i, end - i);
        if (part.empty()) {
            // A leading "/" starts from the root; other empty parts are no-ops.
            if (i == 0 && end < path.size() && path[end] == '/') clip = clip->rootClip();
        } else if (part == "..") {
            clip = clip->parentClip();
        } else if (part.rfind("_level", 0) == 0 && part.size() > 6) {
            clip = host_.level(std::atoi(part.c_str() + 6));
        } else if (heap_.key(part) == "_root") {
            clip = clip->rootClip();
        } else if (heap_.key(part) == "_parent") {
            clip = clip->parentClip();
        } else {
            clip = clip->childClip(part);
        }
        i = end + 1;
    }
    return clip;
}

namespace {

// A property that no object of the chain has goes to the first `__resolve`
// that holds an object: it is called with the name and answers for it. A
// `__resolve` holding a primitive or a clip is passed by; one added by
// addProperty ends the search with undefined.
Value resolveMissing(VM& vm, Object* object, const std::string& name)
{
    if (name == "__resolve") return Value();
    Object* cur = object;
    for (int guard = 0; cur && guard < 256; ++guard, cur = cur->proto()) {
        Property* p = cur->findOwn("__resolve");
        if (!p || !p->visibleTo(vm.swfVersion())) continue;
        if (p->accessor) return Value();
        if (!p->value.isObject() || p->value.object()->kind() == ObjectKind::Clip) continue;
        return vm.call(p->value, Value(object), {Value(name)});
    }
    return Value();
}

} // namespace

Property* VM::findProperty(Object* object, const std::string& name, Object** holder)
{
    Object* cur = object;
    for (int guard = 0; cur && guard < 256; ++guard) {
        Property* p = cur->findOwn(name);
        if (p && p->visibleTo(swfVersion_)) {
            if (holder) *holder = cur;
            return p;
        }
        cur = cur->proto();
    }
    if (cur) throw BlockAbort{};
    return nullptr;
}

Value VM::get(Object* object, const std::string& name)
{
    if (!object) return Value();
    // `super.name` reads the prototype that super stands for.
    if (object->kind() == ObjectKind::Super) return get(object->proto(), name);
    if (object->kind() == ObjectKind::Clip) {
        object = liveClip(static_cast<ClipObject*>(object));
        if (!object) return Value();
    }
    Value v;
    if (object->getVirtual(*this, name, v)) return v;
    Object* holder = nullptr;
    Property* p = findProperty(object, name, &holder);
    if (!p) return resolveMissing(*this, object, name);
    if (!p->accessor) return p->value;
    if (!p->getter) return Value();
    // Past the nesting limit, or reaching its own property up to SWF 6, a
    // getter is not run: the stored value answers.
    AccessorKey key{holder, heap_.key(name)};
    if (accessorAtLimit(key) || accessorRunning(object, name)) return p->value;
    return runAccessor(p->getter, object, std::move(key), {});
}

bool VM::accessorRunning(Object* object, const std::string& name) const
{
    if (swfVersion_ >= 7) return false;
    std::string key = heap_.key(name);
    for (const auto& [o, n] : runningAccessors_)
        if (o == object && n == key) return true;
    return false;
}

bool VM::accessorAtLimit(const AccessorKey& key) const
{
    auto it = accessorCalls_.find(key);
    return it != accessorCalls_.end() && it->second >= limits_.maxAccessorDepth;
}

Value VM::runAccessor(FunctionObject* function, Object* object, AccessorKey key, const std::vector<Value>& args)
{
    if (accessorAtLimit(key)) return Value();
    const bool marksRunning = swfVersion_ < 7;
    if (marksRunning) runningAccessors_.emplace_back(object, key.second);
    auto calls = accessorCalls_.try_emplace(std::move(key), 0).first;
    ++calls->second;
    struct Leave {
        VM& vm;
        std::map<AccessorKey, int>::iterator calls;
        bool marksRunning;
        ~Leave()
        {
            if (--calls->second == 0) vm.accessorCalls_.erase(calls);
            if (marksRunning) vm.runningAccessors_.pop_back();
        }
    } leave{*this, calls, marksRunning};
    return call(Value(static_cast<Object*>(function)), Value(object), args);
}

Value VM::notifyWatcher(Object* object, const std::string& name, const Value& newValue)
{
    // Up to SWF 6 an assignment made while the watcher runs is not watched
    // again; from SWF 7 watchers nest up to the accessor limit. Either way
    // the value is then stored as it is.
    Watcher* w = object->findWatcher(name);
    AccessorKey key{object, heap_.key(name)};
    if (!w || accessorRunning(object, name) || accessorAtLimit(key)) return newValue;
    // The old value is the one stored, on the object or up its prototypes;
    // no getter runs for it.
    Property* found = findProperty(object, name);
    Value old = found ? found->value : Value();
    FunctionObject* callback = w->callback;
    Value userData = w->userData;
    return runAccessor(callback, object, std::move(key), {Value(name), old, newValue, userData});
}

Value VM::getOf(const Value& base, const std::string& name)
{
    switch (base.type()) {
    case Type::Object: return get(base.object(), name);
    case Type::String:
    case Type::Number:
    case Type::Boolean: return get(toObject(base), name);
    default: return Value();
    }
}

void VM::set(Object* object, const std::string& name, const Value& assigned)
{
    if (!object) return;
    if (object->kind() == ObjectKind::Clip) {
        object = liveClip(static_cast<ClipObject*>(object));
        if (!object) return;
    }
    std::optional<Value> watched;
    if (object->findWatcher(name)) {
        try {
            watched = notifyWatcher(object, name, assigned);
        } catch (const ScriptThrow&) {
            // A watcher that throws leaves the property undefined.
            if (Property* own = object->findOwn(name); own && !own->accessor && !(own->flags & ReadOnly))
                own->value = Value();
            else if (!own)
                object->put(name, Value());
            throw;
        }
    }
    const Value& value = watched ? *watched : assigned;
    if (object->setVirtual(*this, name, value)) return;
    Property* own = object->findOwn(name);
    if (own && own->visibleTo(swfVersion_)) {
        if (own->accessor) {
            // The value is stored as well, once the setter has run: a
            // watcher sees it as the old value, a getter past the nesting
            // limit gives it.
            Value stored = value;
            if (own->setter && !accessorRunning(object, name))
                runAccessor(own->setter, object, {object, heap_.key(name)}, {value});
            if (Property* still = object->findOwn(name)) still->value = stored;
        } else if (!(own->flags & ReadOnly)) {
            own->value = value;
        }
        return;
    }
    Object* holder = nullptr;
    Property* inherited = findProperty(object, name, &holder);
    if (inherited && inherited->accessor) {
        if (inherited->setter && !accessorRunning(object, name))
            runAccessor(inherited->setter, object, {holder, heap_.key(name)}, {value});
        return;
    }
    if (object->properties().size() >= limits_.maxProperties) abort();
    Property& stored = object->put(name, value);
    // Assigning a property hidden from this version makes it visible again.
    stored.flags &= uint16_t(~(OnlySwf6Up | IgnoreSwf6 | OnlySwf7Up | OnlySwf8Up | OnlySwf9Up | OnlySwf10Up));
}

bool VM::has(Object* object, const std::string& name)
{
    if (!object) return false;
    Value v;
    if (object->getVirtual(*this, name, v)) return true;
    return findProperty(object, name) != nullptr;
}

bool VM::hasOwn(Object* object, const std::string& name)
{
    if (!object) return false;
    Value v;
    if (object->getVirtual(*this, name, v)) return true;
    // A property hidden from this SWF version still exists: it is owned,
    // listed by for..in and deletable, only its value cannot be read.
    return object->findOwn(name) != nullptr;
}

bool VM::remove(Object* object, const std::string& name)
{
    if (!object) return false;
    return object->remove(name);
}

std::vector<std::string> VM::enumerate(Object* object)
{
    std::vector<std::string> names;
    std::set<std::string> seen;
    if (object && object->kind() == ObjectKind::Clip)
        object = liveClip(static_cast<ClipObject*>(object));
    if (!object) return names;
    // The player collects a clip's children (by depth), its own names and
    // then inherited ones, each object's oldest first, and lists them from
    // the last collected.
    std::vector<std::string> collected;
    std::vector<std::string> virtualNames;
    object->virtualNames(virtualNames);
    for (const std::string& n : virtualNames)
        if (seen.insert(heap_.key(n)).second) collected.push_back(n);
    Object* cur = object;
    for (int guard = 0; cur && guard < 256; ++guard) {
        for (const Property& p : cur->properties()) {
            if (!seen.insert(heap_.key(p.name)).second) continue;
            if (p.flags & DontEnum) continue;
            collected.push_back(p.name);
        }
        cur = cur->proto();
    }
    names.insert(names.end(), collected.rbegin(), collected.rend());
    return names;
}

// ---- conversions -------------------------------------------------------------

Value VM::conversionMethod(Object* o, const std::string& name)
{
    try {
        return has(o, name) ? get(o, name) : Value();
    } catch (const ScriptThrow& thrown) {
        if (!pendingThrow_) pendingThrow_ = thrown.value;
        return Value();
    }
}

Value VM::toPrimitive(const Value& v, bool preferString)
{
    if (!v.isObject()) return v;
    Object* o = v.object();
    // Clips have no primitive value: they add as NaN and print their path.
    if (o->kind() == ObjectKind::Clip) return v;
    // Only valueOf is asked (toString for dates from SWF 6); an object it
    // returns stays an object.
    bool useString = preferString || (o->kind() == ObjectKind::Date && swfVersion_ >= 6);
    Value f = conversionMethod(o, useString ? "toString" : "valueOf");
    // An object without the method (the global object has no prototype) is undefined.
    if (!f.isObject() || f.object()->kind() != ObjectKind::Function) return Value();
    return call(f, v, {});
}

std::string VM::toString(const Value& v)
{
    switch (v.type()) {
    case Type::Undefined: return swfVersion_ >= 7 ? "undefined" : "";
    case Type::Null: return "null";
    case Type::Boolean:
        // SWF 4 has no booleans: they print as 1 and 0.
        if (codeVersion_ < 5) return v.boolean() ? "1" : "0";
        return v.boolean() ? "true" : "false";
    case Type::Number: return numberToString(v.number());
    case Type::String: return v.string();
    case Type::Object: break;
    }
    Object* o = v.object();
    if (o->kind() == ObjectKind::Clip) {
        ClipObject* clip = liveClip(static_cast<ClipObject*>(o));
        return clip ? clip->targetPath() : "";
    }
    Value f = conversionMethod(o, "toString");
    if (f.isObject() && f.object()->kind() == ObjectKind::Function) {
        Value r = call(f, v, {});
        // Only a string counts; anything else prints as the object's type.
        if (r.isString()) return r.string();
    }
    return o->kind() == ObjectKind::Function ? "[type Function]" : "[type Object]";
}

double VM::toNumber(const Value& v)
{
    switch (v.type()) {
    case Type::Undefined:
    case Type::Null: return swfVersion_ >= 7 ? NAN : 0;
    case Type::Boolean: return v.boolean() ? 1 : 0;
    case Type::Number: return v.number();
    case Type::String: return stringToNumber(v.string(), swfVersion_);
    case Type::Object: break;
    }
    if (v.object()->kind() == ObjectKind::Clip) return NAN;
    // Dates give their time here, not their text.
    Value p = v.object()->kind() == ObjectKind::Date ? callMethod(v, "valueOf", {}) : toPrimitive(v);
    // An object that stays one is NaN; SWF 4 code reads it as 0, as it
    // reads any text that is no number.
    if (p.isObject()) return codeVersion_ < 5 ? 0 : NAN;
    return toNumber(p);
}

bool VM::toBoolean(const Value& v) const
{
    switch (v.type()) {
    case Type::Undefined:
    case Type::Null: return false;
    case Type::Boolean: return v.boolean();
    case Type::Number: return v.number() != 0 && !std::isnan(v.number());
    case Type::String:
        if (swfVersion_ >= 7) return !v.string().empty();
        {
            double n = stringToNumber(v.string(), swfVersion_);
            return n != 0 && !std::isnan(n);
        }
    case Type::Object: return true;
    }
    return false;
}

int32_t VM::toInt32(const Value& v)
{
    return script::toInt32(toNumber(v));
}

Object* VM::toObject(const Value& v)
{
    const char* className = nullptr;
    switch (v.type()) {
    case Type::Object: return v.object();
    case Type::String: className = "String"; break;
    case Type::Number: className = "Number"; break;
    case Type::Boolean: className = "Boolean"; break;
    default: return nullptr;
    }
    // A primitive becomes an object through whatever the global of its
    // class's name now holds (a getter may answer, `__resolve` never does).
    if (!has(global_, className)) return nullptr;
    Value boxed = construct(get(global_, className), {v});
    return boxed.isObject() ? boxed.object() : nullptr;
}

std::string VM::typeOf(const Value& v)
{
    switch (v.type()) {
    case Type::Undefined: return "undefined";
    case Type::Null: return "null";
    case Type::Boolean: return "boolean";
    case Type::Number: return "number";
    case Type::String: return "string";
    case Type::Object: break;
    }
    switch (v.object()->kind()) {
    case ObjectKind::Function: return "function";
    case ObjectKind::Clip: return static_cast<ClipObject*>(v.object())->isMovieClip() ? "movieclip" : "object";
    default: return "object";
    }
}

namespace {

// The `prototype` a class has itself, as stored: no getter runs, no
// prototype of the class lends one, the SWF version does not hide it. A
// string, number or boolean there is boxed.
Object* storedPrototype(VM& vm, Object* constructor)
{
    Property* p = constructor->findOwn("prototype");
    if (!p) return nullptr;
    return p->value.isObject() ? p->value.object() : vm.toObject(p->value);
}

bool implementsInterface(VM& vm, Object* prototype, Object* wanted, int depth)
{
    // The interfaces that `implements` gave a class's prototype, and theirs
    // in turn; an interface's own prototype chain does not count.
    Property* interfaces = prototype->findOwn("__interfaces__");
    if (!interfaces || depth > 64 || !interfaces->value.isObject()) return false;
    Object* list = interfaces->value.object();
    if (list->kind() != ObjectKind::Array) return false;
    uint32_t n = static_cast<ArrayObject*>(list)->length();
    for (uint32_t i = 0; i < n; ++i) {
        Property* item = list->findOwn(std::to_string(i));
        if (!item || !item->value.isObject()) continue;
        Object* itemProto = storedPrototype(vm, item->value.object());
        if (!itemProto) continue;
        if (itemProto == wanted || implementsInterface(vm, itemProto, wanted, depth + 1)) return true;
    }
    return false;
}

} // namespace

bool VM::instanceOf(const Value& v, Object* constructor)
{
    if (!v.isObject() || !constructor) return false;
    // A removed clip is an instance of nothing and has no instances; a clip
    // as the prototype has none either.
    auto isRemovedClip = [this](Object* o) {
        return o->kind() == ObjectKind::Clip && !liveClip(static_cast<ClipObject*>(o));
    };
    if (isRemovedClip(v.object()) || isRemovedClip(constructor)) return false;
    Object* proto = storedPrototype(*this, constructor);
    if (!proto || proto->kind() == ObjectKind::Clip) return false;
    Object* cur = v.object()->proto();
    for (int guard = 0; cur && guard < 256; ++guard) {
        if (cur == proto || implementsInterface(*this, cur, proto, 0)) return true;
        cur = cur->proto();
    }
    return false;
}


bool VM::strictEquals(const Value& a, const Value& b)
{
    if (a.type() != b.type()) return false;
    switch (a.type()) {
    case Type::Undefined:
    case Type::Null: return true;
    case Type::Boolean: return a.boolean() == b.boolean();
    // The player counts NaN equal to itself.
    case Type::Number: return a.number() == b.number() || (std::isnan(a.number()) && std::isnan(b.number()));
    case Type::String: return a.string() == b.string();
    case Type::Object: return a.object() == b.object();
    }
    return false;
}

bool VM::looseEquals(const Value& a, const Value& b)
{
    if (a.isObject() && b.isObject() && swfVersion_ >= 6) {
        Object* x = a.object();
        Object* y = b.object();
        if (x->kind() == ObjectKind::Clip) x = liveClip(static_cast<ClipObject*>(x));
        if (y->kind() == ObjectKind::Clip) y = liveClip(static_cast<ClipObject*>(y));
        return x == y;
    }
    if (a.isObject() && b.isObject()) {
        // SWF 5 sends both sides through valueOf, the right one first.
        Value pb = toPrimitive(b);
        Value pa = toPrimitive(a);
        if (pa.isObject() || pb.isObject()) {
            auto live = [this](const Value& v) {
                Object* o = v.object();
                return o->kind() == ObjectKind::Clip ? liveClip(static_cast<ClipObject*>(o)) : o;
            };
            return pa.isObject() && pb.isObject() && live(pa) == live(pb);
        }
        return looseEquals(pa, pb);
    }
    if (a.type() == b.type()) {
        // SWF 5 counts NaN equal to itself.
        if (a.isNumber() && swfVersion_ < 6 && std::isnan(a.number()) && std::isnan(b.number())) return true;
        return strictEquals(a, b);
    }
    if (a.isNullish() && b.isNullish()) return true;
    if (a.isNumber() && b.isString()) return a.number() == toNumber(b);
    if (a.isString() && b.isNumber()) return toNumber(a) == b.number();
    if (a.isBoolean()) return looseEquals(Value(a.boolean() ? 1.0 : 0.0), b);
    if (b.isBoolean()) return looseEquals(a, Value(b.boolean() ? 1.0 : 0.0));
    if (a.isObject()) {
        Value p = toPrimitive(a);
        return p.isObject() ? false : looseEquals(p, b);
    }
    if (b.isObject()) {
        Value p = toPrimitive(b);
        return p.isObject() ? false : looseEquals(a, p);
    }
    return false;
}

// ---- objects and calls ----------------------------------------------------------

Object* VM::newObject()
{
    Object* o = heap_.make<Object>();
    o->setProto(protos_.object);
    return o;
}

ArrayObject* VM::newArray(const std::vector<Value>& items)
{
    ArrayObject* a = heap_.make<ArrayObject>();
    a->setProto(protos_.array);
    for (const Value& v : items) a->push(v);
    return a;
}

FunctionObject* VM::newNative(NativeFunction fn, ObjectKind instanceKind)
{
    FunctionObject* f = heap_.make<FunctionObject>(fn, instanceKind);
    f->setProto(protos_.function);
    return f;
}

FunctionObject* VM::defineNative(Object* on, const char* name, NativeFunction fn, uint16_t flags)
{
    FunctionObject* f = newNative(fn);
    on->put(name, Value(f), flags);
    return f;
}

Object* VM::attachPrototype(FunctionObject* function, Object* prototype)
{
    if (!prototype) prototype = newObject();
    prototype->put("constructor", Value(function), DontEnum);
    function->put("prototype", Value(prototype), DontEnum | DontDelete);
    return prototype;
}

FunctionObject* VM::newScriptFunction(std::unique_ptr<ScriptFunction> script)
{
    FunctionObject* f = heap_.make<FunctionObject>(std::move(script));
    f->setProto(protos_.function);
    attachPrototype(f);
    return f;
}

Object* VM::createInstance(FunctionObject* constructor)
{
    Value proto = get(constructor, "prototype");
    ObjectKind kind = constructor->instanceKind;
    // A script class that extends a native one builds the native kind of
    // object, which its super() call then fills.
    if (constructor->script && proto.isObject()) {
        const std::pair<Object*, ObjectKind> natives[] = {
            {protos_.array, ObjectKind::Array}, {protos_.date, ObjectKind::Date},
            {protos_.boolean, ObjectKind::Boolean}, {protos_.number, ObjectKind::Number},
            {protos_.string, ObjectKind::String}};
        Object* cur = proto.object();
        for (int guard = 0; cur && guard < 256 && kind == ObjectKind::Plain; ++guard, cur = cur->proto())
            for (auto [nativeProto, nativeKind] : natives)
                if (cur == nativeProto) kind = nativeKind;
    }
    Object* o;
    if (kind == ObjectKind::Array)
        o = heap_.make<ArrayObject>();
    else
        o = heap_.make<Object>(kind);
    o->setProto(proto.isObject() ? proto.object() : nullptr);
    return o;
}

Value VM::call(const Value& function, const Value& thisValue, const std::vector<Value>& args, Object* superProto)
{
    if (!function.isObject() || function.object()->kind() != ObjectKind::Function) return Value();
    auto* fn = static_cast<FunctionObject*>(function.object());
    if (depth_ + 1 >= limits_.maxCallDepth || stackExhausted()) throw BlockAbort{};
    struct DepthGuard {
        VM& vm;
        explicit DepthGuard(VM& v) : vm(v) { ++vm.depth_; }
        ~DepthGuard() { --vm.depth_; }
    } guard(*this);
    if (fn->script) return Interpreter::callScript(*this, fn, thisValue, args, superProto);
    if (!fn->native) return Value();
    CallContext c{*this, thisValue, thisValue.isObject() ? thisValue.object() : nullptr, args, fn, false};
    return fn->native(c);
}

Value VM::callMethod(const Value& object, const std::string& name, const std::vector<Value>& args)
{
    Value f = getOf(object, name);
    return call(f, object, args);
}

Value VM::construct(const Value& constructor, const std::vector<Value>& args)
{
    if (!constructor.isObject() || constructor.object()->kind() != ObjectKind::Function) return Value();
    auto* fn = static_cast<FunctionObject*>(constructor.object());
    if (depth_ + 1 >= limits_.maxCallDepth || stackExhausted()) throw BlockAbort{};
    Object* instance = createInstance(fn);
    instance->put("__constructor__", constructor, DontEnum);
    if (swfVersion_ < 7) instance->put("constructor", constructor, DontEnum);
    struct DepthGuard {
        VM& vm;
        explicit DepthGuard(VM& v) : vm(v) { ++vm.depth_; }
        ~DepthGuard() { --vm.depth_; }
    } guard(*this);
    if (fn->script) {
        Interpreter::callScript(*this, fn, Value(instance), args, nullptr, true);
        return Value(instance);
    }
    if (!fn->native) return Value(instance);
    CallContext c{*this, Value(instance), instance, args, fn, true};
    Value r = fn->native(c);
    if (c.refuseInstance) return Value();
    // Natives such as Array return the object they built.
    return r.isObject() ? r : Value(instance);
}

// ---- intervals and collection ---------------------------------------------------

int VM::addInterval(const Value& function, const Value& thisValue, const std::string& method,
                    double delayMs, std::vector<Value> args, bool once)
{
    if (!(delayMs >= 1)) delayMs = 1;
    int id = nextInterval_++;
    intervals_[id] = Interval{function, thisValue, method, delayMs, host_.timeMs() + delayMs, std::move(args), once};
    return id;
}

void VM::clearInterval(int id)
{
    intervals_.erase(id);
}

void VM::callAfterFrame(const Value& function, const Value& thisValue, std::vector<Value> args)
{
    afterFrame_.push_back(PendingCall{function, thisValue, std::move(args)});
}

void VM::runIntervals()
{
    // Calls queued by these calls wait for the next frame.
    std::vector<PendingCall> pending;
    pending.swap(afterFrame_);
    for (const PendingCall& call : pending) callSafely(call.function, call.thisValue, call.args);
    double now = host_.timeMs();
    std::vector<int> due;
    for (auto& [id, interval] : intervals_)
        if (now >= interval.due) due.push_back(id);
    for (int id : due) {
        auto it = intervals_.find(id);
        if (it == intervals_.end()) continue;
        Interval& interval = it->second;
        interval.due = std::max(interval.due + interval.delayMs, now);
        Value function = interval.function, thisValue = interval.thisValue;
        std::vector<Value> args = interval.args;
        if (!interval.method.empty()) function = getOf(thisValue, interval.method);
        if (interval.once) intervals_.erase(it);
        callSafely(function, thisValue, args);
    }
}

void VM::collectGarbage()
{
    if (depth_ > 0) return;
    heap_.collect([this](Tracer& t) {
        t.mark(global_);
        for (Object* p : {protos_.object, protos_.function, protos_.array, protos_.string, protos_.number,
                          protos_.boolean, protos_.date, protos_.error, protos_.movieClip})
            t.mark(p);
        for (auto& [id, interval] : intervals_) {
            t.mark(interval.function);
            t.mark(interval.thisValue);
            for (const Value& v : interval.args) t.mark(v);
        }
        for (const PendingCall& call : afterFrame_) {
            t.mark(call.function);
            t.mark(call.thisValue);
            for (const Value& v : call.args) t.mark(v);
        }
        for (const Value& v : carriedStack_) t.mark(v);
        host_.traceRoots(t);
    });
}

} // namespace tesmar::script
