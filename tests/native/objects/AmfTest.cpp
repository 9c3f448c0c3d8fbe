// AMF0 as the player writes and reads it: the bytes of each kind of value,
// arrays strict or mixed by what they hold, typed objects by their own
// constructor, shared objects as references, and hostile input read safely.

#include "player/script/AmfReader.h"
#include "player/script/AmfWriter.h"
#include "player/script/VM.h"
#include "tests/native/StagelessHost.h"

#include <gtest/gtest.h>

namespace tesmar::script {
namespace {

class Amf : public ::testing::Test {
protected:
    Amf() : vm(host, 8) {}

    std::vector<uint8_t> write(const Value& v, AmfWriter::AliasLookup aliases = {})
    {
        AmfWriter writer(vm, std::move(aliases));
        writer.value(v);
        return writer.bytes();
    }
    Value read(const std::vector<uint8_t>& bytes, bool* ok = nullptr)
    {
        AmfReader reader(vm, bytes);
        Value v = reader.value();
        if (ok) *ok = reader.ok();
        return v;
    }

    testing::StagelessHost host;
    VM vm;
};

using Bytes = std::vector<uint8_t>;

TEST_F(Amf, WritesPrimitives)
{
    EXPECT_EQ(write(Value(1.0)), (Bytes{0x00, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(write(Value(true)), (Bytes{0x01, 0x01}));
    EXPECT_EQ(write(Value("ab")), (Bytes{0x02, 0x00, 0x02, 'a', 'b'}));
    EXPECT_EQ(write(Value::null()), Bytes{0x05});
    EXPECT_EQ(write(Value()), Bytes{0x06});
    // Past 65535 bytes a string needs the long form.
    const Bytes longText = write(Value(std::string(70000, 'x')));
    ASSERT_EQ(longText.size(), 5u + 70000u);
    EXPECT_EQ(Bytes(longText.begin(), longText.begin() + 5), (Bytes{0x0C, 0x00, 0x01, 0x11, 0x70}));
}

TEST_F(Amf, ObjectsSkipFunctionsAndDoNotRunGetters)
{
    Object* o = vm.newObject();
    vm.set(o, "a", Value(true));
    vm.set(o, "f", Value(static_cast<Object*>(vm.newNative([](CallContext&) { return Value(); }))));
    Property& getter = o->put("g", Value());
    getter.accessor = true;
    getter.getter = vm.newNative([](CallContext& c) {
        c.vm.trace("getter ran");
        return Value(1);
    });
    EXPECT_EQ(write(Value(o)), (Bytes{0x03, 0, 1, 'a', 0x01, 0x01, 0, 1, 'g', 0x06, 0, 0, 0x09}));
    EXPECT_TRUE(host.lines.empty());
}

TEST_F(Amf, ArraysAreStrictUnlessTheyHaveNamedProperties)
{
    ArrayObject* sparse = vm.newArray();
    vm.set(sparse, "1", Value(true));
    EXPECT_EQ(write(Value(static_cast<Object*>(sparse))), (Bytes{0x0A, 0, 0, 0, 2, 0x06, 0x01, 0x01}));
    vm.set(sparse, "x", Value::null());
    EXPECT_EQ(write(Value(static_cast<Object*>(sparse))),
              (Bytes{0x08, 0, 0, 0, 2, 0, 1, '1', 0x01, 0x01, 0, 1, 'x', 0x05, 0, 0, 0x09}));
}

TEST_F(Amf, HugeSparseArrayIsWrittenByItsElementsOnly)
{
    ArrayObject* array = vm.newArray();
    vm.set(array, "4000000000", Value(true));
    EXPECT_LT(write(Value(static_cast<Object*>(array))).size(), 64u);
}

TEST_F(Amf, ObjectMetAgainIsAReferenceEvenInACycle)
{
    Object* o = vm.newObject();
    vm.set(o, "me", Value(o));
    EXPECT_EQ(write(Value(o)), (Bytes{0x03, 0, 2, 'm', 'e', 0x07, 0, 0, 0, 0, 0x09}));
}

TEST_F(Amf, TypedByOwnConstructorOnly)
{
    FunctionObject* cls = vm.newNative([](CallContext&) { return Value(); });
    vm.attachPrototype(cls);
    auto aliases = [cls](Object* constructor) { return constructor == cls ? std::string("T") : std::string(); };
    Value made = vm.construct(Value(static_cast<Object*>(cls)), {});
    EXPECT_EQ(write(made, aliases), (Bytes{0x10, 0, 1, 'T', 0, 0, 0x09}));
    // An object that merely inherits from the class's prototype is plain.
    Object* forged = vm.newObject();
    forged->setProto(vm.get(cls, "prototype").object());
    EXPECT_EQ(write(Value(forged), aliases), (Bytes{0x03, 0, 0, 0x09}));
}

TEST_F(Amf, ReadsBackWhatItWrites)
{
    Object* o = vm.newObject();
    vm.set(o, "n", Value(2.5));
    vm.set(o, "list", Value(static_cast<Object*>(vm.newArray({Value("x"), Value(false)}))));
    bool ok = false;
    Value back = read(write(Value(o)), &ok);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(back.isObject());
    EXPECT_EQ(vm.toNumber(vm.get(back.object(), "n")), 2.5);
    EXPECT_EQ(vm.toString(vm.get(back.object(), "list")), "x,false");
}

TEST_F(Amf, HostileInputEndsTheReadingSafely)
{
    bool ok = true;
    // A strict array that claims four billion elements in five bytes.
    read(Bytes{0x0A, 0xFF, 0xFF, 0xFF, 0xFF}, &ok);
    EXPECT_FALSE(ok);
    // A string longer than the data, a reference to nothing, an unknown marker.
    for (const Bytes& bad : {Bytes{0x02, 0xFF, 0xFF, 'a'}, Bytes{0x07, 0, 3}, Bytes{0x42}, Bytes{}}) {
        ok = true;
        EXPECT_TRUE(read(bad, &ok).isUndefined());
        EXPECT_FALSE(ok);
    }
    // Arrays of one array nested deeper than the reader follows.
    Bytes deep;
    for (int i = 0; i < 1000; ++i) deep.insert(deep.end(), {0x0A, 0, 0, 0, 1});
    ok = true;
    read(deep, &ok);
    EXPECT_FALSE(ok);
}

TEST_F(Amf, FileFormFollowsEachMemberWithZeroAndNamesArrayIndices)
{
    Object* data = vm.newObject();
    vm.set(data, "a", Value(static_cast<Object*>(vm.newArray({Value(true)}))));
    vm.set(data, "n", Value::null());
    AmfWriter writer(vm, {});
    writer.writeArraysWithNames();
    writer.fileMembers(data);
    EXPECT_EQ(writer.bytes(), (Bytes{0, 1, 'a', 0x08, 0, 0, 0, 1, 0, 1, '0', 0x01, 0x01, 0, 0, 0x09, 0,
                                     0, 1, 'n', 0x05, 0}));
}

} // namespace
} // namespace tesmar::script
