// XMLNode: the constructor, the node properties (getters and setters on the
// prototype that read the tree) and the methods that change the tree.

#include "player/script/BuiltinXml.h"

#include <algorithm>

namespace tesmar::script {

namespace {

XmlNode* self(CallContext& c)
{
    return c.thisObject ? dynamic_cast<XmlNode*>(c.thisObject) : nullptr;
}

Value nodeValue(Object* o)
{
    return o ? Value(o) : Value::null();
}

// Getters answer undefined on objects that are no nodes (the prototype).
#define NODE_GETTER(fname, expr)            \
    Value fname(CallContext& c)             \
    {                                       \
        XmlNode* n = self(c);               \
        if (!n) return Value();             \
        return expr;                        \
    }

NODE_GETTER(getNodeType, Value(n->type))
NODE_GETTER(getNodeName, n->name)
NODE_GETTER(getNodeValue, n->value)
NODE_GETTER(getAttributes, Value(n->attributes()))
NODE_GETTER(getChildNodes, Value(static_cast<Object*>(n->childNodes())))
NODE_GETTER(getFirstChild, nodeValue(n->children().empty() ? nullptr : n->children().front()))
NODE_GETTER(getLastChild, nodeValue(n->children().empty() ? nullptr : n->children().back()))
NODE_GETTER(getNextSibling, nodeValue(n->sibling(1)))
NODE_GETTER(getPreviousSibling, nodeValue(n->sibling(-1)))
NODE_GETTER(getParentNode, nodeValue(n->parent()))
NODE_GETTER(getPrefix, n->name.isString() ? Value(xmlPrefix(n)) : Value::null())
NODE_GETTER(getLocalName, n->name.isString() ? Value(xmlLocalName(n)) : Value::null())
NODE_GETTER(getNamespaceUri,
            n->name.isString() ? xmlNamespaceForPrefix(c.vm, n, xmlPrefix(n)) : Value::null())

#undef NODE_GETTER

// Assigning undefined leaves a name or value as it was.
Value textOrNull(CallContext& c)
{
    return c.arg(0).isNull() ? Value::null() : Value(c.vm.toString(c.arg(0)));
}

Value setNodeName(CallContext& c)
{
    XmlNode* n = self(c);
    if (n && !c.arg(0).isUndefined()) n->name = textOrNull(c);
    return Value();
}

Value setNodeValue(CallContext& c)
{
    XmlNode* n = self(c);
    if (n && !c.arg(0).isUndefined()) n->value = textOrNull(c);
    return Value();
}

Value appendChild(CallContext& c)
{
    XmlNode* n = self(c);
    XmlNode* child = asXmlNode(c.arg(0));
    if (n && child) insertXmlChild(c.vm, n, child, n->children().size());
    return Value();
}

Value insertBefore(CallContext& c)
{
    XmlNode* n = self(c);
    XmlNode* child = asXmlNode(c.arg(0));
    XmlNode* before = asXmlNode(c.arg(1));
    if (!n || !child || !before || before->parent() != n) return Value();
    const auto& children = n->children();
    size_t at = size_t(std::find(children.begin(), children.end(), before) - children.begin());
    insertXmlChild(c.vm, n, child, at);
    return Value();
}

Value removeNode(CallContext& c)
{
    if (XmlNode* n = self(c)) detachXmlNode(c.vm, n);
    return Value();
}

Value cloneNode(CallContext& c)
{
    XmlNode* n = self(c);
    if (!n) return Value();
    return Value(cloneXmlNode(c.vm, n, c.vm.toBoolean(c.arg(0))));
}

Value hasChildNodes(CallContext& c)
{
    XmlNode* n = self(c);
    if (!n) return Value();
    return Value(!n->children().empty());
}

Value nodeToString(CallContext& c)
{
    XmlNode* n = self(c);
    if (!n) return Value();
    return Value(xmlToString(c.vm, n));
}

Value getNamespaceForPrefix(CallContext& c)
{
    XmlNode* n = self(c);
    if (!n) return Value();
    return xmlNamespaceForPrefix(c.vm, n, c.vm.toString(c.arg(0)));
}

Value getPrefixForNamespace(CallContext& c)
{
    XmlNode* n = self(c);
    if (!n) return Value();
    return xmlPrefixForNamespace(c.vm, n, c.vm.toString(c.arg(0)));
}

// new XMLNode(type, text): with fewer arguments the object stays plain.
Value construct(CallContext& c)
{
    if (!c.constructing || c.count() < 2) return Value();
    int type = c.vm.toInt32(c.arg(0));
    return Value(adoptXmlNode(c, type, Value(c.vm.toString(c.arg(1)))));
}

void addAccessor(VM& vm, Object* on, const char* name, NativeFunction getter, NativeFunction setter)
{
    Property& p = on->put(name, Value(), DontEnum | DontDelete | (setter ? 0 : ReadOnly));
    p.accessor = true;
    p.getter = vm.newNative(getter);
    p.setter = setter ? vm.newNative(setter) : nullptr;
}

} // namespace

XmlNode* adoptXmlNode(CallContext& c, int type, const Value& text)
{
    XmlNode* node = newXmlNode(c.vm, type, text);
    if (c.thisObject)
        for (const Property& p : c.thisObject->properties()) node->put(p.name, p.value, p.flags);
    return node;
}

Object* installXmlNode(VM& vm)
{
    FunctionObject* cls = vm.newNative(construct);
    Object* proto = vm.attachPrototype(cls);
    vm.global()->put("XMLNode", Value(static_cast<Object*>(cls)), DontEnum);

    const std::pair<const char*, NativeFunction> methods[] = {
        {"cloneNode", cloneNode},
        {"removeNode", removeNode},
        {"insertBefore", insertBefore},
        {"appendChild", appendChild},
        {"hasChildNodes", hasChildNodes},
        {"toString", nodeToString},
        {"getNamespaceForPrefix", getNamespaceForPrefix},
        {"getPrefixForNamespace", getPrefixForNamespace},
    };
    for (const auto& [name, fn] : methods) vm.defineNative(proto, name, fn);

    addAccessor(vm, proto, "attributes", getAttributes, nullptr);
    addAccessor(vm, proto, "childNodes", getChildNodes, nullptr);
    addAccessor(vm, proto, "firstChild", getFirstChild, nullptr);
    addAccessor(vm, proto, "lastChild", getLastChild, nullptr);
    addAccessor(vm, proto, "nextSibling", getNextSibling, nullptr);
    addAccessor(vm, proto, "nodeName", getNodeName, setNodeName);
    addAccessor(vm, proto, "nodeType", getNodeType, nullptr);
    addAccessor(vm, proto, "nodeValue", getNodeValue, setNodeValue);
    addAccessor(vm, proto, "parentNode", getParentNode, nullptr);
    addAccessor(vm, proto, "previousSibling", getPreviousSibling, nullptr);
    addAccessor(vm, proto, "prefix", getPrefix, nullptr);
    addAccessor(vm, proto, "localName", getLocalName, nullptr);
    addAccessor(vm, proto, "namespaceURI", getNamespaceUri, nullptr);
    return proto;
}

} // namespace tesmar::script
