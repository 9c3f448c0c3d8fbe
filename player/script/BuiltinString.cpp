// String: the wrapper class and its methods. Indices and lengths count
// UTF-16 code units.

#include "player/script/Builtins.h"
#include "player/script/Convert.h"
#include "player/script/Strings.h"
#include "player/script/VM.h"

#include <algorithm>
#include <cmath>

namespace tesmar::script {

namespace {

std::u16string thisText(CallContext& c)
{
    return toUtf16(c.thisValue.isString() ? c.thisValue.string() : c.vm.toString(c.thisValue));
}

Value text(const std::u16string& s)
{
    return Value(toUtf8(s));
}

// An integer argument; NaN and undefined give `fallback`.
double integerArg(CallContext& c, size_t i, double fallback)
{
    if (i >= c.count() || c.arg(i).isUndefined()) return fallback;
    // Indices wrap as 32-bit integers.
    return double(c.vm.toInt32(c.arg(i)));
}

Value stringConstructor(CallContext& c)
{
    std::string s = c.count() ? c.vm.toString(c.arg(0)) : std::string();
    if (!c.constructing) return Value(s);
    c.thisObject->primitive = Value(s);
    c.thisObject->put("length", Value(double(utf16Length(s))), DontEnum | DontDelete);
    return Value(c.thisObject);
}

Value stringValueOf(CallContext& c)
{
    if (c.thisValue.isString()) return c.thisValue;
    if (c.thisObject && c.thisObject->primitive.isString()) return c.thisObject->primitive;
    return Value(c.vm.toString(c.thisValue));
}

Value charAt(CallContext& c)
{
    std::u16string s = thisText(c);
    double i = integerArg(c, 0, 0);
    if (i < 0 || i >= double(s.size())) return Value("");
    return text(s.substr(size_t(i), 1));
}

Value charCodeAt(CallContext& c)
{
    std::u16string s = thisText(c);
    double i = integerArg(c, 0, 0);
    // Up to SWF 5 a position past the end reads as code 0.
    if (i >= double(s.size()) && c.vm.swfVersion() < 6) return Value(0);
    if (i < 0 || i >= double(s.size())) return Value(NAN);
    return Value(double(s[size_t(i)]));
}

Value concat(CallContext& c)
{
    std::string s = c.vm.toString(c.thisValue);
    for (const Value& v : c.args) {
        s += c.vm.toString(v);
        c.vm.checkString(s.size());
    }
    return Value(s);
}

Value indexOf(CallContext& c)
{
    std::u16string s = thisText(c);
    if (c.count() == 0) return Value();
    std::u16string needle = toUtf16(c.vm.toString(c.arg(0)));
    double start = std::max(integerArg(c, 1, 0), 0.0);
    if (start > double(s.size())) return Value(-1);
    size_t at = s.find(needle, size_t(start));
    return Value(at == std::u16string::npos ? -1.0 : double(at));
}

Value lastIndexOf(CallContext& c)
{
    std::u16string s = thisText(c);
    if (c.count() == 0) return Value();
    std::u16string needle = toUtf16(c.vm.toString(c.arg(0)));
    double start = integerArg(c, 1, double(s.size()));
    if (start < 0) return Value(-1);
    size_t at = s.rfind(needle, size_t(std::min(start, double(s.size()))));
    return Value(at == std::u16string::npos ? -1.0 : double(at));
}

double fromEnd(double i, size_t size)
{
    if (i < 0) i += double(size);
    return std::clamp(i, 0.0, double(size));
}

Value slice(CallContext& c)
{
    std::u16string s = thisText(c);
    if (c.count() == 0) return Value();
    double from = fromEnd(integerArg(c, 0, 0), s.size());
    double to = fromEnd(integerArg(c, 1, double(s.size())), s.size());
    if (from >= to) return Value("");
    return text(s.substr(size_t(from), size_t(to - from)));
}

Value substring(CallContext& c)
{
    std::u16string s = thisText(c);
    if (c.count() == 0) return Value();
    double from = std::clamp(integerArg(c, 0, 0), 0.0, double(s.size()));
    double to = std::clamp(integerArg(c, 1, double(s.size())), 0.0, double(s.size()));
    if (from > to) std::swap(from, to);
    return text(s.substr(size_t(from), size_t(to - from)));
}

Value substr(CallContext& c)
{
    std::u16string s = thisText(c);
    if (c.count() == 0) return Value();
    double from = fromEnd(integerArg(c, 0, 0), s.size());
    double length = integerArg(c, 1, double(s.size()));
    // A negative length counts back from the end of the whole string; if
    // the piece it gives would reach the end, there is none at all.
    if (length < 0) {
        length += double(s.size());
        if (from + length >= double(s.size())) return Value("");
    }
    length = std::min(length, double(s.size()) - from);
    if (length <= 0) return Value("");
    return text(s.substr(size_t(from), size_t(length)));
}

Value split(CallContext& c)
{
    std::u16string s = thisText(c);
    std::vector<Value> parts;
    double limit = c.count() > 1 && !c.arg(1).isUndefined() ? c.vm.toNumber(c.arg(1)) : 4294967295.0;
    if (std::isnan(limit)) limit = 0;
    // Up to SWF 5 a missing separator is a comma, from SWF 6 the text stays whole.
    bool noSeparator = c.count() == 0 || c.arg(0).isUndefined();
    if (noSeparator && c.vm.swfVersion() >= 6) {
        parts.push_back(text(s));
    } else {
        std::u16string separator = noSeparator ? u"," : toUtf16(c.vm.toString(c.arg(0)));
        if (separator.empty()) {
            if (c.vm.swfVersion() < 6) {
                parts.push_back(text(s));
            } else {
                for (size_t i = 0; i < s.size() && parts.size() < limit; ++i) parts.push_back(text(s.substr(i, 1)));
            }
        } else if (!s.empty()) {
            size_t at = 0;
            while (parts.size() < limit) {
                size_t found = s.find(separator, at);
                if (found == std::u16string::npos) {
                    parts.push_back(text(s.substr(at)));
                    break;
                }
                parts.push_back(text(s.substr(at, found - at)));
                at = found + separator.size();
            }
        } else if (c.vm.swfVersion() < 6 || limit > 0) {
            parts.push_back(Value(""));
        }
    }
    return Value(static_cast<Object*>(c.vm.newArray(parts)));
}

Value stringToLowerCase(CallContext& c)
{
    std::u16string s = thisText(c);
    for (char16_t& ch : s) ch = toLowerCase(ch);
    return text(s);
}

Value stringToUpperCase(CallContext& c)
{
    std::u16string s = thisText(c);
    for (char16_t& ch : s) ch = toUpperCase(ch);
    return text(s);
}

Value fromCharCode(CallContext& c)
{
    std::u16string s;
    for (const Value& v : c.args) {
        uint16_t code = uint16_t(toUint32(c.vm.toNumber(v)));
        if (code == 0) break;
        s.push_back(char16_t(code));
    }
    return text(s);
}

} // namespace

void installString(VM& vm)
{
    Prototypes& p = vm.protos();
    p.string = vm.newObject();
    FunctionObject* string = vm.newNative(stringConstructor, ObjectKind::String);
    vm.attachPrototype(string, p.string);
    vm.defineNative(p.string, "toString", stringValueOf);
    vm.defineNative(p.string, "valueOf", stringValueOf);
    vm.defineNative(p.string, "charAt", charAt);
    vm.defineNative(p.string, "charCodeAt", charCodeAt);
    vm.defineNative(p.string, "concat", concat);
    vm.defineNative(p.string, "indexOf", indexOf);
    vm.defineNative(p.string, "lastIndexOf", lastIndexOf);
    vm.defineNative(p.string, "slice", slice);
    vm.defineNative(p.string, "substring", substring);
    vm.defineNative(p.string, "substr", substr);
    vm.defineNative(p.string, "split", split);
    vm.defineNative(p.string, "toLowerCase", stringToLowerCase);
    vm.defineNative(p.string, "toUpperCase", stringToUpperCase);
    vm.defineNative(string, "fromCharCode", fromCharCode);
    vm.global()->put("String", Value(static_cast<Object*>(string)), DontEnum);
}

} // namespace tesmar::script
