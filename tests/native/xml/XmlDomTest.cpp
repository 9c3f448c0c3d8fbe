// XML and XMLNode as scripts use them: the tree stays consistent with its
// childNodes arrays and sibling links whatever is moved where.

#include "XmlTestHost.h"

#include <gtest/gtest.h>

#include <random>

namespace tesmar::script::testing {
namespace {

class XmlDom : public ::testing::Test, public XmlScript {
protected:
    // Every child knows its parent and place, and childNodes mirrors the children.
    void expectConsistent(XmlNode* root)
    {
        std::vector<XmlNode*> pending{root};
        while (!pending.empty()) {
            XmlNode* n = pending.back();
            pending.pop_back();
            const auto& children = n->children();
            ASSERT_EQ(vm.toNumber(vm.get(n->childNodes(), "length")), double(children.size()));
            for (size_t i = 0; i < children.size(); ++i) {
                ASSERT_EQ(children[i]->parent(), n);
                ASSERT_EQ(vm.get(n->childNodes(), std::to_string(i)).object(), children[i]);
                ASSERT_EQ(children[i]->sibling(-1), i ? children[i - 1] : nullptr);
                ASSERT_EQ(children[i]->sibling(1), i + 1 < children.size() ? children[i + 1] : nullptr);
                pending.push_back(children[i]);
            }
        }
    }
};

TEST_F(XmlDom, ParsesIntoNodesWithTheirProperties)
{
    Value doc = document("<?xml version='1.0'?><p:a xmlns:p='urn:x' id='one'>I'm &lt;here&gt;<b/></p:a>");
    EXPECT_EQ(text(get(doc, "status")), "0");
    EXPECT_EQ(text(get(doc, "xmlDecl")), "<?xml version='1.0'?>");
    Value a = get(doc, "firstChild");
    EXPECT_EQ(text(get(a, "nodeName")), "p:a");
    EXPECT_EQ(text(get(a, "prefix")), "p");
    EXPECT_EQ(text(get(a, "localName")), "a");
    EXPECT_EQ(text(get(a, "namespaceURI")), "urn:x");
    EXPECT_EQ(text(call(get(a, "lastChild"), "getNamespaceForPrefix", {Value("p")})), "urn:x");
    EXPECT_EQ(text(call(a, "getPrefixForNamespace", {Value("urn:x")})), "p");
    EXPECT_TRUE(call(a, "getPrefixForNamespace", {Value("urn:y")}).isNull());
    EXPECT_EQ(get(get(doc, "idMap"), "one").object(), a.object());
    Value t = get(a, "firstChild");
    EXPECT_EQ(text(get(t, "nodeType")), "3");
    EXPECT_EQ(text(get(t, "nodeValue")), "I'm <here>");
    EXPECT_TRUE(get(t, "nodeName").isNull());
    EXPECT_TRUE(get(doc, "nodeName").isNull());
    EXPECT_EQ(text(doc), "<?xml version='1.0'?><p:a xmlns:p=\"urn:x\" id=\"one\">I&apos;m &lt;here&gt;<b /></p:a>");
}

TEST_F(XmlDom, AttributesKeepDocumentOrderAndScriptedOnesComeFirst)
{
    Value doc = document("<a z='1' y='2' x='3'/>");
    Value a = get(doc, "firstChild");
    EXPECT_EQ(vm.enumerate(get(a, "attributes").object()), (std::vector<std::string>{"z", "y", "x"}));
    vm.set(get(a, "attributes").object(), "w", Value("4"));
    EXPECT_EQ(text(a), "<a w=\"4\" z=\"1\" y=\"2\" x=\"3\" />");
}

TEST_F(XmlDom, AppendingMovesANodeButNeverUnderItself)
{
    Value doc = document("<a><b/></a><c/>");
    Value a = get(doc, "firstChild");
    Value b = get(a, "firstChild");
    call(doc, "appendChild", {b});
    EXPECT_EQ(text(doc), "<a /><c /><b />");
    EXPECT_EQ(get(b, "parentNode").object(), doc.object());

    call(b, "appendChild", {a});
    call(a, "appendChild", {doc});         // the document is a's ancestor
    call(b, "appendChild", {b});
    EXPECT_EQ(text(doc), "<c /><b><a /></b>");
    // Already a child: appending again changes nothing.
    Value c = get(doc, "firstChild");
    call(doc, "appendChild", {c});
    EXPECT_EQ(text(doc), "<c /><b><a /></b>");
    expectConsistent(node(doc));
}

TEST_F(XmlDom, InsertBeforeAndRemove)
{
    Value doc = document("<a/><b/>");
    Value a = get(doc, "firstChild"), b = get(doc, "lastChild");
    Value n = element("n");
    call(doc, "insertBefore", {n, b});
    EXPECT_EQ(text(doc), "<a /><n /><b />");
    call(doc, "insertBefore", {element("x"), element("stranger")});   // not a child: nothing
    call(doc, "insertBefore", {b, a});                                 // already a child: nothing
    EXPECT_EQ(text(doc), "<a /><n /><b />");
    call(n, "removeNode");
    EXPECT_TRUE(get(n, "parentNode").isNull());
    EXPECT_TRUE(get(n, "nextSibling").isNull());
    EXPECT_EQ(get(a, "nextSibling").object(), b.object());
    expectConsistent(node(doc));
}

TEST_F(XmlDom, ChildNodesIsRewrittenNotReplaced)
{
    Value doc = document("<l><a/><b/></l>");
    Value l = get(doc, "firstChild");
    Value list = get(l, "childNodes");
    call(list, "push", {element("d")});
    call(l, "appendChild", {element("e")});
    EXPECT_EQ(get(l, "childNodes").object(), list.object());
    EXPECT_EQ(text(list), "<a />,<b />,<e />");
    call(get(l, "firstChild"), "removeNode");
    EXPECT_EQ(text(list), "<b />,<e />");
}

TEST_F(XmlDom, CloneCopiesTreeNotExpandos)
{
    Value doc = document("<a k='v'><b>t</b></a>");
    Value a = get(doc, "firstChild");
    vm.set(a.object(), "expando", Value(1));
    Value shallow = call(a, "cloneNode", {Value(false)});
    Value deep = call(a, "cloneNode", {Value(true)});
    EXPECT_EQ(text(shallow), "<a k=\"v\" />");
    EXPECT_EQ(text(deep), "<a k=\"v\"><b>t</b></a>");
    EXPECT_TRUE(get(deep, "expando").isUndefined());
    EXPECT_TRUE(get(deep, "parentNode").isNull());
    // The copy's attributes are its own.
    vm.set(get(deep, "attributes").object(), "k", Value("changed"));
    EXPECT_EQ(text(get(get(a, "attributes"), "k")), "v");
}

TEST_F(XmlDom, ParseReplacesChildrenAndKeepsIdMap)
{
    Value doc = document("<a id='x'/>t");
    Value a = get(doc, "firstChild");
    Value ids = get(doc, "idMap");
    call(doc, "parseXML", {Value("<b id='y'/>")});
    EXPECT_TRUE(get(a, "parentNode").isNull());
    EXPECT_EQ(text(doc), "<b id=\"y\" />");
    EXPECT_EQ(get(doc, "idMap").object(), ids.object());
    EXPECT_EQ(vm.enumerate(ids.object()).size(), 2u);
    call(doc, "parseXML", {Value("<a><b></a>")});
    EXPECT_EQ(text(get(doc, "status")), "-9");
    EXPECT_EQ(text(doc), "<a><b /></a>");
}

TEST_F(XmlDom, IgnoreWhiteComesThroughThePrototype)
{
    vm.set(get(global("XML"), "prototype").object(), "ignoreWhite", Value(true));
    EXPECT_EQ(text(document("<r>  <f> x </f> </r>")), "<r><f> x </f></r>");
}

TEST_F(XmlDom, OnDataParsesThenCallsOnLoad)
{
    Value doc = document("");
    NativeFunction record = [](CallContext& c) {
        c.vm.trace(c.vm.toString(c.arg(0)));
        return Value();
    };
    vm.set(doc.object(), "onLoad", Value(static_cast<Object*>(vm.newNative(record))));
    call(doc, "onData", {Value("<a/>")});
    call(doc, "onData", {Value()});
    EXPECT_EQ(host.lines, (std::vector<std::string>{"true", "false"}));
    EXPECT_EQ(text(doc), "<a />");
    EXPECT_EQ(text(get(doc, "loaded")), "true");
}

TEST_F(XmlDom, ConstructorsNeedEnoughArguments)
{
    EXPECT_EQ(node(vm.construct(global("XMLNode"), {Value(1)})), nullptr);
    EXPECT_EQ(text(vm.construct(global("XMLNode"), {Value(3), Value("a&b")})), "a&amp;b");
    EXPECT_EQ(text(get(vm.construct(global("XML"), {Value(0)}), "childNodes")), "");
    // Nodes made later take XMLNode.prototype as it is then.
    Object* replaced = vm.newObject();
    vm.set(global("XMLNode").object(), "prototype", Value(replaced));
    EXPECT_EQ(node(get(document("<a/>"), "firstChild"))->proto(), replaced);
}

TEST_F(XmlDom, DeepDocumentsPrintCopyAndCollect)
{
    const int depth = 50000;
    std::string source;
    for (int i = 0; i < depth; ++i) source += "<n>";
    for (int i = 0; i < depth; ++i) source += "</n>";
    Value doc = document(source);
    Value copy = call(doc, "cloneNode", {Value(true)});
    EXPECT_EQ(text(copy).size(), source.size() - 2);   // the innermost prints as <n />
    vm.collectGarbage();
}

TEST_F(XmlDom, RandomMovesKeepTheTreeConsistent)
{
    std::mt19937 random(7);
    Value doc = document("");
    std::vector<Value> nodes{doc};
    for (int i = 0; i < 30; ++i) nodes.push_back(element(("e" + std::to_string(i)).c_str()));
    auto pick = [&] { return nodes[random() % nodes.size()]; };
    for (int step = 0; step < 3000; ++step) {
        switch (random() % 3) {
        case 0: call(pick(), "appendChild", {pick()}); break;
        case 1: {
            Value parent = pick();
            Value before = get(parent, "firstChild");
            call(parent, "insertBefore", {pick(), before});
            break;
        }
        default: call(pick(), "removeNode"); break;
        }
        for (const Value& n : nodes) {
            XmlNode* x = node(n);
            if (!x->parent()) expectConsistent(x);
            for (XmlNode* up = x->parent(); up; up = up->parent()) ASSERT_NE(up, x);
        }
    }
}

} // namespace
} // namespace tesmar::script::testing
