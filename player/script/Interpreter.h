#pragma once
// Runs action records. Action bytes come from the movie and are checked as
// they are read: a record or a jump that leaves its block ends the block.

#include "player/script/VM.h"

#include <random>

namespace tesmar::script {

inline constexpr const char* kPrimitivePathWarning =
    "Parameters of primitive types are no longer coerced into the required type - Object.";

class Interpreter {
public:
    static void runTopLevel(VM& vm, const ActionBytes& bytes, ClipObject* clip);
    static Value callScript(VM& vm, FunctionObject* fn, const Value& thisValue,
                            const std::vector<Value>& args, Object* superProto, bool constructing = false);

private:
    struct Frame {
        ActionBytes bytes;
        size_t blockBegin = 0, blockEnd = 0;
        int version = 5;
        std::vector<Object*> scopes;        // outermost first; the global object is implied
        Object* locals = nullptr;           // where DefineLocal and named functions go
        Object* target = nullptr;           // timeline actions act on it
        Object* originalTarget = nullptr;
        Value thisValue;
        Object* superProto = nullptr;
        FunctionObject* callee = nullptr;
        std::vector<Value> registers;
        std::vector<Value> stack;
        ConstantPool pool;
    };
    enum class Exit { End, Return, Jump };
    struct Outcome {
        Exit exit;
        size_t target = 0;
    };

    Interpreter(VM& vm, Frame& frame) : vm_(vm), f_(frame), baseWasLive_(baseIsLive()) {}
    Value runBlock();
    Outcome run(size_t begin, size_t end);
    bool execute(uint8_t op, size_t data, size_t length, size_t& pc, size_t end, Outcome& outcome);

    // Stack.
    Value pop();
    void push(Value v);
    std::vector<Value> popArgs();
    // Register r of this frame, or of the action block past the frame's own
    // count; null when there is none.
    Value* registerAt(size_t r);

    // Control flow.
    Outcome runWith(size_t data, size_t length, size_t& pc, size_t end);
    Outcome runTry(size_t data, size_t length, size_t& pc, size_t end);
    void defineFunction(size_t data, size_t length, size_t& pc, size_t end, bool version2);
    void skipActions(size_t count, size_t& pc, size_t end);

    // Variables and paths.
    Value getVariable(const std::string& name);
    void setVariable(const std::string& name, const Value& value);
    bool lookup(const std::string& name, Value& out, Object** holder);
    bool special(const std::string& name, Value& out);
    // With `variable`, a scope whose path leads to an object without that
    // variable gives way to the next one too.
    // A target path (timeline actions) starts from the target alone, and
    // `this` is no keyword in it.
    Object* resolvePath(const std::string& path, const std::string* variable = nullptr, bool targetPath = false);
    Object* walkPath(Object* start, const std::vector<std::string>& parts, size_t first);
    // A path to a clip for a timeline action; warns as the player does when
    // the path passes through a value that is no object.
    Object* resolveTarget(const std::string& path);
    bool splitPath(const std::string& name, std::string& path, std::string& variable);
    // A declared name (var, function) that names a variable by its path, in
    // code outside any function: it is declared where the path leads.
    bool isPathOutsideFunction(const std::string& name);
    // Where a `var` with a value goes: a `with` object that already owns
    // the name takes the value, else the locals do.
    Object* withScopeOwning(const std::string& name);
    ClipObject* targetClip();
    // Whether the clip the actions belong to is on the stage. A call that
    // removes it ends the actions (the rest would run on a removed clip).
    bool baseIsLive();
    bool baseRemovedByCall() { return baseWasLive_ && !baseIsLive(); }
    bool endAfterCall(Outcome& outcome) {
        f_.stack.assign(1, Value());
        outcome = {Exit::Return};
        return false;
    }

    // Actions that touch the timeline and the host.
    void getUrl(const std::string& url, const std::string& target, int flags);
    void gotoFrame2(const Value& frame, bool play, int bias);
    bool frameLoaded(const Value& frame);
    void setTarget(const std::string& path);
    void callFrame(const Value& frame);
    // A property index that is no number names no property.
    Value getProperty(Object* target, double index);
    void setProperty(Object* target, double index, const Value& value);

    // Operators.
    Value add2(const Value& a, const Value& b);
    Value less2(const Value& a, const Value& b);
    Value callFunction(const std::string& name, const std::vector<Value>& args);
    Value callMethod(const Value& object, const Value& name, const std::vector<Value>& args);
    Value newMethod(const Value& object, const Value& name, const std::vector<Value>& args);

    VM& vm_;
    Frame& f_;
    bool baseWasLive_;
    bool primitiveOnPath_ = false;   // walkPath met a string, number or boolean
};

} // namespace tesmar::script
