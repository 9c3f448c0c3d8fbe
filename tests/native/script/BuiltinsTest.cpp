// Built-in classes called through the machine as scripts would call them.

#include "FakeStage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tesmar::script::testing {
namespace {

class Builtins : public ::testing::Test {
protected:
    Builtins() : vm(host, 8) { host.root = vm.heap().make<FakeClip>("", nullptr, 8); }

    Value global(const char* name) { return vm.get(vm.global(), name); }
    Value method(const Value& object, const char* name, std::vector<Value> args = {})
    {
        return vm.callMethod(object, name, args);
    }
    Value array(std::vector<Value> items) { return Value(static_cast<Object*>(vm.newArray(items))); }
    std::string text(const Value& v) { return vm.toString(v); }

    FakeHost host;
    VM vm;
};

TEST_F(Builtins, ArraySortFlags)
{
    Value a = array({Value(10), Value(9), Value(100), Value(1)});
    EXPECT_EQ(text(method(a, "sort")), "1,10,100,9");
    EXPECT_EQ(text(method(a, "sort", {Value(16)})), "1,9,10,100");          // NUMERIC
    EXPECT_EQ(text(method(a, "sort", {Value(16 | 2)})), "100,10,9,1");      // NUMERIC | DESCENDING
    Value indices = method(a, "sort", {Value(16 | 8)});                      // RETURNINDEXEDARRAY
    EXPECT_EQ(text(indices), "3,2,1,0");
    EXPECT_EQ(text(a), "100,10,9,1");
    Value twins = array({Value("b"), Value("B")});
    EXPECT_EQ(text(method(twins, "sort", {Value(1 | 4)})), "0");             // UNIQUESORT finds equals
    Value words = array({Value("b"), Value("a"), Value("C")});
    EXPECT_EQ(text(method(words, "sort", {Value(1)})), "a,b,C");            // CASEINSENSITIVE
}

TEST_F(Builtins, ArraySortArgumentsThatAreNoFunction)
{
    Value a = array({Value(2), Value(3), Value(1)});
    // A second argument gives the flags; a first that is no function is ignored.
    EXPECT_EQ(text(method(a, "sort", {Value(2), Value(16)})), "1,2,3");
    EXPECT_EQ(text(method(a, "sort", {Value(55), Value()})), "3,2,1");
    Value plain = Value(vm.newObject());
    EXPECT_EQ(text(method(a, "sort", {plain})), "1,2,3");
    // Neither a function, a number nor an object: no sort at all.
    EXPECT_TRUE(method(a, "sort", {Value(true)}).isUndefined());
    EXPECT_TRUE(method(a, "sort", {Value(), Value(0)}).isUndefined());
}

TEST_F(Builtins, ArrayMethodsLeaveReadOnlyElements)
{
    Value a = array({Value(1), Value(2), Value(3)});
    vm.call(global("ASSetPropFlags"), Value(), {a, Value(0), Value(6), Value(0)});   // DontDelete | ReadOnly
    EXPECT_EQ(text(method(a, "shift")), "1");
    EXPECT_EQ(text(a), "1,3");
    Value b = array({Value(1), Value(2)});
    EXPECT_TRUE(method(b, "splice", {Value(0), Value(-1)}).isUndefined());
    EXPECT_EQ(text(b), "1,2");
}

// for..in lists the names newest first; methods that move elements make
// each moved element new.
TEST_F(Builtins, EnumerationOrderAfterArrayMethods)
{
    auto names = [&](const Value& v) {
        std::string out;
        for (const std::string& n : vm.enumerate(v.object())) out += n + ",";
        return out;
    };
    Value a = array({Value(1), Value(2), Value(3)});
    EXPECT_EQ(names(a), "2,1,0,");
    method(a, "reverse");
    EXPECT_EQ(text(a), "3,2,1");
    EXPECT_EQ(names(a), "2,0,1,");
    Value b = array({Value(1), Value(2)});
    method(b, "unshift", {Value(0)});
    EXPECT_EQ(text(b), "0,1,2");
    EXPECT_EQ(names(b), "0,1,2,");
    method(b, "shift");
    EXPECT_EQ(text(b), "1,2");
    EXPECT_EQ(names(b), "1,0,");
}

TEST_F(Builtins, EnumerationListsInheritedNamesFirst)
{
    Object* base = vm.newObject();
    vm.set(base, "a", Value(1));
    vm.set(base, "b", Value(2));
    Object* derived = vm.newObject();
    derived->setProto(base);
    vm.set(derived, "c", Value(3));
    vm.set(derived, "a", Value(4));
    std::string out;
    for (const std::string& n : vm.enumerate(derived)) out += n + ",";
    EXPECT_EQ(out, "b,a,c,");
}

std::vector<std::string> watcherCalls;

// Records its call, assigns the property once more, and stores new + "!".
Value recordingWatcher(CallContext& c)
{
    watcherCalls.push_back(c.vm.toString(c.arg(0)) + ":" + c.vm.toString(c.arg(1)) + "->"
                           + c.vm.toString(c.arg(2)) + "/" + c.vm.toString(c.arg(3)));
    c.vm.set(c.thisObject, "p", Value("inner"));
    return Value(c.vm.toString(c.arg(2)) + "!");
}

TEST_F(Builtins, WatchersDecideTheStoredValue)
{
    watcherCalls.clear();
    Object* o = vm.newObject();
    vm.set(o, "p", Value("old"));
    EXPECT_TRUE(method(Value(o), "watch", {Value("p"), Value(vm.newNative(recordingWatcher)), Value("data")}).boolean());
    vm.set(o, "p", Value("new"));
    EXPECT_EQ(text(vm.get(o, "p")), "new!");
    // From SWF 7 the watcher's own assignment is watched again, up to the
    // accessor nesting limit.
    ASSERT_EQ(watcherCalls.size(), 65u);
    EXPECT_EQ(watcherCalls[0], "p:old->new/data");
    EXPECT_EQ(watcherCalls[1], "p:old->inner/data");
    EXPECT_TRUE(method(Value(o), "unwatch", {Value("p")}).boolean());
    EXPECT_FALSE(method(Value(o), "unwatch", {Value("p")}).boolean());
    vm.set(o, "p", Value("plain"));
    EXPECT_EQ(text(vm.get(o, "p")), "plain");
    EXPECT_EQ(watcherCalls.size(), 65u);
    EXPECT_FALSE(method(Value(o), "watch", {Value("p")}).boolean());
}

TEST(Watchers, UpToSwf6TheWatchersOwnAssignmentIsNotWatched)
{
    watcherCalls.clear();
    FakeHost host;
    VM vm(host, 6);
    host.root = vm.heap().make<FakeClip>("", nullptr, 6);
    Object* o = vm.newObject();
    vm.set(o, "p", Value("old"));
    vm.callMethod(Value(o), "watch", {Value("p"), Value(vm.newNative(recordingWatcher))});
    vm.set(o, "p", Value("new"));
    EXPECT_EQ(watcherCalls, std::vector<std::string>{"p:old->new/"});
    EXPECT_EQ(vm.toString(vm.get(o, "p")), "new!");
}

TEST_F(Builtins, ArraySortWithCompareFunctionAndSortOn)
{
    auto descending = [](CallContext& c) {
        return Value(c.vm.toNumber(c.arg(1)) - c.vm.toNumber(c.arg(0)));
    };
    Value a = array({Value(1), Value(3), Value(2)});
    EXPECT_EQ(text(method(a, "sort", {Value(vm.newNative(descending))})), "3,2,1");

    auto record = [&](const char* name, double age) {
        Object* o = vm.newObject();
        vm.set(o, "name", Value(name));
        vm.set(o, "age", Value(age));
        return Value(o);
    };
    Value people = array({record("b", 30), record("a", 40), record("c", 20)});
    method(people, "sortOn", {Value("age"), Value(16)});
    EXPECT_EQ(text(vm.getOf(vm.getOf(people, "0"), "name")), "c");
    method(people, "sortOn", {Value("name")});
    EXPECT_EQ(text(vm.getOf(vm.getOf(people, "2"), "name")), "c");
}

TEST_F(Builtins, ArraySpliceSliceAndFriends)
{
    Value a = array({Value("a"), Value("b"), Value("c"), Value("d"), Value("e")});
    Value removed = method(a, "splice", {Value(1), Value(2), Value("x")});
    EXPECT_EQ(text(removed), "b,c");
    EXPECT_EQ(text(a), "a,x,d,e");
    EXPECT_EQ(text(method(a, "slice", {Value(-2)})), "d,e");
    EXPECT_EQ(text(method(a, "join", {Value("-")})), "a-x-d-e");
    EXPECT_EQ(vm.toNumber(method(a, "push", {Value(1), Value(2)})), 6);
    EXPECT_EQ(text(method(a, "pop")), "2");
    EXPECT_EQ(text(method(a, "shift")), "a");
    EXPECT_EQ(vm.toNumber(method(a, "unshift", {Value("z")})), 5);
    EXPECT_EQ(text(method(a, "reverse")), "1,e,d,x,z");
    EXPECT_EQ(text(method(a, "concat", {array({Value(7)}), Value(8)})), "1,e,d,x,z,7,8");
    // length truncates and extends.
    vm.set(a.object(), "length", Value(2));
    EXPECT_EQ(text(a), "1,e");
    vm.set(a.object(), "4", Value("q"));
    EXPECT_EQ(vm.toNumber(vm.getOf(a, "length")), 5);
}

TEST_F(Builtins, StringMethods)
{
    Value s("Hello, World");
    EXPECT_EQ(text(method(s, "charAt", {Value(4)})), "o");
    EXPECT_EQ(vm.toNumber(method(s, "charCodeAt", {Value(0)})), 72);
    EXPECT_TRUE(std::isnan(vm.toNumber(method(s, "charCodeAt", {Value(99)}))));
    EXPECT_EQ(vm.toNumber(method(s, "indexOf", {Value("o")})), 4);
    EXPECT_EQ(vm.toNumber(method(s, "lastIndexOf", {Value("o")})), 8);
    EXPECT_EQ(text(method(s, "substr", {Value(-5), Value(3)})), "Wor");
    EXPECT_EQ(text(method(s, "substring", {Value(5), Value(0)})), "Hello");
    EXPECT_EQ(text(method(s, "slice", {Value(7), Value(-2)})), "Wor");
    EXPECT_EQ(text(method(s, "split", {Value(", ")})), "Hello,World");
    EXPECT_EQ(text(method(s, "toUpperCase")), "HELLO, WORLD");
    EXPECT_EQ(text(method(Value("\xC3\x89T\xC3\x89"), "toLowerCase")), "\xC3\xA9t\xC3\xA9");
    EXPECT_EQ(vm.toNumber(vm.getOf(Value("h\xC3\xA9"), "length")), 2);
    EXPECT_EQ(text(vm.call(vm.getOf(global("String"), "fromCharCode"), Value(), {Value(72), Value(105)})), "Hi");
}

TEST_F(Builtins, NumberParsingFunctions)
{
    auto call = [&](const char* fn, std::vector<Value> args) { return vm.call(global(fn), Value(), args); };
    EXPECT_EQ(vm.toNumber(call("parseInt", {Value("0x1F")})), 31);
    EXPECT_EQ(vm.toNumber(call("parseInt", {Value("077")})), 63);
    EXPECT_EQ(vm.toNumber(call("parseInt", {Value("  077")})), 77);
    EXPECT_EQ(vm.toNumber(call("parseInt", {Value("11"), Value(2)})), 3);
    EXPECT_TRUE(std::isnan(vm.toNumber(call("parseInt", {Value("1"), Value(37)}))));
    EXPECT_EQ(vm.toNumber(call("parseFloat", {Value("2.5e1x")})), 25);
    EXPECT_EQ(text(call("escape", {Value("a b@")})), "a%20b%40");
    EXPECT_EQ(text(call("unescape", {Value("a%20b+c")})), "a b c");
    EXPECT_TRUE(vm.toBoolean(call("isNaN", {Value("x")})));
    EXPECT_FALSE(vm.toBoolean(call("isFinite", {Value(INFINITY)})));
    EXPECT_EQ(text(vm.callMethod(Value(255), "toString", {Value(16)})), "ff");
}

TEST_F(Builtins, DateFieldsInTheHostZone)
{
    host.zoneMinutes = 60;
    Value date = vm.construct(global("Date"), {Value(2001), Value(1), Value(3), Value(4), Value(5), Value(6)});
    EXPECT_EQ(vm.toNumber(method(date, "getHours")), 4);
    EXPECT_EQ(vm.toNumber(method(date, "getUTCHours")), 3);
    EXPECT_EQ(vm.toNumber(method(date, "getDay")), 6);
    EXPECT_EQ(vm.toNumber(method(date, "getTimezoneOffset")), -60);
    EXPECT_EQ(text(date), "Sat Feb 3 04:05:06 GMT+0100 2001");
    method(date, "setMonth", {Value(13)});
    EXPECT_EQ(vm.toNumber(method(date, "getFullYear")), 2002);
    EXPECT_EQ(vm.toNumber(method(date, "getMonth")), 1);
    EXPECT_EQ(vm.toNumber(vm.call(vm.getOf(global("Date"), "UTC"), Value(), {Value(1970), Value(0), Value(2)})),
              86400000);
    Value invalid = vm.construct(global("Date"), {Value(NAN)});
    EXPECT_EQ(text(invalid), "Invalid Date");
}

TEST_F(Builtins, BroadcasterCallsEachListenerOnce)
{
    Object* source = vm.newObject();
    vm.call(vm.getOf(global("AsBroadcaster"), "initialize"), Value(), {Value(source)});
    Object* listener = vm.newObject();
    auto onPing = [](CallContext& c) {
        c.vm.set(c.thisObject, "count", Value(c.vm.toNumber(c.vm.get(c.thisObject, "count")) + 1));
        return Value();
    };
    vm.set(listener, "onPing", Value(vm.newNative(onPing)));
    vm.set(listener, "count", Value(0));
    method(Value(source), "addListener", {Value(listener)});
    method(Value(source), "addListener", {Value(listener)});
    method(Value(source), "broadcastMessage", {Value("onPing")});
    EXPECT_EQ(vm.toNumber(vm.get(listener, "count")), 1);
    EXPECT_TRUE(vm.toBoolean(method(Value(source), "removeListener", {Value(listener)})));
    method(Value(source), "broadcastMessage", {Value("onPing")});
    EXPECT_EQ(vm.toNumber(vm.get(listener, "count")), 1);
}

TEST_F(Builtins, FunctionCallAndApplyAndInstanceOf)
{
    auto self = [](CallContext& c) { return c.thisValue; };
    Value f(vm.newNative(self));
    Object* o = vm.newObject();
    EXPECT_EQ(method(f, "call", {Value(o)}).object(), o);
    EXPECT_EQ(method(f, "apply", {Value(o), array({})}).object(), o);
    Value instance = vm.construct(global("Array"), {Value(3)});
    EXPECT_EQ(vm.toNumber(vm.getOf(instance, "length")), 3);
    EXPECT_TRUE(vm.instanceOf(instance, global("Array").object()));
    EXPECT_TRUE(vm.instanceOf(instance, global("Object").object()));
    EXPECT_FALSE(vm.instanceOf(instance, global("String").object()));
    EXPECT_EQ(vm.typeOf(vm.construct(global("String"), {Value("x")})), "object");
    EXPECT_EQ(vm.typeOf(vm.call(global("String"), Value(), {Value(1)})), "string");
}

// An element index is read as a 32-bit integer that wraps, and so is the
// length it makes: past 2^31 - 1 the length turns negative.
TEST_F(Builtins, ArrayLengthWrapsAsSigned32Bit)
{
    Value a = array({});
    Object* o = a.object();
    vm.set(o, "1", Value(1));
    vm.set(o, "3", Value(3));
    vm.set(o, "2147483648", Value(0));    // index -2^31: below the length, no change
    vm.set(o, "-5", Value(0));
    EXPECT_EQ(vm.toNumber(vm.get(o, "length")), 4);
    vm.set(o, "2147483647", Value(0));
    EXPECT_EQ(vm.toNumber(vm.get(o, "length")), -2147483648.0);
    // The shrink dropped the elements below the old length only.
    EXPECT_FALSE(vm.hasOwn(o, "1"));
    EXPECT_FALSE(vm.hasOwn(o, "3"));
    EXPECT_TRUE(vm.hasOwn(o, "-5"));
    EXPECT_TRUE(vm.hasOwn(o, "2147483648"));
    vm.set(o, "4294967296", Value(0));    // wraps to index 0
    EXPECT_EQ(vm.toNumber(vm.get(o, "length")), 1);
    vm.set(o, "length", Value(-1));
    EXPECT_EQ(vm.toNumber(vm.get(o, "length")), -1);
    EXPECT_EQ(text(method(a, "join")), "");
}

// A getter added for an array's length or element answers reads, but the
// array methods keep counting and taking the stored elements.
TEST_F(Builtins, ArrayMethodsPassGettersOnTheArray)
{
    auto ten = [](CallContext&) { return Value(10); };
    Value getter(vm.newNative(ten));
    Value a = array({Value(1), Value(2), Value(3)});
    EXPECT_TRUE(vm.toBoolean(method(a, "addProperty", {Value("length"), getter, Value::null()})));
    EXPECT_EQ(vm.toNumber(vm.getOf(a, "length")), 10);
    EXPECT_EQ(vm.toNumber(method(a, "push", {Value(4)})), 4);
    Value b = array({Value(1), Value(2), Value(3)});
    method(b, "addProperty", {Value("2"), getter, Value::null()});
    EXPECT_EQ(vm.toNumber(vm.getOf(b, "2")), 10);
    EXPECT_EQ(vm.toNumber(method(b, "pop")), 3);
}

TEST_F(Builtins, CaseMappingBeyondLatin1)
{
    Value s("\xC3\xBF\xC4\xB1\xC5\xBF\xCE\xA3\xE1\xBE\x80\xE1\x82\xA0");   // ÿ ı ſ Σ ᾀ Ⴀ
    EXPECT_EQ(text(method(s, "toUpperCase")), "\xC5\xB8I" "S\xCE\xA3\xE1\xBE\x88\xE1\x82\xA0");   // Ÿ I S Σ ᾈ Ⴀ
    EXPECT_EQ(text(method(s, "toLowerCase")),
              "\xC3\xBF\xC4\xB1\xC5\xBF\xCF\x83\xE1\xBE\x80\xE1\x83\x90");               // ÿ ı ſ σ ᾀ ა
    // Characters without a case and the ASCII range around the letters stay.
    EXPECT_EQ(text(method(Value("@[`{1\xE2\x82\xAC"), "toUpperCase")), "@[`{1\xE2\x82\xAC");
    EXPECT_EQ(text(method(Value("\xC3\x97\xC3\xB7"), "toUpperCase")), "\xC3\x97\xC3\xB7");    // × ÷
}

TEST_F(Builtins, NativesByNumber)
{
    Value asNative = global("ASnative");
    Value escape = vm.call(asNative, Value(), {Value(100), Value(0)});
    EXPECT_EQ(escape.object(), global("escape").object());
    // The numbers convert as 32-bit integers; a wrong count of arguments finds nothing.
    Value abs = vm.call(asNative, Value(), {Value("200"), Value(4294967296.0)});
    EXPECT_EQ(abs.object(), vm.getOf(global("Math"), "abs").object());
    EXPECT_TRUE(vm.call(asNative, Value(), {Value(200)}).isUndefined());
    EXPECT_TRUE(vm.call(asNative, Value(), {Value(200), Value(0), Value(0)}).isUndefined());
    // A number the Math category does not use still answers: with NaN.
    Value unused = vm.call(asNative, Value(), {Value(200), Value(65536)});
    EXPECT_TRUE(std::isnan(vm.toNumber(vm.call(unused, Value(), {Value(1)}))));
    EXPECT_TRUE(vm.call(asNative, Value(), {Value(100), Value(65536)}).isUndefined());
    vm.call(vm.call(asNative, Value(), {Value(100), Value(4)}), Value(), {Value("traced")});
    EXPECT_EQ(host.lines.back(), "traced");
}

TEST_F(Builtins, SetNativeNamesTakeVersionMarks)
{
    Object* o = vm.newObject();
    vm.set(o, "b", Value("kept"));
    vm.call(global("ASSetNative"), Value(), {Value(o), Value(200), Value("1a,b,9c,10d,11e,,2f")});
    EXPECT_EQ(vm.get(o, "a").object(), vm.getOf(global("Math"), "abs").object());
    // An existing property takes the function but keeps its flags.
    EXPECT_EQ(vm.get(o, "b").object(), vm.getOf(global("Math"), "min").object());
    // Marked for later versions than this movie's (8): present but unseen.
    EXPECT_TRUE(vm.hasOwn(o, "c"));
    EXPECT_TRUE(vm.get(o, "c").isUndefined());
    EXPECT_TRUE(vm.get(o, "d").isUndefined());
    // Only one mark comes off; other digits stay part of the name.
    EXPECT_EQ(vm.get(o, "1e").object(), vm.getOf(global("Math"), "cos").object());
    EXPECT_EQ(vm.get(o, "2f").object(), vm.getOf(global("Math"), "tan").object());
}

// substr with a negative length counts it back from the end of the whole
// string and gives nothing when the piece would reach the end.
TEST_F(Builtins, SubstrWithNegativeLength)
{
    Value s("hello world");
    auto substr = [&](double from, double length) { return text(method(s, "substr", {Value(from), Value(length)})); };
    EXPECT_EQ(substr(0, -1), "hello worl");
    EXPECT_EQ(substr(3, -4), "lo worl");
    EXPECT_EQ(substr(4, -5), "o worl");
    EXPECT_EQ(substr(3, -3), "");
    EXPECT_EQ(substr(8, -4), "");
    EXPECT_EQ(substr(-3, -9), "rl");
    EXPECT_EQ(substr(-3, 10), "rld");
}

TEST_F(Builtins, MathConvertsTwoArgumentsAtMost)
{
    Object* counter = vm.newObject();
    vm.set(counter, "n", Value(0));
    auto valueOf = [](CallContext& c) {
        Object* counter = c.vm.get(c.thisObject, "counter").object();
        c.vm.set(counter, "n", Value(c.vm.toNumber(c.vm.get(counter, "n")) + 1));
        return c.vm.get(c.thisObject, "v");
    };
    Value valueOfFn(vm.newNative(valueOf));
    auto operand = [&](double v) {
        Object* o = vm.newObject();
        vm.set(o, "v", Value(v));
        vm.set(o, "counter", Value(counter));
        vm.set(o, "valueOf", valueOfFn);
        return Value(o);
    };
    Value math = global("Math");
    EXPECT_EQ(vm.toNumber(method(math, "min", {operand(3), operand(2), operand(1)})), 2);
    EXPECT_EQ(vm.toNumber(vm.get(counter, "n")), 2);
    EXPECT_EQ(vm.toNumber(method(math, "abs", {operand(-3), operand(2)})), 3);
    EXPECT_EQ(vm.toNumber(vm.get(counter, "n")), 4);
    EXPECT_EQ(vm.toNumber(method(math, "max")), -INFINITY);
    EXPECT_TRUE(std::isnan(vm.toNumber(method(math, "max", {Value(1)}))));
}

// A missing property asks the first __resolve that holds an object; one
// holding a primitive is passed by, one added as a getter ends the search.
TEST_F(Builtins, ResolveAnswersForMissingProperties)
{
    auto echo = [](CallContext& c) { return Value("resolved " + c.vm.toString(c.arg(0))); };
    Object* proto = vm.newObject();
    vm.set(proto, "__resolve", Value(vm.newNative(echo)));
    Object* o = vm.newObject();
    o->setProto(proto);
    vm.set(o, "own", Value(1));
    EXPECT_EQ(text(vm.get(o, "own")), "1");
    EXPECT_EQ(text(vm.get(o, "missing")), "resolved missing");
    EXPECT_FALSE(vm.hasOwn(o, "missing"));
    vm.set(o, "__resolve", Value(42));
    EXPECT_EQ(text(vm.get(o, "missing")), "resolved missing");
    vm.set(o, "__resolve", Value(vm.newObject()));
    EXPECT_TRUE(vm.get(o, "missing").isUndefined());
    vm.remove(o, "__resolve");
    method(Value(o), "addProperty", {Value("__resolve"), Value(vm.newNative(echo)), Value::null()});
    EXPECT_TRUE(vm.get(o, "missing").isUndefined());
}

} // namespace
} // namespace tesmar::script::testing
