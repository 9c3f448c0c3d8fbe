// Global functions: number parsing, escape/unescape, intervals and timeouts,
// getTimer and ASSetPropFlags.

#include "player/script/Builtins.h"
#include "player/script/Convert.h"
#include "player/script/Strings.h"
#include "player/script/VM.h"

#include <cmath>

namespace tesmar::script {

namespace {

int digitOf(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return 99;
}

// Digits of `radix` from s[i]; NaN when there is none.
double digitsValue(const std::string& s, size_t i, int radix)
{
    double value = 0;
    size_t start = i;
    while (i < s.size() && digitOf(s[i]) < radix) value = value * radix + digitOf(s[i++]);
    return i == start ? NAN : value;
}

bool startsWithHexPrefix(const std::string& s, size_t i)
{
    return i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X');
}

double parseIntText(const std::string& s, int radix, bool radixGiven)
{
    if (!radixGiven) {
        if (startsWithHexPrefix(s, 0)) {
            size_t i = 2;
            while (i < s.size() && isWhiteSpace(s[i])) ++i;
            double sign = 1;
            if (i < s.size() && (s[i] == '-' || s[i] == '+')) sign = s[i++] == '-' ? -1 : 1;
            return sign * digitsValue(s, i, 16);
        }
        size_t j = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
        if (startsWithHexPrefix(s, j)) return NAN;
        if (j < s.size() && s[j] == '0') {
            bool octal = true;
            for (size_t k = j; k < s.size() && octal; ++k) octal = s[k] >= '0' && s[k] <= '7';
            if (octal) return (s[0] == '-' ? -1 : 1) * digitsValue(s, j, 8);
        }
        radix = 10;
    } else if (startsWithHexPrefix(s, 0)) {
        return digitsValue(s, 2, radix);
    } else if (!s.empty() && (s[0] == '-' || s[0] == '+') && startsWithHexPrefix(s, 1)) {
        // A signed hexadecimal prefix loses its sign and its zero.
        return digitsValue(s, 2, radix);
    }
    size_t i = 0;
    while (i < s.size() && isWhiteSpace(s[i])) ++i;
    double sign = 1;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) sign = s[i++] == '-' ? -1 : 1;
    return sign * digitsValue(s, i, radix);
}

Value parseInt(CallContext& c)
{
    if (c.count() == 0) return Value();
    std::string s = c.vm.toString(c.arg(0));
    bool radixGiven = c.count() > 1;
    int radix = 10;
    if (radixGiven) {
        radix = c.vm.toInt32(c.arg(1));
        if (radix < 2 || radix > 36) return Value(NAN);
    }
    return Value(parseIntText(s, radix, radixGiven));
}

Value parseFloat(CallContext& c)
{
    if (c.count() == 0) return Value();
    return Value(parseFloatPrefix(c.vm.toString(c.arg(0))));
}

Value isNaN(CallContext& c)
{
    if (c.count() == 0) return Value(true);
    return Value(std::isnan(c.vm.toNumber(c.arg(0))));
}

Value isFinite(CallContext& c)
{
    if (c.count() == 0) return Value(false);
    return Value(std::isfinite(c.vm.toNumber(c.arg(0))));
}

Value escape(CallContext& c)
{
    if (c.count() == 0) return Value();
    std::string s = c.vm.toString(c.arg(0));
    std::string out;
    static const char* hex = "0123456789ABCDEF";
    for (char ch : s) {
        unsigned char u = static_cast<unsigned char>(ch);
        if (u == 0) break;
        if ((u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z')) {
            out += ch;
        } else {
            out += '%';
            out += hex[u >> 4];
            out += hex[u & 15];
        }
    }
    return Value(out);
}

Value unescape(CallContext& c)
{
    if (c.count() == 0) return Value();
    std::string s = c.vm.toString(c.arg(0));
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%') {
            // A broken escape is dropped up to the first character that is
            // no hexadecimal digit.
            if (i + 1 >= s.size() || digitOf(s[i + 1]) >= 16) { ++i; continue; }
            if (i + 2 >= s.size() || digitOf(s[i + 2]) >= 16) { i += 2; continue; }
            out += char(digitOf(s[i + 1]) * 16 + digitOf(s[i + 2]));
            i += 2;
        } else if (s[i] == '+') {
            out += ' ';
        } else {
            out += s[i];
        }
    }
    size_t nul = out.find('\0');
    if (nul != std::string::npos) out.resize(nul);
    return Value(out);
}

bool isFunctionValue(const Value& v)
{
    return v.isObject() && v.object()->kind() == ObjectKind::Function;
}

Value startTimer(CallContext& c, bool once)
{
    if (c.count() < 2) return Value();
    if (isFunctionValue(c.arg(0))) {
        if (c.arg(1).isUndefined()) return Value();
        std::vector<Value> args(c.args.begin() + 2, c.args.end());
        return Value(c.vm.addInterval(c.arg(0), Value(), "", c.vm.toNumber(c.arg(1)), args, once));
    }
    if (c.arg(0).isObject() && c.count() >= 3 && !c.arg(2).isUndefined()) {
        std::vector<Value> args(c.args.begin() + 3, c.args.end());
        return Value(c.vm.addInterval(Value(), c.arg(0), c.vm.toString(c.arg(1)), c.vm.toNumber(c.arg(2)), args, once));
    }
    return Value();
}

Value setInterval(CallContext& c) { return startTimer(c, false); }
Value setTimeout(CallContext& c) { return startTimer(c, true); }

Value clearInterval(CallContext& c)
{
    c.vm.clearInterval(c.vm.toInt32(c.arg(0)));
    return Value();
}

Value getTimer(CallContext& c)
{
    return Value(std::floor(c.vm.host().timeMs()));
}

Value asSetPropFlags(CallContext& c)
{
    Value target = c.arg(0);
    if (!target.isObject()) return Value();
    Object* object = target.object();
    int set = c.vm.toInt32(c.arg(2));
    int clear = c.count() > 3 ? c.vm.toInt32(c.arg(3)) : 0;
    auto apply = [&](Property& p) { p.flags = uint16_t((p.flags & ~clear) | set); };
    Value names = c.arg(1);
    if (names.isNull()) {
        for (const Property& p : object->properties()) apply(*object->findOwn(p.name));
        return Value();
    }
    // Any other value names the properties by its text, separated by commas
    // (an array's text is its elements joined that way).
    std::string text = c.vm.toString(names);
    std::vector<std::string> list;
    size_t start = 0;
    while (start <= text.size()) {
        size_t comma = text.find(',', start);
        if (comma == std::string::npos) comma = text.size();
        list.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    for (const std::string& name : list)
        if (Property* p = object->findOwn(name)) apply(*p);
    return Value();
}

} // namespace

void installGlobals(VM& vm)
{
    Object* g = vm.global();
    vm.defineNative(g, "parseInt", parseInt);
    vm.defineNative(g, "parseFloat", parseFloat);
    vm.defineNative(g, "isNaN", isNaN);
    vm.defineNative(g, "isFinite", isFinite);
    vm.defineNative(g, "escape", escape);
    vm.defineNative(g, "unescape", unescape);
    vm.defineNative(g, "setInterval", setInterval);
    vm.defineNative(g, "clearInterval", clearInterval);
    vm.defineNative(g, "setTimeout", setTimeout, DontEnum | OnlySwf8Up);
    vm.defineNative(g, "clearTimeout", clearInterval, DontEnum | OnlySwf8Up);
    vm.defineNative(g, "getTimer", getTimer);
    vm.defineNative(g, "ASSetPropFlags", asSetPropFlags);
    // SWF 4 has no such globals: the names are plain (undefined) variables.
    if (vm.swfVersion() >= 5) {
        g->put("NaN", Value(NAN), DontEnum);
        g->put("Infinity", Value(INFINITY), DontEnum);
    }
}

} // namespace tesmar::script
