// flash.external.ExternalInterface: the bridge to a page's scripts. A screen
// saver has no page, so `available` is false and calls answer null, but the
// helpers that turn values into the bridge's XML text and back are ordinary
// functions that movies call themselves.

#include "player/script/BuiltinExternalInterface.h"

#include "player/script/Builtins.h"
#include "player/script/VM.h"

namespace tesmar::script {

std::string escapeXmlText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        switch (ch) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += ch;
        }
    }
    return out;
}

std::string unescapeXmlText(const std::string& text)
{
    // Only the five entities, spelled exactly; anything else stays as it is.
    static const std::pair<const char*, char> entities[] = {
        {"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}, {"&quot;", '"'}, {"&apos;", '\''}};
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        bool replaced = false;
        if (text[i] == '&') {
            for (auto [entity, ch] : entities) {
                if (text.compare(i, std::char_traits<char>::length(entity), entity) == 0) {
                    out += ch;
                    i += std::char_traits<char>::length(entity);
                    replaced = true;
                    break;
                }
            }
        }
        if (!replaced) out += text[i++];
    }
    return out;
}

std::string quoteJsText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        if (ch == '"') out += '\\';
        out += ch;
    }
    return out;
}

namespace {

// An element count read from a `length`; 0 when there is none.
size_t lengthOf(VM& vm, const Value& value)
{
    double n = vm.toNumber(vm.getOf(value, "length"));
    if (!(n > 0)) return 0;
    return n > 1e6 ? size_t(1e6) : size_t(n);
}

std::string valueToXml(VM& vm, const Value& value, int depth);

std::string elementsToXml(VM& vm, const Value& value, size_t first, bool asProperties, int depth)
{
    std::string out;
    size_t n = lengthOf(vm, value);
    for (size_t i = first; i < n; ++i) {
        std::string item = valueToXml(vm, vm.getOf(value, std::to_string(i)), depth + 1);
        out += asProperties ? "<property id=\"" + std::to_string(i) + "\">" + item + "</property>" : item;
    }
    return out;
}

std::string arrayToXml(VM& vm, const Value& value, int depth)
{
    return "<array>" + elementsToXml(vm, value, 0, true, depth) + "</array>";
}

std::string objectToXml(VM& vm, const Value& value, int depth)
{
    std::string out = "<object>";
    if (value.isObject())
        for (const std::string& key : vm.enumerate(value.object()))
            out += "<property id=\"" + key + "\">" + valueToXml(vm, vm.get(value.object(), key), depth + 1) +
                   "</property>";
    return out + "</object>";
}

// Text of the bridge's escaping as the scripts see it: an empty text is null.
Value escapedOrNull(VM& vm, const Value& value, std::string (*convert)(const std::string&))
{
    std::string text = vm.toString(value);
    return text.empty() ? Value::null() : Value(convert(text));
}

std::string valueToXml(VM& vm, const Value& value, int depth)
{
    // Nesting beyond this is a cycle; it ends as null rather than without end.
    if (depth > 64) return "<null/>";
    switch (value.type()) {
    case Type::Undefined: return "<undefined/>";
    case Type::Null: return "<null/>";
    case Type::Boolean: return value.boolean() ? "<true/>" : "<false/>";
    case Type::Number: return "<number>" + vm.toString(value) + "</number>";
    case Type::String: return "<string>" + vm.toString(escapedOrNull(vm, value, escapeXmlText)) + "</string>";
    case Type::Object: break;
    }
    if (vm.typeOf(value) != "object") return "<null/>";
    if (vm.getOf(value, "length").isNumber()) return arrayToXml(vm, value, depth);
    return objectToXml(vm, value, depth);
}

Value toXml(CallContext& c) { return Value(valueToXml(c.vm, c.arg(0), 0)); }
Value arrayToXmlCall(CallContext& c) { return Value(arrayToXml(c.vm, c.arg(0), 0)); }
Value objectToXmlCall(CallContext& c) { return Value(objectToXml(c.vm, c.arg(0), 0)); }

Value argumentsToXml(CallContext& c)
{
    // The first element is the name of the called function, not an argument.
    return Value("<arguments>" + elementsToXml(c.vm, c.arg(0), 1, false, 0) + "</arguments>");
}

Value escapeXml(CallContext& c)
{
    return c.count() == 0 ? Value::null() : escapedOrNull(c.vm, c.arg(0), escapeXmlText);
}

Value unescapeXml(CallContext& c)
{
    return c.count() == 0 ? Value::null() : escapedOrNull(c.vm, c.arg(0), unescapeXmlText);
}

Value jsQuoteString(CallContext& c)
{
    return c.count() == 0 ? Value::null() : escapedOrNull(c.vm, c.arg(0), quoteJsText);
}

// ---- from XML nodes back to values -----------------------------------------------

Value nodeToValue(VM& vm, const Value& node, int depth);

// Calls `each` on every child node of an XML node (none for other values).
template <class Each>
void forEachChild(VM& vm, const Value& node, Each each)
{
    Value children = vm.getOf(node, "childNodes");
    size_t n = lengthOf(vm, children);
    for (size_t i = 0; i < n; ++i) each(vm.getOf(children, std::to_string(i)));
}

Value nodeToArray(VM& vm, const Value& node, int depth)
{
    ArrayObject* array = vm.newArray();
    forEachChild(vm, node, [&](const Value& child) {
        Value id = vm.getOf(vm.getOf(child, "attributes"), "id");
        vm.set(array, vm.toString(id), nodeToValue(vm, vm.getOf(child, "firstChild"), depth + 1));
    });
    return Value(static_cast<Object*>(array));
}

Value nodeToObject(VM& vm, const Value& node, int depth)
{
    Object* object = vm.newObject();
    forEachChild(vm, node, [&](const Value& child) {
        Value id = vm.getOf(vm.getOf(child, "attributes"), "id");
        vm.set(object, vm.toString(id), nodeToValue(vm, vm.getOf(child, "firstChild"), depth + 1));
    });
    return Value(object);
}

Value nodeToArguments(VM& vm, const Value& node, int depth)
{
    ArrayObject* array = vm.newArray();
    forEachChild(vm, node, [&](const Value& child) { array->push(nodeToValue(vm, child, depth + 1)); });
    return Value(static_cast<Object*>(array));
}

Value nodeToValue(VM& vm, const Value& node, int depth)
{
    if (depth > 64) return Value();
    Value name = vm.getOf(node, "nodeName");
    auto named = [&](const char* text) { return vm.looseEquals(name, Value(text)); };
    if (named("number")) return Value(vm.toNumber(Value(vm.toString(vm.getOf(node, "firstChild")))));
    if (named("string")) return Value(unescapeXmlText(vm.toString(vm.getOf(node, "firstChild"))));
    if (named("false")) return Value(false);
    if (named("true")) return Value(true);
    if (named("null")) return Value::null();
    if (named("array")) return nodeToArray(vm, node, depth);
    if (named("object")) return nodeToObject(vm, node, depth);
    return Value();
}

Value toAs(CallContext& c) { return nodeToValue(c.vm, c.arg(0), 0); }
Value arrayToAs(CallContext& c) { return nodeToArray(c.vm, c.arg(0), 0); }
Value objectToAs(CallContext& c) { return nodeToObject(c.vm, c.arg(0), 0); }
Value argumentsToAs(CallContext& c) { return nodeToArguments(c.vm, c.arg(0), 0); }

Value unavailable(CallContext&) { return Value::null(); }
Value refused(CallContext&) { return Value(false); }

Object* externalPackage(VM& vm)
{
    Property* flash = vm.global()->findOwn("flash");
    if (!flash || !flash->value.isObject()) {
        vm.global()->put("flash", Value(vm.newObject()), DontEnum | OnlySwf8Up);
        flash = vm.global()->findOwn("flash");
    }
    Object* root = flash->value.object();
    Property* external = root->findOwn("external");
    if (external && external->value.isObject()) return external->value.object();
    Object* package = vm.newObject();
    root->put("external", Value(package), DontEnum);
    return package;
}

} // namespace

void installExternalInterface(VM& vm)
{
    FunctionObject* cls = vm.newNative(nullptr);
    vm.attachPrototype(cls);
    cls->put("available", Value(false), DontEnum | DontDelete | ReadOnly);
    vm.defineNative(cls, "call", unavailable);
    vm.defineNative(cls, "addCallback", refused);
    vm.defineNative(cls, "_toXML", toXml);
    vm.defineNative(cls, "_arrayToXML", arrayToXmlCall);
    vm.defineNative(cls, "_objectToXML", objectToXmlCall);
    vm.defineNative(cls, "_argumentsToXML", argumentsToXml);
    vm.defineNative(cls, "_toAS", toAs);
    vm.defineNative(cls, "_arrayToAS", arrayToAs);
    vm.defineNative(cls, "_objectToAS", objectToAs);
    vm.defineNative(cls, "_argumentsToAS", argumentsToAs);
    vm.defineNative(cls, "_escapeXML", escapeXml);
    vm.defineNative(cls, "_unescapeXML", unescapeXml);
    vm.defineNative(cls, "_jsQuoteString", jsQuoteString);
    externalPackage(vm)->put("ExternalInterface", Value(static_cast<Object*>(cls)), DontEnum);
}

} // namespace tesmar::script
