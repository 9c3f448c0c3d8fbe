// XML: a document node that parses text into its children, makes new
// nodes, and receives loaded text through onData. Loading itself (load,
// send, sendAndLoad) is added to the prototype by the loading code.

#include "player/script/BuiltinXml.h"

#include "player/script/BuiltinXmlParser.h"
#include "player/script/Builtins.h"

namespace tesmar::script {

namespace {

XmlNode* self(CallContext& c)
{
    return c.thisObject ? dynamic_cast<XmlNode*>(c.thisObject) : nullptr;
}

// Turns parser events into nodes under a document.
class TreeBuilder : public XmlHandler {
public:
    TreeBuilder(VM& vm, XmlNode* document) : vm_(vm), document_(document), open_{document} {}

    void startElement(const std::string& name, const XmlAttributeList& attributes, bool empty) override
    {
        XmlNode* element = newXmlNode(vm_, XmlElement, Value(name));
        // The attributes object lists its newest property first: add them
        // last to first so that they list in document order.
        Object* target = element->attributes();
        for (auto it = attributes.rbegin(); it != attributes.rend(); ++it) target->put(it->first, Value(it->second));
        for (const auto& [key, value] : attributes)
            if (key == "id") document_->idMap(vm_)->put(value, Value(static_cast<Object*>(element)));
        append(element);
        if (!empty) open_.push_back(element);
    }

    void endElement() override
    {
        if (open_.size() > 1) open_.pop_back();
    }

    void text(const std::string& characters) override { append(newXmlNode(vm_, XmlText, Value(characters))); }
    void declaration(const std::string& text) override { document_->put("xmlDecl", Value(text), DontEnum); }
    void doctype(const std::string& text) override { document_->put("docTypeDecl", Value(text), DontEnum); }

private:
    void append(XmlNode* node)
    {
        XmlNode* parent = open_.back();
        insertXmlChild(vm_, parent, node, parent->children().size());
    }

    VM& vm_;
    XmlNode* document_;
    std::vector<XmlNode*> open_;
};

void parseInto(VM& vm, XmlNode* document, const std::string& source)
{
    detachXmlChildren(vm, document);
    bool ignoreWhite = vm.toBoolean(vm.get(document, "ignoreWhite"));
    TreeBuilder builder(vm, document);
    int status = parseXml(source, ignoreWhite, builder);
    document->put("status", Value(status), DontEnum);
}

Value construct(CallContext& c)
{
    if (!c.constructing) return Value();
    XmlNode* document = adoptXmlNode(c, XmlElement, Value::null());
    document->document = true;
    document->put("contentType", Value("application/x-www-form-urlencoded"), DontEnum);
    document->put("status", Value(0), DontEnum);
    // Text is parsed; other values only when they convert to true (so
    // `new XML(0)` starts empty).
    Value source = c.arg(0);
    if (source.isString() || (!source.isNullish() && c.vm.toBoolean(source)))
        parseInto(c.vm, document, c.vm.toString(source));
    return Value(static_cast<Object*>(document));
}

Value parseXML(CallContext& c)
{
    XmlNode* document = self(c);
    if (!document) return Value();
    parseInto(c.vm, document, c.vm.toString(c.arg(0)));
    return Value();
}

Value createElement(CallContext& c)
{
    return Value(static_cast<Object*>(newXmlNode(c.vm, XmlElement, Value(c.vm.toString(c.arg(0))))));
}

Value createTextNode(CallContext& c)
{
    return Value(static_cast<Object*>(newXmlNode(c.vm, XmlText, Value(c.vm.toString(c.arg(0))))));
}

// Loaded text arrives here: parse it, mark the document loaded and tell
// onLoad; no text means the load failed.
Value onData(CallContext& c)
{
    if (!c.thisObject) return Value();
    Value target = Value(c.thisObject);
    if (c.arg(0).isUndefined()) {
        c.vm.callMethod(target, "onLoad", {Value(false)});
        return Value();
    }
    c.vm.callMethod(target, "parseXML", {Value(c.vm.toString(c.arg(0)))});
    c.vm.set(c.thisObject, "loaded", Value(true));
    c.vm.callMethod(target, "onLoad", {Value(true)});
    return Value();
}

Value onLoad(CallContext&)
{
    return Value();
}

Value getBytesLoaded(CallContext& c)
{
    return c.thisObject ? c.vm.get(c.thisObject, "_bytesLoaded") : Value();
}

Value getBytesTotal(CallContext& c)
{
    return c.thisObject ? c.vm.get(c.thisObject, "_bytesTotal") : Value();
}

} // namespace

void installXml(VM& vm)
{
    installXmlNode(vm);
    FunctionObject* cls = vm.newNative(construct);
    // The prototype is a node itself: an unnamed, empty element.
    XmlNode* proto = newXmlNode(vm, XmlElement, Value::null());
    vm.attachPrototype(cls, proto);
    vm.global()->put("XML", Value(static_cast<Object*>(cls)), DontEnum);

    const std::pair<const char*, NativeFunction> methods[] = {
        {"createElement", createElement},
        {"createTextNode", createTextNode},
        {"parseXML", parseXML},
        {"onLoad", onLoad},
        {"onData", onData},
        {"getBytesLoaded", getBytesLoaded},
        {"getBytesTotal", getBytesTotal},
    };
    for (const auto& [name, fn] : methods) vm.defineNative(proto, name, fn);
}

} // namespace tesmar::script
