// The player-service classes that need no stage: the page bridge's text
// conversions, context menus and print jobs, called as scripts call them.

#include "player/script/BuiltinExternalInterface.h"
#include "player/script/VM.h"
#include "tests/native/StagelessHost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tesmar::script {
namespace {

using NoStageHost = testing::StagelessHost;

class ServiceObjects : public ::testing::Test {
protected:
    explicit ServiceObjects(int version = 8) : vm(host, version) {}

    Value global(const char* name) { return vm.get(vm.global(), name); }
    Value bridge()
    {
        Value flash = global("flash");
        return vm.getOf(vm.getOf(flash, "external"), "ExternalInterface");
    }
    Value call(const Value& object, const char* name, std::vector<Value> args = {})
    {
        return vm.callMethod(object, name, args);
    }
    Object* object(std::initializer_list<std::pair<const char*, Value>> fields)
    {
        Object* o = vm.newObject();
        for (const auto& [name, value] : fields) vm.set(o, name, value);
        return o;
    }
    Value array(std::vector<Value> items) { return Value(static_cast<Object*>(vm.newArray(items))); }
    std::string text(const Value& v) { return vm.toString(v); }

    NoStageHost host;
    VM vm;
};

TEST(BridgeText, EscapesEveryEntityAndOnlyThose)
{
    EXPECT_EQ(escapeXmlText("a<b>&\"c'"), "a&lt;b&gt;&amp;&quot;c&apos;");
    EXPECT_EQ(escapeXmlText("&amp;"), "&amp;amp;");
    EXPECT_EQ(escapeXmlText(";`~"), ";`~");
}

TEST(BridgeText, UnescapesInOnePassAndKeepsUnknownEntities)
{
    // "&amp;gt;" is an escaped "&gt;", not a ">".
    EXPECT_EQ(unescapeXmlText("&amp;gt;"), "&gt;");
    EXPECT_EQ(unescapeXmlText("a&lt;b&gt;c&quot;&apos;"), "a<b>c\"'");
    EXPECT_EQ(unescapeXmlText("a&LT;b&#x20;c&"), "a&LT;b&#x20;c&");
    EXPECT_EQ(unescapeXmlText(escapeXmlText("x&<>\"'y")), "x&<>\"'y");
}

TEST(BridgeText, QuotesOnlyDoubleQuotes)
{
    EXPECT_EQ(quoteJsText("\\\""), "\\\\\"");
    EXPECT_EQ(quoteJsText("it's"), "it's");
}

TEST_F(ServiceObjects, BridgeIsUnavailableAndEmptyTextIsNull)
{
    EXPECT_FALSE(vm.toBoolean(vm.getOf(bridge(), "available")));
    EXPECT_TRUE(call(bridge(), "_escapeXML", {Value("")}).isNull());
    EXPECT_TRUE(call(bridge(), "_escapeXML").isNull());
    EXPECT_EQ(text(call(bridge(), "_escapeXML", {Value(4)})), "4");
}

TEST_F(ServiceObjects, ValuesBecomeBridgeXml)
{
    Value nested = array({Value(true), array({Value("a&b")}), Value()});
    EXPECT_EQ(text(call(bridge(), "_toXML", {nested})),
              "<array><property id=\"0\"><true/></property>"
              "<property id=\"1\"><array><property id=\"0\"><string>a&amp;b</string></property></array></property>"
              "<property id=\"2\"><undefined/></property></array>");
    // Anything with a numeric length counts as an array.
    Value counted(object({{"length", Value(1)}}));
    EXPECT_EQ(text(call(bridge(), "_toXML", {counted})), "<array><property id=\"0\"><undefined/></property></array>");
    EXPECT_EQ(text(call(bridge(), "_toXML", {Value(object({{"x", Value(2.5)}}))})),
              "<object><property id=\"x\"><number>2.5</number></property></object>");
    EXPECT_EQ(text(call(bridge(), "_toXML", {global("Object")})), "<null/>");
    EXPECT_EQ(text(call(bridge(), "_toXML", {Value("")})), "<string>null</string>");
    // The arguments list leaves out its first element, the function's name.
    EXPECT_EQ(text(call(bridge(), "_argumentsToXML", {array({Value("f"), Value(1)})})),
              "<arguments><number>1</number></arguments>");
}

TEST_F(ServiceObjects, SelfContainingObjectsEndInsteadOfRecursing)
{
    Object* loop = vm.newObject();
    vm.set(loop, "self", Value(loop));
    std::string xml = text(call(bridge(), "_toXML", {Value(loop)}));
    EXPECT_NE(xml.find("<null/>"), std::string::npos);
}

TEST_F(ServiceObjects, BridgeNodesBecomeValues)
{
    auto node = [&](const char* name, Value first) {
        return Value(object({{"nodeName", Value(name)}, {"firstChild", first}}));
    };
    EXPECT_EQ(vm.toNumber(call(bridge(), "_toAS", {node("number", Value(" -2.5"))})), -2.5);
    EXPECT_TRUE(std::isnan(vm.toNumber(call(bridge(), "_toAS", {node("number", Value("Infinity"))}))));
    EXPECT_EQ(text(call(bridge(), "_toAS", {node("string", Value("a&amp;b"))})), "a&b");
    EXPECT_TRUE(call(bridge(), "_toAS", {node("null", Value())}).isNull());
    EXPECT_TRUE(call(bridge(), "_toAS", {node("TRUE", Value())}).isUndefined());
    // An array node: property children carry the index and the value.
    Value property(object({{"attributes", Value(object({{"id", Value("1")}}))},
                           {"firstChild", node("true", Value())}}));
    Value arrayNode(object({{"nodeName", Value("array")}, {"childNodes", array({property})}}));
    Value result = call(bridge(), "_toAS", {arrayNode});
    EXPECT_EQ(text(result), "undefined,true");
}

TEST_F(ServiceObjects, ContextMenuCopiesAreIndependent)
{
    Value menu = vm.construct(global("ContextMenu"), {});
    Value item = vm.construct(global("ContextMenuItem"), {Value("Caption")});
    call(vm.getOf(menu, "customItems"), "push", {item});
    vm.set(vm.getOf(menu, "builtInItems").object(), "zoom", Value(false));
    Value copy = call(menu, "copy");
    vm.set(vm.getOf(menu, "builtInItems").object(), "zoom", Value(true));
    EXPECT_FALSE(vm.toBoolean(vm.getOf(vm.getOf(copy, "builtInItems"), "zoom")));
    Value copiedItem = vm.getOf(vm.getOf(copy, "customItems"), "0");
    ASSERT_TRUE(copiedItem.isObject());
    EXPECT_NE(copiedItem.object(), item.object());
    EXPECT_EQ(text(vm.getOf(copiedItem, "caption")), "Caption");
    EXPECT_TRUE(vm.toBoolean(vm.getOf(copiedItem, "enabled")));
    call(menu, "hideBuiltInItems");
    EXPECT_FALSE(vm.toBoolean(vm.getOf(vm.getOf(menu, "builtInItems"), "save")));
}

TEST_F(ServiceObjects, PrintJobIsDeclinedAndItsSizesCannotBeSet)
{
    Value job = vm.construct(global("PrintJob"), {});
    EXPECT_FALSE(vm.toBoolean(call(job, "start")));
    vm.set(job.object(), "pageWidth", Value(500));
    EXPECT_EQ(vm.toNumber(vm.getOf(job, "pageWidth")), 0);
    EXPECT_EQ(vm.enumerate(job.object()).size(), 5u);
}

// Records the calls a listener receives, as "name:arguments".
Value recordCall(CallContext& c)
{
    Value log = c.vm.get(c.vm.global(), "log");
    std::string entry = c.vm.toString(c.arg(0));
    for (size_t i = 1; i < c.count(); ++i) entry += (i == 1 ? ":" : ",") + c.vm.toString(c.arg(i));
    c.vm.callMethod(log, "push", {Value(entry)});
    return Value();
}

Value recordMethodCall(CallContext& c)
{
    std::vector<Value> args{c.vm.get(c.callee, "methodName")};
    args.insert(args.end(), c.args.begin(), c.args.end());
    CallContext named{c.vm, c.thisValue, c.thisObject, args, c.callee, false};
    return recordCall(named);
}

class Listeners : public ServiceObjects {
protected:
    Listeners() { vm.set(vm.global(), "log", array({})); }

    // A function that records its calls under `name`.
    Value method(const char* name)
    {
        FunctionObject* fn = vm.newNative(recordMethodCall);
        fn->put("methodName", Value(name));
        return Value(static_cast<Object*>(fn));
    }
    // An object whose methods `names` record their calls.
    Value listener(std::initializer_list<const char*> names)
    {
        Object* o = vm.newObject();
        for (const char* name : names) o->put(name, method(name));
        return Value(o);
    }
    std::string log() { return text(global("log")); }
};

TEST_F(Listeners, NetConnectionReportsEachChangeOfLink)
{
    Value connection = vm.construct(global("NetConnection"), {});
    FunctionObject* status = vm.newNative([](CallContext& c) -> Value {
        Value code = c.count() ? c.vm.getOf(c.arg(0), "code") : Value("none");
        std::vector<Value> args{code};
        CallContext inner{c.vm, c.thisValue, c.thisObject, args, c.callee, false};
        return recordCall(inner);
    });
    vm.set(connection.object(), "onStatus", Value(static_cast<Object*>(status)));
    call(connection, "close");
    call(connection, "connect", {Value::null()});
    call(connection, "connect", {Value::null()});
    call(connection, "close");
    call(connection, "connect", {Value("http://example.org/gateway")});
    call(connection, "close");
    EXPECT_EQ(log(), "NetConnection.Connect.Success,NetConnection.Connect.Closed,NetConnection.Connect.Success,"
                     "NetConnection.Connect.Closed,NetConnection.Connect.Closed,none");
}

TEST_F(Listeners, LocalConnectionDeliversAfterTheFrameToTheChannelHolderThen)
{
    Value sender = vm.construct(global("LocalConnection"), {});
    Value first = vm.construct(global("LocalConnection"), {});
    Value second = vm.construct(global("LocalConnection"), {});
    vm.set(first.object(), "ping", method("first"));
    vm.set(second.object(), "ping", method("second"));
    EXPECT_TRUE(vm.toBoolean(call(first, "connect", {Value("Channel")})));
    EXPECT_FALSE(vm.toBoolean(call(second, "connect", {Value("channel")})));
    EXPECT_FALSE(vm.toBoolean(call(sender, "send", {Value("channel"), Value("close")})));
    EXPECT_FALSE(vm.toBoolean(call(sender, "send", {Value(""), Value("ping")})));
    EXPECT_TRUE(vm.toBoolean(call(sender, "send", {Value("channel"), Value("ping"), Value(1)})));
    // The channel changes hands before the frame ends: the new holder gets it.
    call(first, "close");
    EXPECT_TRUE(vm.toBoolean(call(second, "connect", {Value("channel")})));
    EXPECT_EQ(log(), "");
    vm.runIntervals();
    EXPECT_EQ(log(), "second:1");
}

TEST_F(Listeners, FileDialogsAreCancelledAfterTheFrame)
{
    Value net = vm.getOf(global("flash"), "net");
    Value file = vm.construct(vm.getOf(net, "FileReference"), {});
    call(file, "addListener", {listener({"onCancel", "onSelect"})});
    EXPECT_FALSE(vm.toBoolean(call(file, "download", {Value("baddomain")})));
    EXPECT_TRUE(vm.toBoolean(call(file, "download", {Value("http://example.com/a.txt"), Value("a.txt")})));
    EXPECT_EQ(log(), "");
    vm.runIntervals();
    EXPECT_EQ(log(), "onCancel:[object Object]");
    EXPECT_TRUE(vm.getOf(file, "name").isUndefined());
}

TEST_F(Listeners, FileFiltersNeedOwnNonEmptyDescriptionAndExtension)
{
    Value net = vm.getOf(global("flash"), "net");
    Value list = vm.construct(vm.getOf(net, "FileReferenceList"), {});
    Value good(object({{"description", Value("Text")}, {"extension", Value("*.txt")}}));
    Value empty(object({{"description", Value("")}, {"extension", Value("*.txt")}}));
    Object* inherited = vm.newObject();
    inherited->setProto(good.object());
    EXPECT_TRUE(vm.toBoolean(call(list, "browse")));
    EXPECT_TRUE(vm.toBoolean(call(list, "browse", {array({good})})));
    EXPECT_FALSE(vm.toBoolean(call(list, "browse", {array({})})));
    EXPECT_FALSE(vm.toBoolean(call(list, "browse", {array({empty})})));
    EXPECT_FALSE(vm.toBoolean(call(list, "browse", {array({Value(inherited)})})));
    EXPECT_FALSE(vm.toBoolean(call(list, "browse", {Value("*.txt")})));
}

class OldServiceObjects : public ServiceObjects {
protected:
    OldServiceObjects() : ServiceObjects(6) {}
};

TEST_F(OldServiceObjects, PrintJobMethodsAreHiddenBeforeVersion7)
{
    Value job = vm.construct(global("PrintJob"), {});
    EXPECT_TRUE(vm.getOf(job, "start").isUndefined());
    EXPECT_TRUE(vm.getOf(job, "toString").isUndefined());
    EXPECT_TRUE(global("flash").isUndefined());
}

} // namespace
} // namespace tesmar::script
