#pragma once
// The ActionScript 1/2 machine of one player: the global object, built-in
// classes, member access with getters and clip properties, conversions that
// may call script code, calls, intervals and the limits on running scripts.

#include "player/script/Function.h"
#include "player/script/Heap.h"
#include "player/script/Host.h"

#include <cstdint>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace tesmar::script {

// A script `throw` travelling through native code.
struct ScriptThrow {
    Value value;
};
// The scripts of the movie were stopped (budget or limits exceeded).
struct ScriptAbort {};
// Calls nested too deeply (or a prototype chain without end): the action
// block that is running ends at once, past any try/catch; later blocks run.
// Whoever catches ScriptAbort catches this too.
struct BlockAbort : ScriptAbort {};

// Sanitizer builds need several times the native stack per script call
// (still inside the 8 MB of a main thread).
#if defined(__SANITIZE_ADDRESS__)
#define TESMAR_STACK_SCALE 12
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESMAR_STACK_SCALE 12
#endif
#endif
#ifndef TESMAR_STACK_SCALE
#define TESMAR_STACK_SCALE 1
#endif

struct Limits {
    // Levels of script, the action block itself counted as the first.
    int maxCallDepth = 256;
    // Calls of one property's getter, setter and watcher nested inside one
    // another; one more is skipped (a getter gives the stored value).
    int maxAccessorDepth = 65;
    // Native stack that nested calls may use; a deeper call is abandoned like
    // one past maxCallDepth (a Windows thread has 1 MB in all).
    size_t maxNativeStack = (640u << 10) * TESMAR_STACK_SCALE;
    uint64_t instructionsPerFrame = 20'000'000;
    double millisecondsPerFrame = 2000;
    size_t maxStack = 1 << 20;
    size_t maxStringBytes = 32u << 20;
    size_t maxProperties = 1u << 22;
};

struct Prototypes {
    Object* object = nullptr;
    Object* function = nullptr;
    Object* array = nullptr;
    Object* string = nullptr;
    Object* number = nullptr;
    Object* boolean = nullptr;
    Object* date = nullptr;
    Object* error = nullptr;
    Object* movieClip = nullptr;
};

class VM {
public:
    VM(ScriptHost& host, int swfVersion, Limits limits = {});
    ~VM();

    int swfVersion() const { return swfVersion_; }
    Heap& heap() { return heap_; }
    ScriptHost& host() { return host_; }
    Object* global() { return global_; }
    Prototypes& protos() { return protos_; }
    const Limits& limits() const { return limits_; }
    // The movie's random numbers (Math.random, RandomNumber): seeded from
    // the wall clock, so a movie does not repeat itself from run to run.
    std::mt19937& random() { return random_; }

    // Runs one action block (DoAction, a frame script) on a clip.
    void runActions(const ActionBytes& bytes, ClipObject* clip);
    // Starts the script budget of a new frame; stopped scripts stay stopped.
    void beginFrame();
    bool stopped() const { return stopped_; }
    // Calls due intervals (setInterval); the stage calls it once per tick.
    void runIntervals();
    void collectGarbage();

    // Calls from natives and from the stage (clip events, buttons).
    // superProto: where `super` of the called function looks (null: from `this`).
    Value call(const Value& function, const Value& thisValue, const std::vector<Value>& args,
               Object* superProto = nullptr);
    Value callMethod(const Value& object, const std::string& name, const std::vector<Value>& args);
    Value construct(const Value& constructor, const std::vector<Value>& args);
    // Stage entry points: catch script errors so that one event never stops the next.
    Value callSafely(const Value& function, const Value& thisValue, const std::vector<Value>& args);

    // Member access through prototypes, getters/setters and virtual properties.
    Value get(Object* object, const std::string& name);
    Value getOf(const Value& base, const std::string& name);
    void set(Object* object, const std::string& name, const Value& value);
    bool has(Object* object, const std::string& name);
    Property* findProperty(Object* object, const std::string& name, Object** holder = nullptr);
    bool hasOwn(Object* object, const std::string& name);
    // Runs the watcher of object.name, if any, on an assignment of newValue;
    // gives the value to store.
    Value notifyWatcher(Object* object, const std::string& name, const Value& newValue);
    bool remove(Object* object, const std::string& name);
    // Names that for..in lists: newest first, own before inherited.
    std::vector<std::string> enumerate(Object* object);

    // Conversions.
    double toNumber(const Value& v);
    std::string toString(const Value& v);
    bool toBoolean(const Value& v) const;
    Value toPrimitive(const Value& v, bool preferString = false);
    Object* toObject(const Value& v);
    int32_t toInt32(const Value& v);
    std::string typeOf(const Value& v);
    bool instanceOf(const Value& v, Object* constructor);
    // Abstract equality (Equals2) and strict equality.
    bool looseEquals(const Value& a, const Value& b);
    static bool strictEquals(const Value& a, const Value& b);

    // Object creation.
    Object* newObject();
    ArrayObject* newArray(const std::vector<Value>& items = {});
    FunctionObject* newNative(NativeFunction fn, ObjectKind instanceKind = ObjectKind::Plain);
    FunctionObject* defineNative(Object* on, const char* name, NativeFunction fn, uint16_t flags = DontEnum);
    // A script function with its fresh prototype object.
    FunctionObject* newScriptFunction(std::unique_ptr<ScriptFunction> script);
    // Makes `prototype` and its `constructor` for a function.
    Object* attachPrototype(FunctionObject* function, Object* prototype = nullptr);
    Object* createInstance(FunctionObject* constructor);

    // Movie clip references: a removed clip answers through the clip now at
    // its path, or null.
    ClipObject* liveClip(ClipObject* clip);
    ClipObject* resolveClipPath(ClipObject* base, const std::string& path);

    // Intervals.
    int addInterval(const Value& function, const Value& thisValue, const std::string& method,
                    double delayMs, std::vector<Value> args, bool once);
    void clearInterval(int id);
    // A call made once the current frame's scripts have run, before due
    // intervals: the answers of dialogs and connections that come "later".
    void callAfterFrame(const Value& function, const Value& thisValue, std::vector<Value> args);

    // Budget checks made by the interpreter. Exceeding a limit stops the
    // movie's scripts for good.
    [[noreturn]] void abort();
    void countInstruction();
    void checkString(size_t bytes);
    int callDepth() const { return depth_; }
    // Whether the script function running was called by `new`.
    bool inConstructor() const { return constructing_; }
    // The clip whose code is running: the running function's clip, else the
    // clip of the action block; null when none is.
    ClipObject* currentClip() const
    {
        Object* t = currentFunction_ && currentFunction_->script ? currentFunction_->script->target : blockClip_;
        return t && t->kind() == ObjectKind::Clip ? static_cast<ClipObject*>(t) : nullptr;
    }

    // Reports traced text to the host one line at a time: every carriage
    // return and every line feed ends a line ("\r\n" makes an empty one).
    void trace(const std::string& text);

private:
    friend class Interpreter;
    struct Interval {
        Value function, thisValue;
        std::string method;
        double delayMs, due;
        std::vector<Value> args;
        bool once;
    };
    void installBuiltins();
    // What the nesting of accessors is counted by: the property, named by
    // the object that has it (a prototype for inherited ones) and its key.
    using AccessorKey = std::pair<Object*, std::string>;
    bool accessorAtLimit(const AccessorKey& key) const;
    // valueOf or toString for a conversion (a getter may answer, `__resolve`
    // never does). A getter that throws leaves the conversion without the
    // method; its exception waits for the end of the running action.
    Value conversionMethod(Object* o, const std::string& name);
    // Up to SWF 6 a getter, setter or watcher that reaches its own property
    // meets the stored value instead of running again.
    bool accessorRunning(Object* object, const std::string& name) const;
    Value runAccessor(FunctionObject* function, Object* object, AccessorKey key,
                      const std::vector<Value>& args);
    bool stackExhausted() const;
    // Marks where the native stack stood when scripts were entered from outside.
    struct StackBase {
        VM& vm;
        bool outermost;
        explicit StackBase(VM& v);
        ~StackBase();
    };

    ScriptHost& host_;
    int swfVersion_;
    Limits limits_;
    Heap heap_;
    Object* global_ = nullptr;
    Prototypes protos_;
    int depth_ = 0;
    std::map<AccessorKey, int> accessorCalls_;
    std::vector<std::pair<Object*, std::string>> runningAccessors_;   // SWF 6 and older
    uintptr_t stackBase_ = 0;     // native stack address where scripts were entered
    FunctionObject* currentFunction_ = nullptr;   // the script function running, for arguments.caller
    bool constructing_ = false;                   // ... and whether `new` called it
    std::optional<Value> pendingThrow_;           // see conversionMethod
    // The four registers of the action block running; a function's register
    // numbers past its own count reach these.
    std::vector<Value>* blockRegisters_ = nullptr;
    ClipObject* blockClip_ = nullptr;   // the clip of the top-level action block running
    // Top-level action blocks of one frame share a stack: what one leaves,
    // the next finds.
    std::vector<Value> carriedStack_;
    bool stopped_ = false;
    uint64_t instructions_ = 0;
    double frameStartMs_ = 0;
    std::mt19937 random_;
    std::map<int, Interval> intervals_;
    struct PendingCall {
        Value function, thisValue;
        std::vector<Value> args;
    };
    std::vector<PendingCall> afterFrame_;
    int nextInterval_ = 1;
    // The SWF version whose rules the running code follows: a SWF 4 movie's
    // functions follow SWF 5 (booleans print as words).
    int codeVersion_ = 0;
};

} // namespace tesmar::script
