#include "player/script/Interpreter.h"

#include "player/script/ActionReader.h"
#include "player/script/Convert.h"
#include "player/script/Strings.h"

#include <cmath>

namespace tesmar::script {

namespace {

// DefineFunction2 flags.
enum : uint16_t {
    PreloadThis = 0x01, SuppressThis = 0x02, PreloadArguments = 0x04, SuppressArguments = 0x08,
    PreloadSuper = 0x10, SuppressSuper = 0x20, PreloadRoot = 0x40, PreloadParent = 0x80,
    PreloadGlobal = 0x100,
};

// How much an action record takes: code, and for codes from 0x80 a 16-bit length.
bool decode(const std::vector<uint8_t>& b, size_t pc, size_t end, size_t& data, size_t& length)
{
    if (b[pc] < 0x80) {
        data = pc + 1;
        length = 0;
        return true;
    }
    if (pc + 3 > end) return false;
    length = size_t(b[pc + 1]) | (size_t(b[pc + 2]) << 8);
    data = pc + 3;
    return data + length <= end;
}

// `__constructor__` of an object, through getters but never `__resolve`.
Value constructorOf(VM& vm, Object* object)
{
    if (!object || object->kind() == ObjectKind::Clip || !vm.findProperty(object, "__constructor__")) return Value();
    return vm.get(object, "__constructor__");
}

Value superConstructor(VM& vm, Object* super)
{
    // The constructor that `super()` runs is the one that `extends` recorded
    // on the prototype just below the super object's: found down from `this`.
    Object* superProto = super->proto();
    Value thisValue = super->primitive;
    Object* level = thisValue.isObject() ? thisValue.object()->proto() : nullptr;
    for (int guard = 0; level && guard < 256; ++guard, level = level->proto())
        if (level->proto() == superProto) return constructorOf(vm, level);
    return constructorOf(vm, superProto);
}

// Runs the constructor that `super()` names on the object being built. A
// native one builds its state into that object (a subclass of Array, Date,
// Boolean... gets the native value), as `new` would have.
Value callSuperConstructor(VM& vm, const Value& constructor, const Value& thisValue,
                           const std::vector<Value>& args, Object* superProto)
{
    if (!constructor.isObject() || constructor.object()->kind() != ObjectKind::Function) return Value();
    auto* fn = static_cast<FunctionObject*>(constructor.object());
    if (fn->script || !fn->native || !thisValue.isObject()) return vm.call(constructor, thisValue, args, superProto);
    // Boolean, Number and String keep their value beside any object; an
    // array or a date has to have been built as one.
    Object* instance = thisValue.object();
    bool wrapsValue = fn->instanceKind == ObjectKind::Boolean || fn->instanceKind == ObjectKind::Number
                   || fn->instanceKind == ObjectKind::String;
    bool fits = fn->instanceKind == ObjectKind::Plain || instance->kind() == fn->instanceKind
             || (wrapsValue && instance->kind() == ObjectKind::Plain);
    if (!fits) return vm.call(constructor, thisValue, args, superProto);
    CallContext c{vm, thisValue, instance, args, fn, true};
    Value r = fn->native(c);
    return r.isObject() ? r : thisValue;
}

// A string, number or boolean as the object its class makes of it.
Value boxed(VM& vm, const Value& v)
{
    if (!v.isString() && !v.isNumber() && !v.isBoolean()) return v;
    Object* o = vm.toObject(v);
    return o ? Value(o) : Value();
}

} // namespace

// ---- entry points ------------------------------------------------------------

void Interpreter::runTopLevel(VM& vm, const ActionBytes& bytes, ClipObject* clip)
{
    Frame frame;
    frame.bytes = bytes;
    frame.blockEnd = bytes->size();
    frame.version = vm.swfVersion();
    frame.scopes = {clip};
    frame.locals = clip;
    frame.target = frame.originalTarget = clip;
    frame.thisValue = Value(static_cast<Object*>(clip));
    frame.registers.resize(4);
    struct Registers {
        VM& vm;
        std::vector<Value>* saved;
        ClipObject* savedClip;
        bool savedConstructing;
        ~Registers()
        {
            vm.blockRegisters_ = saved;
            vm.blockClip_ = savedClip;
            vm.constructing_ = savedConstructing;
        }
    } registers{vm, vm.blockRegisters_, vm.blockClip_, vm.constructing_};
    vm.blockRegisters_ = &frame.registers;
    vm.blockClip_ = clip;
    vm.constructing_ = false;
    frame.stack = std::move(vm.carriedStack_);
    vm.carriedStack_.clear();
    Interpreter interpreter(vm, frame);
    interpreter.runBlock();
    vm.carriedStack_ = std::move(frame.stack);
}

Value Interpreter::callScript(VM& vm, FunctionObject* fn, const Value& thisValue,
                              const std::vector<Value>& args, Object* superProto, bool constructing)
{
    const ScriptFunction& s = *fn->script;
    Frame frame;
    frame.bytes = s.bytes;
    frame.blockBegin = s.begin;
    frame.blockEnd = s.end;
    frame.version = s.swfVersion;
    frame.pool = s.pool;
    frame.callee = fn;
    frame.scopes = s.scope;
    Object* activation = vm.heap().make<Object>();
    frame.scopes.push_back(activation);
    frame.locals = activation;
    frame.target = frame.originalTarget = s.target;
    // SWF 5 functions act on the clip they are called on.
    if (s.swfVersion < 6 && thisValue.isObject() && thisValue.object()->kind() == ObjectKind::Clip)
        frame.target = frame.originalTarget = thisValue.object();
    // SWF 5 functions keep no closure: they see their clip's variables, not
    // those of the code around their definition.
    if (s.swfVersion < 6 && frame.target) frame.scopes = {frame.target, activation};
    frame.thisValue = thisValue;
    if (!superProto && thisValue.isObject()) {
        // A clip as the prototype leads `super` nowhere.
        Object* proto = thisValue.object()->proto();
        superProto = proto && proto->kind() != ObjectKind::Clip ? proto->proto() : nullptr;
    }
    frame.superProto = superProto;
    frame.registers.resize(s.isFunction2 ? std::max<size_t>(s.registerCount, 1) : 4);

    ArrayObject* arguments = vm.newArray(args);
    arguments->put("callee", Value(static_cast<Object*>(fn)), DontEnum);
    arguments->put("caller", vm.currentFunction_ ? Value(static_cast<Object*>(vm.currentFunction_)) : Value::null(),
                   DontEnum);
    // A function that keeps `arguments` in a register (or drops it) has no
    // variable of that name.
    if (!s.isFunction2 || !(s.flags & (SuppressArguments | PreloadArguments)))
        activation->put("arguments", Value(static_cast<Object*>(arguments)));
    // `this` is a local too, so that the function's code may assign it
    // without touching the caller's.
    if (!s.isFunction2 || !(s.flags & (SuppressThis | PreloadThis))) activation->put("this", thisValue);

    if (s.isFunction2) {
        size_t reg = 1;
        auto preload = [&](uint16_t flag, const Value& v) {
            if ((s.flags & flag) && reg < frame.registers.size()) frame.registers[reg++] = v;
        };
        // A value both preloaded and suppressed keeps its register but loads
        // as undefined; `arguments` loads either way.
        preload(PreloadThis, s.flags & SuppressThis ? Value() : thisValue);
        preload(PreloadArguments, Value(static_cast<Object*>(arguments)));
        if (s.flags & PreloadSuper) {
            Object* super = nullptr;
            if (!(s.flags & SuppressSuper)) {
                super = vm.heap().make<Object>(ObjectKind::Super);
                super->primitive = thisValue;
                super->setProto(superProto);
            }
            preload(PreloadSuper, super ? Value(super) : Value());
        }
        ClipObject* clip = frame.target && frame.target->kind() == ObjectKind::Clip
                         ? vm.liveClip(static_cast<ClipObject*>(frame.target)) : nullptr;
        preload(PreloadRoot, clip ? Value(static_cast<Object*>(clip->rootClip())) : Value());
        // A clip without a parent takes no register for it.
        if (clip && clip->parentClip()) preload(PreloadParent, Value(static_cast<Object*>(clip->parentClip())));
        preload(PreloadGlobal, Value(vm.global()));
    }
    // A function that keeps `this` in a register (or drops it) has no
    // variable of that name: from SWF 6 the name gives the function's clip.
    // `super` likewise.
    if (s.isFunction2 && (s.flags & (PreloadThis | SuppressThis)))
        frame.thisValue = s.swfVersion >= 6 ? Value(frame.originalTarget) : Value();
    if (s.isFunction2 && (s.flags & (PreloadSuper | SuppressSuper))) frame.superProto = nullptr;
    for (size_t i = 0; i < s.params.size(); ++i) {
        Value v = i < args.size() ? args[i] : Value();
        const auto& p = s.params[i];
        if (s.isFunction2 && p.reg != 0) {
            if (p.reg < frame.registers.size()) frame.registers[p.reg] = v;
        } else {
            activation->put(p.name, v);
        }
    }
    struct Current {
        VM& vm;
        FunctionObject* saved;
        bool savedConstructing;
        ~Current() { vm.currentFunction_ = saved; vm.constructing_ = savedConstructing; }
    } current{vm, vm.currentFunction_, vm.constructing_};
    vm.currentFunction_ = fn;
    vm.constructing_ = constructing;
    Interpreter interpreter(vm, frame);
    return interpreter.runBlock();
}

Value Interpreter::runBlock()
{
    struct CodeVersion {
        VM& vm;
        int saved;
        ~CodeVersion() { vm.codeVersion_ = saved; }
    } codeVersion{vm_, vm_.codeVersion_};
    vm_.codeVersion_ = f_.version;
    Outcome outcome = run(f_.blockBegin, f_.blockEnd);
    if (outcome.exit == Exit::Return && !f_.stack.empty()) return f_.stack.back();
    return Value();
}

// ---- the loop ---------------------------------------------------------------------

Interpreter::Outcome Interpreter::run(size_t begin, size_t end)
{
    const std::vector<uint8_t>& b = *f_.bytes;
    size_t pc = begin;
    while (pc < end) {
        vm_.countInstruction();
        uint8_t op = b[pc];
        if (op == 0) return {Exit::End};
        size_t data, length;
        if (!decode(b, pc, end, data, length)) return {Exit::End};
        size_t next = data + length;
        Outcome outcome{Exit::End};
        bool jumped = false;
        if (op == 0x99 || op == 0x9D) {                 // Jump, If
            ActionReader r(b, data, next);
            int offset = r.i16();
            bool take = op == 0x99 || vm_.toBoolean(pop());
            if (take) {
                int64_t target = int64_t(next) + offset;
                if (target < int64_t(f_.blockBegin) || target > int64_t(f_.blockEnd)) return {Exit::End};
                if (target < int64_t(begin) || target > int64_t(end))
                    return {Exit::Jump, size_t(target)};
                pc = size_t(target);
                jumped = true;
            }
        } else if (!execute(op, data, length, next, end, outcome) || vm_.pendingThrow_) {
            // A conversion's getter threw: the action has finished without it.
            if (vm_.pendingThrow_) {
                Value thrown = std::move(*vm_.pendingThrow_);
                vm_.pendingThrow_.reset();
                throw ScriptThrow{thrown};
            }
            if (outcome.exit != Exit::Jump) return outcome;
            if (outcome.target < f_.blockBegin || outcome.target > f_.blockEnd) return {Exit::End};
            if (outcome.target < begin || outcome.target > end) return outcome;
            pc = outcome.target;
            jumped = true;
        }
        if (!jumped) pc = next;
    }
    return {Exit::End};
}

Value* Interpreter::registerAt(size_t r)
{
    if (r < f_.registers.size()) return &f_.registers[r];
    std::vector<Value>* block = vm_.blockRegisters_;
    return block && r < block->size() ? &(*block)[r] : nullptr;
}

Value Interpreter::pop()
{
    if (f_.stack.empty()) return Value();
    Value v = std::move(f_.stack.back());
    f_.stack.pop_back();
    return v;
}

void Interpreter::push(Value v)
{
    if (f_.stack.size() >= vm_.limits().maxStack) vm_.abort();
    f_.stack.push_back(std::move(v));
}

std::vector<Value> Interpreter::popArgs()
{
    double n = vm_.toNumber(pop());
    size_t count = n > 0 ? size_t(std::min(n, double(f_.stack.size()))) : 0;
    std::vector<Value> args;
    args.reserve(count);
    for (size_t i = 0; i < count; ++i) args.push_back(pop());
    return args;
}

void Interpreter::skipActions(size_t count, size_t& pc, size_t end)
{
    const std::vector<uint8_t>& b = *f_.bytes;
    size_t at = pc;
    size_t data, length;
    for (size_t i = 0; i < count && at < end; ++i) {
        if (!decode(b, at, end, data, length)) { pc = end; return; }
        at = data + length;
    }
    pc = at;
}

// ---- blocks: with, try, function definitions -------------------------------------------

Interpreter::Outcome Interpreter::runWith(size_t data, size_t length, size_t& pc, size_t end)
{
    ActionReader r(*f_.bytes, data, data + length, f_.version < 6);
    size_t size = r.u16();
    size_t bodyBegin = data + length;
    size_t bodyEnd = std::min(bodyBegin + size, end);
    Object* scope = vm_.toObject(pop());
    if (scope) f_.scopes.push_back(scope);
    size_t depth = f_.scopes.size();
    Outcome outcome = run(bodyBegin, bodyEnd);
    if (scope && f_.scopes.size() >= depth) f_.scopes.resize(depth - 1);
    pc = bodyEnd;
    return outcome;
}

Interpreter::Outcome Interpreter::runTry(size_t data, size_t length, size_t& pc, size_t end)
{
    ActionReader r(*f_.bytes, data, data + length, f_.version < 6);
    uint8_t flags = r.u8();
    size_t trySize = r.u16(), catchSize = r.u16(), finallySize = r.u16();
    bool catchInRegister = flags & 4;
    std::string catchName;
    uint8_t catchRegister = 0;
    if (catchInRegister) catchRegister = r.u8(); else catchName = r.cstring();
    bool hasCatch = flags & 1, hasFinally = flags & 2;

    size_t tryBegin = data + length;
    size_t tryEnd = std::min(tryBegin + trySize, end);
    size_t catchEnd = std::min(tryEnd + catchSize, end);
    size_t finallyEnd = std::min(catchEnd + finallySize, end);
    pc = finallyEnd;

    Outcome outcome{Exit::End};
    bool pending = false;
    Value thrown;
    size_t stackDepth = f_.stack.size();
    try {
        outcome = run(tryBegin, tryEnd);
    } catch (const ScriptThrow& t) {
        pending = true;
        thrown = t.value;
    }
    if (pending && hasCatch) {
        pending = false;
        // A throw drops what the try block pushed.
        if (f_.stack.size() > stackDepth) f_.stack.resize(stackDepth);
        if (catchInRegister) {
            if (Value* slot = registerAt(catchRegister)) *slot = thrown;
        } else {
            setVariable(catchName, thrown);
        }
        if (hasFinally) {
            try {
                outcome = run(tryEnd, catchEnd);
            } catch (const ScriptThrow& t) {
                pending = true;
                thrown = t.value;
            }
        } else {
            outcome = run(tryEnd, catchEnd);
        }
    }
    if (hasFinally) {
        Outcome finallyOutcome = run(catchEnd, finallyEnd);
        if (finallyOutcome.exit != Exit::End) return finallyOutcome;
    }
    if (pending) throw ScriptThrow{thrown};
    return outcome;
}

void Interpreter::defineFunction(size_t data, size_t length, size_t& pc, size_t end, bool version2)
{
    ActionReader r(*f_.bytes, data, data + length, f_.version < 6);
    auto fn = std::make_unique<ScriptFunction>();
    std::string name = r.cstring();
    size_t paramCount = r.u16();
    if (version2) {
        fn->isFunction2 = true;
        fn->registerCount = r.u8();
        fn->flags = r.u16();
    }
    for (size_t i = 0; i < paramCount && !r.failed(); ++i) {
        ScriptFunction::Param p;
        if (version2) p.reg = r.u8();
        p.name = r.cstring();
        fn->params.push_back(std::move(p));
    }
    size_t codeSize = r.u16();
    size_t bodyBegin = data + length;
    size_t bodyEnd = std::min(bodyBegin + codeSize, end);
    pc = bodyEnd;
    fn->bytes = f_.bytes;
    fn->begin = bodyBegin;
    fn->end = bodyEnd;
    // Functions run by SWF 5 rules even in an older movie (booleans, no #ERROR#).
    fn->swfVersion = std::max(f_.version, 5);
    fn->scope = f_.scopes;
    fn->target = f_.originalTarget;
    fn->pool = f_.pool;
    FunctionObject* function = vm_.newScriptFunction(std::move(fn));
    if (name.empty())
        push(Value(static_cast<Object*>(function)));
    else if (isPathOutsideFunction(name))
        setVariable(name, Value(static_cast<Object*>(function)));
    else
        vm_.set(f_.locals, name, Value(static_cast<Object*>(function)));
}

bool Interpreter::isPathOutsideFunction(const std::string& name)
{
    // Inside a function every declared name is a local, paths included.
    if (f_.callee) return false;
    std::string path, variable;
    return splitPath(name, path, variable) || name.find('/') != std::string::npos;
}

Object* Interpreter::withScopeOwning(const std::string& name)
{
    for (size_t i = f_.scopes.size(); i-- > 0 && f_.scopes[i] != f_.locals;)
        if (vm_.hasOwn(f_.scopes[i], name)) return f_.scopes[i];
    return f_.locals;
}

// ---- operators ---------------------------------------------------------------------

Value Interpreter::add2(const Value& a, const Value& b)
{
    // An operand whose valueOf gives an object converts from itself again
    // (its toString, or valueOf once more).
    Value pb = vm_.toPrimitive(b);
    if (pb.isObject()) pb = b;
    Value pa = vm_.toPrimitive(a);
    if (pa.isObject()) pa = a;
    if (pa.isString() || pb.isString()) {
        std::string s = vm_.toString(pa) + vm_.toString(pb);
        vm_.checkString(s.size());
        return Value(std::move(s));
    }
    return Value(vm_.toNumber(pa) + vm_.toNumber(pb));
}

Value Interpreter::less2(const Value& a, const Value& b)
{
    // An operand that stays an object after valueOf makes the comparison false.
    auto isPlainObject = [](const Value& v) { return v.isObject() && v.object()->kind() != ObjectKind::Clip; };
    Value pa = vm_.toPrimitive(a);
    if (isPlainObject(pa)) return Value(false);
    Value pb = vm_.toPrimitive(b);
    if (isPlainObject(pb)) return Value(false);
    if (pa.isString() && pb.isString()) return Value(compareCodePoints(pa.string(), pb.string()) < 0);
    double x = vm_.toNumber(pa), y = vm_.toNumber(pb);
    if (std::isnan(x) || std::isnan(y)) return Value();
    return Value(x < y);
}

Value Interpreter::callFunction(const std::string& name, const std::vector<Value>& args)
{
    Value function;
    Object* holder = nullptr;
    std::string path, variable;
    if (splitPath(name, path, variable)) {
        holder = resolvePath(path);
        function = vm_.get(holder, variable);
    } else {
        lookup(name, function, &holder);
    }
    // A function found among a function's locals runs with the activation
    // as `this`, like one found on any other scope object.
    Value thisValue = holder ? Value(holder) : Value(f_.originalTarget);
    if (function.isObject() && function.object()->kind() == ObjectKind::Super) {
        Object* superProto = function.object()->proto();
        Value constructor = superConstructor(vm_, function.object());
        return callSuperConstructor(vm_, constructor, function.object()->primitive, args,
                                    superProto ? superProto->proto() : nullptr);
    }
    return vm_.call(function, thisValue, args);
}

Value Interpreter::callMethod(const Value& object, const Value& name, const std::vector<Value>& args)
{
    std::string method = name.isUndefined() ? "" : vm_.toString(name);
    if (object.isObject() && object.object()->kind() == ObjectKind::Super) {
        Object* superProto = object.object()->proto();
        Value thisValue = object.object()->primitive;
        Object* above = superProto ? superProto->proto() : nullptr;
        if (method.empty()) return callSuperConstructor(vm_, superConstructor(vm_, object.object()), thisValue, args, above);
        return vm_.call(vm_.get(superProto, method), thisValue, args, above);
    }
    // A primitive is boxed first and the object is `this`.
    Value self = boxed(vm_, object);
    if (method.empty()) return vm_.call(self, Value(), args);
    Value function = vm_.getOf(self, method);
    return vm_.call(function, self, args);
}

Value Interpreter::newMethod(const Value& object, const Value& name, const std::vector<Value>& args)
{
    std::string method = name.isUndefined() ? "" : vm_.toString(name);
    Value self = boxed(vm_, object);
    Value constructor = method.empty() ? self : vm_.getOf(self, method);
    return vm_.construct(constructor, args);
}

} // namespace tesmar::script
