// The action records themselves: one case per action code of SWF 3 to 7.

#include "player/script/Interpreter.h"

#include "player/script/ActionReader.h"
#include "player/script/Convert.h"
#include "player/script/Strings.h"

#include <cmath>

namespace tesmar::script {

// Returns false when the block ends here (outcome says how). `pc` is where
// the next action starts; actions that own the bytes after them (DefineFunction,
// With, Try) and the frame waits move it.
bool Interpreter::execute(uint8_t op, size_t data, size_t length, size_t& pc, size_t end, Outcome& outcome)
{
    const std::vector<uint8_t>& b = *f_.bytes;
    ActionReader r(b, data, data + length, f_.version < 6);
    auto number = [&](const Value& v) { return vm_.toNumber(v); };
    // Operands convert in the order the player calls valueOf: the right one
    // first, except for Add, Multiply and Less.
    auto popNumbers = [&](double& x, double& y, bool leftFirst = false) {
        Value b = pop();
        Value a = pop();
        if (leftFirst) {
            x = number(a);
            y = number(b);
        } else {
            y = number(b);
            x = number(a);
        }
    };
    auto popStrings = [&](std::string& x, std::string& y) {
        Value b = pop();
        Value a = pop();
        y = vm_.toString(b);
        x = vm_.toString(a);
    };
    auto binaryNumber = [&](auto fn, bool leftFirst = false) {
        double x, y;
        popNumbers(x, y, leftFirst);
        push(Value(fn(x, y)));
    };
    auto binaryInt = [&](auto fn) {
        Value b = pop();
        Value a = pop();
        int32_t x = vm_.toInt32(a);
        int32_t y = vm_.toInt32(b);
        push(Value(double(fn(x, y))));
    };
    auto blockOutcome = [&](Outcome o) {
        if (o.exit == Exit::End) return true;
        outcome = o;
        return false;
    };

    switch (op) {
    // SWF 3 timeline actions.
    case 0x04: case 0x05: case 0x06: case 0x07: {       // NextFrame, PrevFrame, Play, Stop
        ClipObject* clip = targetClip();
        if (!clip) break;
        if (op == 0x04) clip->gotoFrame(clip->currentFrame() + 1, false);
        else if (op == 0x05) clip->gotoFrame(std::max(1, clip->currentFrame() - 1), false);
        else if (op == 0x06) clip->play();
        else clip->stop();
        break;
    }
    case 0x08: case 0x09: break;                       // ToggleQuality, StopSounds
    case 0x81: {                                       // GotoFrame
        ClipObject* clip = targetClip();
        if (clip) clip->gotoFrame(r.u16() + 1, false);
        break;
    }
    case 0x83: {                                       // GetURL
        std::string url = r.cstring();
        std::string target = r.cstring();
        getUrl(url, target, 0);
        break;
    }
    case 0x8A: {                                       // WaitForFrame
        int frame = r.u16() + 1;
        size_t skip = r.u8();
        ClipObject* clip = targetClip();
        // A movie that has loaded counts every frame up to the player's
        // limit of 16000 as loaded, whether the timeline has it or not.
        const bool complete = clip && clip->framesLoaded() >= clip->totalFrames();
        const bool loaded = !clip || (complete ? frame <= 16001 : clip->framesLoaded() >= frame);
        if (!loaded) skipActions(skip, pc, end);
        break;
    }
    case 0x8B: setTarget(r.cstring()); break;           // SetTarget
    case 0x8C: {                                       // GoToLabel
        ClipObject* clip = targetClip();
        std::string label = r.cstring();
        if (clip) {
            int frame = clip->labelFrame(label);
            if (frame > 0) clip->gotoFrame(frame, false);
        }
        break;
    }

    // SWF 4 stack machine.
    case 0x96: {                                       // Push
        while (!r.atEnd()) {
            uint8_t type = r.u8();
            switch (type) {
            case 0: push(Value(r.cstring())); break;
            case 1: push(Value(double(r.f32()))); break;
            case 2: push(Value::null()); break;
            case 3: push(Value()); break;
            case 4: {
                uint8_t reg = r.u8();
                Value* slot = registerAt(reg);
                push(slot ? *slot : Value());
                break;
            }
            case 5: push(Value(r.u8() != 0)); break;
            case 6: push(Value(r.f64())); break;
            case 7: push(Value(double(int32_t(r.u32())))); break;
            case 8: case 9: {
                size_t index = type == 8 ? r.u8() : r.u16();
                if (f_.pool && index < f_.pool->size()) push(Value((*f_.pool)[index]));
                else push(Value());
                break;
            }
            default: return blockOutcome({Exit::End});
            }
            if (r.failed()) break;
        }
        break;
    }
    case 0x17: pop(); break;                           // Pop
    case 0x0A: binaryNumber([](double x, double y) { return x + y; }, true); break;
    case 0x0B: binaryNumber([](double x, double y) { return x - y; }); break;
    case 0x0C: binaryNumber([](double x, double y) { return x * y; }, true); break;
    case 0x0D: {                                       // Divide
        double x, y;
        popNumbers(x, y);
        if (y == 0 && f_.version < 5) push(Value("#ERROR#"));
        else push(Value(x / y));
        break;
    }
    case 0x0E: {                                       // Equals (numeric)
        double x, y;
        popNumbers(x, y);
        push(Value(x == y));
        break;
    }
    case 0x0F: {                                       // Less (numeric)
        double x, y;
        popNumbers(x, y, true);
        push(Value(x < y));
        break;
    }
    case 0x10: {                                       // And
        Value b = pop();
        bool x = vm_.toBoolean(pop());
        bool y = vm_.toBoolean(b);
        push(Value(x && y));
        break;
    }
    case 0x11: {                                       // Or
        Value b = pop();
        bool x = vm_.toBoolean(pop());
        bool y = vm_.toBoolean(b);
        push(Value(x || y));
        break;
    }
    case 0x12: push(Value(!vm_.toBoolean(pop()))); break;   // Not
    case 0x13: {                                       // StringEquals
        std::string x, y;
        popStrings(x, y);
        push(Value(x == y));
        break;
    }
    case 0x29: {                                       // StringLess
        std::string x, y;
        popStrings(x, y);
        push(Value(x < y));
        break;
    }
    case 0x68: {                                       // StringGreater
        std::string x, y;
        popStrings(x, y);
        push(Value(x > y));
        break;
    }
    case 0x14: case 0x31:                              // StringLength, MBStringLength
        push(Value(double(utf16Length(vm_.toString(pop())))));
        break;
    case 0x21: {                                       // StringAdd
        std::string x, y;
        popStrings(x, y);
        vm_.checkString(x.size() + y.size());
        push(Value(x + y));
        break;
    }
    case 0x15: case 0x35: {                            // StringExtract, MBStringExtract
        double count = vm_.toInt32(pop());
        double index = vm_.toInt32(pop());
        std::u16string s = toUtf16(vm_.toString(pop()));
        // 1-based index; a negative count takes the rest.
        double from = std::max(0.0, index - 1);
        if (from >= double(s.size())) { push(Value("")); break; }
        double n = count;
        size_t take = n < 0 ? s.size() : size_t(std::min(n, double(s.size())));
        push(Value(toUtf8(s.substr(size_t(from), take))));
        break;
    }
    case 0x18: {                                       // ToInteger
        double n = number(pop());
        push(Value(std::isnan(n) ? 0.0 : f_.version >= 5 ? double(script::toInt32(n)) : std::trunc(n)));
        break;
    }
    case 0x32: case 0x36: {                            // CharToAscii, MBCharToAscii
        std::u16string s = toUtf16(vm_.toString(pop()));
        // Half of a surrogate pair reads as the replacement character.
        char16_t first = s.empty() ? 0 : s[0];
        if (first >= 0xD800 && first < 0xE000) first = 0xFFFD;
        push(s.empty() ? Value(NAN) : Value(double(first)));
        break;
    }
    case 0x33: case 0x37: {                            // AsciiToChar, MBAsciiToChar
        uint32_t code = uint32_t(vm_.toInt32(pop())) & 0xFFFF;
        push(Value(code ? toUtf8(std::u16string(1, char16_t(code))) : std::string()));
        break;
    }
    case 0x1C: {                                       // GetVariable
        Value value = getVariable(vm_.toString(pop()));
        // SWF 4 has no clip values: a name that leads to a clip reads as nothing.
        const bool clip = value.isObject() && value.object()->kind() == ObjectKind::Clip;
        push(clip && f_.version < 5 ? Value() : value);
        break;
    }
    case 0x1D: {                                       // SetVariable
        Value value = pop();
        setVariable(vm_.toString(pop()), value);
        break;
    }
    case 0x9A: {                                       // GetURL2
        int flags = r.u8();
        std::string target = vm_.toString(pop());
        std::string url = vm_.toString(pop());
        getUrl(url, target, flags);
        break;
    }
    case 0x9F: {                                       // GotoFrame2
        uint8_t flags = r.u8();
        int bias = (flags & 2) ? r.u16() : 0;
        gotoFrame2(pop(), flags & 1, bias);
        break;
    }
    case 0x20: setTarget(vm_.toString(pop())); break;   // SetTarget2
    case 0x22: {                                       // GetProperty
        double index = number(pop());
        std::string target = vm_.toString(pop());
        push(getProperty(target.empty() ? f_.target : resolveTarget(target), index));
        break;
    }
    case 0x23: {                                       // SetProperty
        Value value = pop();
        double index = number(pop());
        std::string target = vm_.toString(pop());
        setProperty(target.empty() ? f_.target : resolveTarget(target), index, value);
        break;
    }
    case 0x24: {                                       // CloneSprite
        int depth = vm_.toInt32(pop());
        std::string name = vm_.toString(pop());
        Object* source = resolvePath(vm_.toString(pop()));
        if (source && source->kind() == ObjectKind::Clip)
            static_cast<ClipObject*>(source)->duplicate(name, depth);
        break;
    }
    case 0x25: {                                       // RemoveSprite
        Object* clip = resolvePath(vm_.toString(pop()));
        if (clip && clip->kind() == ObjectKind::Clip) static_cast<ClipObject*>(clip)->removeSelf();
        break;
    }
    case 0x26: {                                       // Trace
        Value v = pop();
        vm_.trace(v.isUndefined() ? "undefined" : vm_.toString(v));
        break;
    }
    case 0x27: {                                       // StartDrag
        Object* clip = resolvePath(vm_.toString(pop()));
        bool lockCenter = vm_.toBoolean(pop());
        std::optional<std::array<double, 4>> bounds;
        if (vm_.toBoolean(pop())) {
            double y2 = number(pop()), x2 = number(pop()), y1 = number(pop()), x1 = number(pop());
            bounds = std::array<double, 4>{x1, y1, x2, y2};
        }
        if (clip && clip->kind() == ObjectKind::Clip)
            static_cast<ClipObject*>(clip)->startDrag(lockCenter, bounds);
        break;
    }
    case 0x28: vm_.host().stopDrag(); break;           // EndDrag
    case 0x8D: {                                       // WaitForFrame2
        size_t skip = r.u8();
        if (!frameLoaded(pop())) skipActions(skip, pc, end);
        break;
    }
    case 0x9E: callFrame(pop()); break;                // Call
    case 0x34: push(Value(std::floor(vm_.host().timeMs()))); break;   // GetTime
    case 0x30: {                                       // RandomNumber
        double max = std::trunc(number(pop()));
        push(Value(max >= 1 ? double(vm_.random()() % uint64_t(std::min(max, 2147483647.0))) : 0.0));
        break;
    }

    // SWF 5.
    case 0x88: {                                       // ConstantPool
        size_t count = r.u16();
        auto pool = std::make_shared<std::vector<std::string>>();
        for (size_t i = 0; i < count && !r.atEnd(); ++i) pool->push_back(r.cstring());
        f_.pool = std::move(pool);
        break;
    }
    case 0x9B: defineFunction(data, length, pc, end, false); break;
    case 0x8E: defineFunction(data, length, pc, end, true); break;
    case 0x3C: {                                       // DefineLocal
        Value value = pop();
        std::string name = vm_.toString(pop());
        if (isPathOutsideFunction(name)) setVariable(name, value);
        else vm_.set(withScopeOwning(name), name, value);
        break;
    }
    case 0x41: {                                       // DefineLocal2
        std::string name = vm_.toString(pop());
        Object* where = f_.locals;
        std::string variable = name, path;
        if (isPathOutsideFunction(name)) {
            if (!splitPath(name, path, variable)) variable.clear();
            where = variable.empty() ? nullptr : resolvePath(path);
        }
        if (where && !vm_.has(where, variable)) vm_.set(where, variable, Value());
        break;
    }
    case 0x3A: {                                       // Delete
        std::string name = vm_.toString(pop());
        Object* object = vm_.toObject(pop());
        push(Value(object && vm_.remove(object, name)));
        break;
    }
    case 0x3B: {                                       // Delete2
        std::string name = vm_.toString(pop());
        bool removed = false;
        std::string path, variable;
        if (splitPath(name, path, variable)) {
            Object* object = resolvePath(path);
            if (!object) {
                // The player warns when the path ends at a primitive value.
                Value at = getVariable(path);
                if (at.isString() || at.isNumber() || at.isBoolean())
                    vm_.trace(kPrimitivePathWarning);
            }
            push(Value(object && vm_.remove(object, variable)));
            break;
        }
        for (size_t i = f_.scopes.size(); i-- > 0 && !removed;) {
            if (f_.scopes[i]->findOwn(name)) { removed = vm_.remove(f_.scopes[i], name); goto deleted; }
        }
        if (vm_.global()->findOwn(name)) removed = vm_.remove(vm_.global(), name);
    deleted:
        push(Value(removed));
        break;
    }
    case 0x46: case 0x55: {                            // Enumerate, Enumerate2
        Value subject = pop();
        Object* object = nullptr;
        if (op == 0x46) {
            std::string name = vm_.toString(subject);
            Value v = getVariable(name);
            object = v.isObject() ? v.object() : nullptr;
        } else {
            object = subject.isObject() ? subject.object() : nullptr;
        }
        // The end of the names is marked by undefined.
        push(Value());
        // Pushed oldest first so that the loop pops the newest name first.
        if (object) {
            std::vector<std::string> names = vm_.enumerate(object);
            for (auto it = names.rbegin(); it != names.rend(); ++it) push(Value(*it));
        }
        break;
    }
    case 0x49: {                                       // Equals2
        Value y = pop();
        Value x = pop();
        push(Value(vm_.looseEquals(x, y)));
        break;
    }
    case 0x66: {                                       // StrictEquals
        Value y = pop();
        Value x = pop();
        push(Value(VM::strictEquals(x, y)));
        break;
    }
    case 0x47: {                                       // Add2
        Value y = pop();
        Value x = pop();
        push(add2(x, y));
        break;
    }
    case 0x48: {                                       // Less2
        Value y = pop();
        Value x = pop();
        push(less2(x, y));
        break;
    }
    case 0x67: {                                       // Greater
        Value y = pop();
        Value x = pop();
        push(less2(y, x));
        break;
    }
    case 0x3F: binaryNumber([](double x, double y) { return std::fmod(x, y); }); break;   // Modulo
    case 0x60: binaryInt([](int32_t x, int32_t y) { return x & y; }); break;
    case 0x61: binaryInt([](int32_t x, int32_t y) { return x | y; }); break;
    case 0x62: binaryInt([](int32_t x, int32_t y) { return x ^ y; }); break;
    case 0x63: binaryInt([](int32_t x, int32_t y) { return int32_t(uint32_t(x) << (y & 31)); }); break;
    case 0x64: binaryInt([](int32_t x, int32_t y) { return x >> (y & 31); }); break;
    case 0x65: {                                       // BitURShift
        Value b = pop();
        uint32_t x = uint32_t(vm_.toInt32(pop()));
        int32_t y = vm_.toInt32(b);
        uint32_t result = x >> (y & 31);
        // Up to SWF 8 the result reads back as a signed 32-bit integer.
        push(Value(f_.version <= 8 ? double(int32_t(result)) : double(result)));
        break;
    }
    case 0x50: push(Value(number(pop()) + 1)); break;  // Increment
    case 0x51: push(Value(number(pop()) - 1)); break;  // Decrement
    case 0x4A: push(Value(number(pop()))); break;      // ToNumber
    case 0x4B: push(Value(vm_.toString(pop()))); break;   // ToString
    case 0x44: push(Value(vm_.typeOf(pop()))); break;  // TypeOf
    case 0x45: {                                       // TargetPath
        Value v = pop();
        if (v.isObject() && v.object()->kind() == ObjectKind::Clip) {
            ClipObject* clip = vm_.liveClip(static_cast<ClipObject*>(v.object()));
            push(clip ? Value(clip->targetPath()) : Value());
        } else {
            push(Value());
        }
        break;
    }
    case 0x4C: {                                       // PushDuplicate
        Value v = f_.stack.empty() ? Value() : f_.stack.back();
        push(v);
        break;
    }
    case 0x4D: {                                       // StackSwap
        Value y = pop();
        Value x = pop();
        push(y);
        push(x);
        break;
    }
    case 0x87: {                                       // StoreRegister
        uint8_t reg = r.u8();
        if (Value* slot = registerAt(reg)) *slot = f_.stack.empty() ? Value() : f_.stack.back();
        break;
    }
    case 0x3E: {                                       // Return
        Value v = pop();
        f_.stack.clear();
        f_.stack.push_back(v);
        outcome = {Exit::Return};
        return false;
    }
    case 0x3D: {                                       // CallFunction
        std::string name = vm_.toString(pop());
        std::vector<Value> args = popArgs();
        push(callFunction(name, args));
        if (baseRemovedByCall()) return endAfterCall(outcome);
        break;
    }
    case 0x52: {                                       // CallMethod
        Value name = pop();
        Value object = pop();
        std::vector<Value> args = popArgs();
        push(callMethod(object, name, args));
        if (object.isObject() && baseRemovedByCall()) return endAfterCall(outcome);
        break;
    }
    case 0x40: {                                       // NewObject
        std::string name = vm_.toString(pop());
        std::vector<Value> args = popArgs();
        push(vm_.construct(getVariable(name), args));
        if (baseRemovedByCall()) return endAfterCall(outcome);
        break;
    }
    case 0x53: {                                       // NewMethod
        Value name = pop();
        Value object = pop();
        std::vector<Value> args = popArgs();
        push(newMethod(object, name, args));
        if (object.isObject() && baseRemovedByCall()) return endAfterCall(outcome);
        break;
    }
    case 0x42: {                                       // InitArray
        // A count beyond the stack gives undefined and takes nothing.
        double n = number(pop());
        if (n > double(f_.stack.size())) { push(Value()); break; }
        push(Value(n));
        std::vector<Value> items = popArgs();
        push(Value(static_cast<Object*>(vm_.newArray(items))));
        break;
    }
    case 0x43: {                                       // InitObject
        double n = number(pop());
        if (n * 2 > double(f_.stack.size())) { push(Value()); break; }
        size_t count = n > 0 ? size_t(n) : 0;
        Object* object = vm_.newObject();
        for (size_t i = 0; i < count; ++i) {
            Value value = pop();
            vm_.set(object, vm_.toString(pop()), value);
        }
        push(Value(object));
        break;
    }
    case 0x4E: {                                       // GetMember
        Value name = pop();
        Value object = pop();
        push(vm_.getOf(object, vm_.toString(name)));
        break;
    }
    case 0x4F: {                                       // SetMember
        Value value = pop();
        Value name = pop();
        Value object = pop();
        if (object.isObject()) vm_.set(object.object(), vm_.toString(name), value);
        break;
    }
    case 0x94: return blockOutcome(runWith(data, length, pc, end));
    case 0x8F: return blockOutcome(runTry(data, length, pc, end));
    case 0x2A: throw ScriptThrow{pop()};               // Throw

    // SWF 6 and 7.
    case 0x54: {                                       // InstanceOf
        Value constructor = pop();
        Value object = pop();
        // A primitive is an instance of nothing; a primitive class is boxed.
        Object* cls = object.isObject() ? vm_.toObject(constructor) : nullptr;
        push(Value(cls && vm_.instanceOf(object, cls)));
        break;
    }
    case 0x69: {                                       // Extends
        Value superclass = pop();
        Value subclass = pop();
        if (!superclass.isObject() || !subclass.isObject()) break;
        Object* prototype = vm_.heap().make<Object>();
        Value superPrototype = vm_.get(superclass.object(), "prototype");
        prototype->setProto(superPrototype.isObject() ? superPrototype.object() : nullptr);
        prototype->put("__constructor__", superclass, DontEnum);
        subclass.object()->put("prototype", Value(prototype), DontEnum | DontDelete);
        break;
    }
    case 0x2B: {                                       // CastOp
        Value object = pop();
        Value constructor = pop();
        // A primitive is boxed, and then refused.
        if (!object.isObject()) {
            vm_.toObject(object);
            push(Value::null());
            break;
        }
        Object* cls = vm_.toObject(constructor);
        push(cls && vm_.instanceOf(object, cls) ? object : Value::null());
        break;
    }
    case 0x2C: {                                       // ImplementsOp
        Value constructor = pop();
        std::vector<Value> interfaces = popArgs();
        if (!constructor.isObject()) break;
        Value prototype = vm_.get(constructor.object(), "prototype");
        if (!prototype.isObject()) break;
        prototype.object()->put("__interfaces__", Value(static_cast<Object*>(vm_.newArray(interfaces))), DontEnum);
        break;
    }
    default:
        // Unknown actions are skipped by their length.
        break;
    }
    return true;
}

} // namespace tesmar::script
