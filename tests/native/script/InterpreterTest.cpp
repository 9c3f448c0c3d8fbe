// The interpreter on hand-made action records: hostile bytes, runaway
// scripts, the timeline and host seam, and the object model's rules.

#include "Assembler.h"
#include "FakeStage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tesmar::script::testing {
namespace {

std::vector<std::string> run(const Assembler& code, int version = 7, Limits limits = {})
{
    FakeMovie movie(version, {{code.build()}}, limits);
    movie.runFrames(1);
    return movie.host.lines;
}

using Lines = std::vector<std::string>;

TEST(HostileActions, JumpOutsideTheBlockEndsIt)
{
    Assembler code;
    code.push("before").trace().record(0x99, {0x00, 0x80}).push("after").trace();
    EXPECT_EQ(run(code), Lines{"before"});
}

TEST(HostileActions, RecordLongerThanTheBlockEndsIt)
{
    Assembler code;
    code.push("before").trace().raw({0x96, 0xFF, 0x7F, 0x00, 'x'});
    EXPECT_EQ(run(code), Lines{"before"});
}

TEST(HostileActions, PushWithUnknownTypeAndTruncatedStringsIsSafe)
{
    Assembler code;
    code.record(0x96, {0x00, 'a', 'b'}).trace()          // string without its terminator
        .record(0x96, {0x63}).trace()                    // unknown push type
        .record(0x96, {0x08, 0x05}).trace()              // constant without a pool
        .push("end").trace();
    EXPECT_EQ(run(code).back(), "end");
}

TEST(HostileActions, FrameNumbersBeyondIntAreSafe)
{
    Assembler code;
    for (double n : {std::nan(""), 1e300, -1e300}) {
        code.push(n).record(0x8D, {0x00});   // WaitForFrame2
        code.push(n).record(0x9F, {0x00});   // GotoFrame2
    }
    code.push("end").trace();
    EXPECT_EQ(run(code).back(), "end");
}

TEST(HostileActions, FunctionBodyLongerThanTheBlockIsCut)
{
    std::vector<uint8_t> define{'f', 0, 0, 0, 0xFF, 0x7F};
    Assembler code;
    code.record(0x9B, define).push("inside").trace();
    EXPECT_NO_THROW(run(code));
}

TEST(HostileActions, PopsFromAnEmptyStackGiveUndefined)
{
    Assembler code;
    code.op(0x47).trace().op(0x17).op(0x4E).trace();
    EXPECT_EQ(run(code), (Lines{"NaN", "undefined"}));
}

// Register numbers past a DefineFunction2's own count reach the four
// registers of the action block that is running.
TEST(Registers, PastTheFunctionsCountReachTheBlocksRegisters)
{
    Assembler body;
    body.pushRegister(2).trace().push(8.0).record(0x87, {2}).op(0x17);
    std::vector<uint8_t> code = body.bytes();
    std::vector<uint8_t> define{'g', 0, 0, 0, 1, 0, 0, uint8_t(code.size()), uint8_t(code.size() >> 8)};
    Assembler top;
    top.push(5.0).record(0x87, {2}).op(0x17).record(0x8E, define).raw(code)
        .call("g", 0).op(0x17).pushRegister(2).trace();
    EXPECT_EQ(run(top), (Lines{"5", "8"}));
}

TEST(Limits, EndlessLoopStopsTheMovieScriptsButNotThePlayer)
{
    Limits limits;
    limits.instructionsPerFrame = 100000;
    Assembler loop;
    loop.label("top").jump("top");
    Assembler later;
    later.push("later frame").trace();
    FakeMovie movie(7, {{loop.build()}, {later.build()}}, limits);
    movie.runFrames(3);
    EXPECT_TRUE(movie.vm.stopped());
    EXPECT_TRUE(movie.host.lines.empty());
    EXPECT_EQ(movie.root->currentFrame(), 1);   // the fake only advances a playing clip with scripts left
}

// Recursion past the limit ends the action block at once, past any
// try/catch; the next frame's scripts still run.
TEST(Limits, EndlessRecursionEndsTheBlock)
{
    Assembler body;
    body.call("f", 0).op(0x17);
    Assembler code;
    code.function("f", {}, body).call("f", 0).op(0x17).push("after").trace();
    Assembler later;
    later.push("later frame").trace();
    FakeMovie movie(7, {{code.build()}, {later.build()}});
    movie.runFrames(2);
    EXPECT_FALSE(movie.vm.stopped());
    EXPECT_EQ(movie.host.lines, Lines{"later frame"});
}

// The action block counts as the first level. Sanitizer builds reach fewer
// levels before the native stack budget, so the limit is checked below what
// both kinds of build reach.
TEST(Limits, RecursionStopsAtTheDepthLimit)
{
    Limits limits;
    limits.maxCallDepth = 100;
    Assembler body;
    body.push("n").push("n").op(0x1C).op(0x50).op(0x1D).call("f", 0).op(0x17);
    Assembler code;
    code.push("n").push(0.0).op(0x1D).function("f", {}, body).call("f", 0).op(0x17);
    Assembler later;
    later.push("n").op(0x1C).trace();
    FakeMovie movie(7, {{code.build()}, {later.build()}}, limits);
    movie.runFrames(2);
    EXPECT_EQ(movie.host.lines, Lines{"99"});
}

TEST(Limits, EndlessArrayGrowthStops)
{
    Limits limits;
    limits.instructionsPerFrame = 200000;
    Assembler code;
    code.push("a").push(0.0).push("Array").op(0x40).op(0x1D)   // a = new Array()
        .label("top")
        .push(1.0).push(1.0).push("a").op(0x1C).push("push").op(0x52).op(0x17)
        .jump("top");
    FakeMovie movie(7, {{code.build()}}, limits);
    movie.runFrames(2);
    EXPECT_TRUE(movie.vm.stopped());
    movie.vm.collectGarbage();
}

TEST(Limits, StackGrowthIsBounded)
{
    Limits limits;
    limits.maxStack = 1000;
    Assembler code;
    code.label("top").push(1.0).jump("top");
    FakeMovie movie(7, {{code.build()}}, limits);
    movie.runFrames(1);
    EXPECT_TRUE(movie.vm.stopped());
}

TEST(Limits, DoublingStringStops)
{
    Assembler code;
    code.push("s").push("x").op(0x1D)
        .label("top")
        .push("s").push("s").op(0x1C).push("s").op(0x1C).op(0x47).op(0x1D)
        .jump("top");
    FakeMovie movie(7, {{code.build()}});
    movie.runFrames(1);
    EXPECT_TRUE(movie.vm.stopped());
}

TEST(Seam, FsCommandAndUrlsReachTheHost)
{
    std::vector<uint8_t> quit{'F', 'S', 'C', 'o', 'm', 'm', 'a', 'n', 'd', ':', 'q', 'u', 'i', 't', 0, 0};
    Assembler code;
    code.record(0x83, quit)
        .push("http://example.com/movie.swf").push("_level2").record(0x9A, {0x40});
    FakeMovie movie(5, {{code.build()}});
    movie.runFrames(1);
    ASSERT_EQ(movie.host.commands.size(), 1u);
    EXPECT_EQ(movie.host.commands[0].first, "quit");
    EXPECT_EQ(movie.host.commands[0].second, "");
    ASSERT_EQ(movie.host.urls.size(), 1u);
    EXPECT_EQ(movie.host.urls[0].target, "_level2");
    EXPECT_TRUE(movie.host.urls[0].loadTarget);
}

TEST(Seam, TimelineActionsFollowTheTarget)
{
    std::vector<uint8_t> child{'k', 'i', 'd', 0};
    std::vector<uint8_t> none{0};
    Assembler code;
    code.op(0x07)                                 // stop the root
        .record(0x8B, child).op(0x06)             // tellTarget("kid") { play() }
        .record(0x8B, none)
        .push("kid").push(13.0).op(0x22).trace()  // getProperty("kid", _name)
        .push("/kid").push(11.0).op(0x22).trace();
    FakeMovie movie(6, {{code.build()}});
    auto* kid = movie.vm.heap().make<FakeClip>("kid", movie.root, 6);
    movie.root->children["kid"] = kid;
    movie.runFrames(1);
    EXPECT_EQ(movie.root->calls, Lines{"stop"});
    EXPECT_EQ(kid->calls, Lines{"play"});
    EXPECT_EQ(movie.host.lines, (Lines{"kid", "/kid"}));
}

TEST(Seam, RemovedClipIsFollowedByItsPath)
{
    FakeHost host;
    VM vm(host, 7);
    auto* root = vm.heap().make<FakeClip>("", nullptr, 7);
    host.root = root;
    auto* first = vm.heap().make<FakeClip>("a", root, 7);
    root->children["a"] = first;
    Value reference(static_cast<Object*>(first));
    first->isRemoved = true;
    auto* second = vm.heap().make<FakeClip>("a", root, 7);
    root->children["a2"] = second;
    EXPECT_EQ(vm.liveClip(first), second);
    second->isRemoved = true;
    EXPECT_EQ(vm.liveClip(first), nullptr);
    EXPECT_EQ(vm.toString(reference), "");
}

TEST(Objects, EnumerationIsNewestFirstAndHonoursHiddenFlags)
{
    FakeHost host;
    VM vm(host, 7);
    Object* o = vm.newObject();
    for (const char* name : {"a", "b", "c"}) vm.set(o, name, Value(1));
    EXPECT_EQ(vm.enumerate(o), (Lines{"c", "b", "a"}));
    vm.call(vm.get(vm.global(), "ASSetPropFlags"), Value(), {Value(o), Value("b"), Value(1)});
    EXPECT_EQ(vm.enumerate(o), (Lines{"c", "a"}));
    // Overwriting keeps the place; deleting and re-adding makes it newest.
    vm.set(o, "a", Value(2));
    EXPECT_EQ(vm.enumerate(o), (Lines{"c", "a"}));
    vm.remove(o, "a");
    vm.set(o, "a", Value(3));
    EXPECT_EQ(vm.enumerate(o), (Lines{"a", "c"}));
}

TEST(Objects, NamesIgnoreCaseUpToSwf6)
{
    FakeHost host;
    VM old(host, 6);
    Object* o = old.newObject();
    old.set(o, "Name", Value(1));
    EXPECT_EQ(old.toNumber(old.get(o, "NAME")), 1);
    VM current(host, 7);
    Object* p = current.newObject();
    current.set(p, "Name", Value(1));
    EXPECT_TRUE(current.get(p, "NAME").isUndefined());
}

TEST(Objects, CyclesAreCollected)
{
    FakeHost host;
    VM vm(host, 7);
    host.root = vm.heap().make<FakeClip>("", nullptr, 7);
    vm.collectGarbage();
    size_t baseline = vm.heap().size();
    for (int i = 0; i < 100; ++i) {
        Object* a = vm.newObject();
        Object* b = vm.newObject();
        vm.set(a, "other", Value(b));
        vm.set(b, "other", Value(a));
    }
    Object* kept = vm.newObject();
    vm.set(host.root, "kept", Value(kept));
    vm.collectGarbage();
    EXPECT_EQ(vm.heap().size(), baseline + 1);
    EXPECT_EQ(vm.get(host.root, "kept").object(), kept);
}

TEST(Objects, GettersAndSettersRunThroughPrototypes)
{
    FakeHost host;
    VM vm(host, 7);
    Object* proto = vm.newObject();
    Object* o = vm.newObject();
    o->setProto(proto);
    auto getter = [](CallContext& c) { return c.vm.get(c.thisObject, "_stored"); };
    auto setter = [](CallContext& c) {
        c.vm.set(c.thisObject, "_stored", Value(c.vm.toNumber(c.arg(0)) * 2));
        return Value();
    };
    Value add = vm.get(proto, "addProperty");
    vm.call(add, Value(proto), {Value("x"), Value(vm.newNative(getter)), Value(vm.newNative(setter))});
    vm.set(o, "x", Value(21));
    EXPECT_EQ(vm.toNumber(vm.get(o, "x")), 42);
    EXPECT_FALSE(vm.hasOwn(o, "x"));
    EXPECT_TRUE(vm.hasOwn(o, "_stored"));
}

TEST(Conversions, ByVersion)
{
    FakeHost host;
    VM v6(host, 6), v7(host, 7);
    EXPECT_EQ(v6.toString(Value()), "");
    EXPECT_EQ(v7.toString(Value()), "undefined");
    EXPECT_EQ(v6.toNumber(Value()), 0);
    EXPECT_TRUE(std::isnan(v7.toNumber(Value())));
    EXPECT_FALSE(v6.toBoolean(Value("abc")));
    EXPECT_TRUE(v6.toBoolean(Value("0x10")));
    EXPECT_TRUE(v7.toBoolean(Value("abc")));
    EXPECT_FALSE(v7.toBoolean(Value("")));
    EXPECT_TRUE(v7.looseEquals(Value(), Value::null()));
    EXPECT_TRUE(v7.looseEquals(Value("8"), Value(8)));
    EXPECT_FALSE(v7.looseEquals(Value(0), Value::null()));
}

TEST(Intervals, FireOnTheHostClockUntilCleared)
{
    Assembler body;
    body.push("tick").trace();
    Assembler code;
    code.push("id").push(100.0).function("", {}, body).push(2.0).push("setInterval").op(0x3D).op(0x1D);
    FakeMovie movie(7, {{code.build()}});
    movie.runFrames(10, 20);   // 50 ms a frame: due at 100, 200, 300, 400 ms
    EXPECT_EQ(movie.host.lines.size(), 4u);
    movie.vm.clearInterval(1);
    movie.runFrames(10, 20);
    EXPECT_EQ(movie.host.lines.size(), 4u);
}

// A declared name with a path is declared where the path leads, but only in
// code outside functions: inside one it is a local of that literal name.
TEST(Declarations, PathsDeclareOnTheirClipOnlyOutsideFunctions)
{
    Assembler body;
    body.push("/:inner").push("in").op(0x3C)              // var /:inner = "in"
        .push("/:inner").op(0x1C).trace();                 // the path reads _root.inner
    Assembler top;
    top.push("/:outer").push("out").op(0x3C)
        .push("outer").op(0x1C).trace()
        .push("/:declared").op(0x41)                       // var /:declared;
        .push("declared").push(1.0).push("_root").op(0x1C).push("hasOwnProperty").op(0x52).trace()
        .function("/:f", {}, body)                         // function /:f() lands on _root
        .call("f", 0).op(0x17)
        .push("inner").op(0x1C).trace();
    EXPECT_EQ(run(top, 6), (Lines{"out", "true", "undefined", "undefined"}));
}

// A SWF 4 movie's functions follow SWF 5 rules: booleans print as words,
// while its own frame code prints them as 1 and 0.
TEST(Versions, FunctionsOfASwf4MovieFollowSwf5Rules)
{
    Assembler body;
    body.push(1.0).push(1.0).op(0x49).trace();
    Assembler top;
    top.push(1.0).push(1.0).op(0x49).trace().function("f", {}, body).call("f", 0).op(0x17);
    EXPECT_EQ(run(top, 4), (Lines{"1", "true"}));
}

TEST(Trace, EveryLineBreakEndsALine)
{
    Assembler code;
    code.push("a\rb").trace().push("c\r\nd").trace().push("e\n").trace();
    EXPECT_EQ(run(code), (Lines{"a", "b", "c", "", "d", "e", ""}));
}

} // namespace
} // namespace tesmar::script::testing
