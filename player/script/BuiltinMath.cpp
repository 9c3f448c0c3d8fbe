// Math: constants and functions of numbers.

#include "player/script/Builtins.h"
#include "player/script/VM.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace tesmar::script {

namespace {

// Every Math function converts its first two arguments, in order, however
// many it uses; further ones are never looked at. Missing ones are NaN.
struct Operands {
    double x = NAN, y = NAN;
    size_t count = 0;
};

Operands operands(CallContext& c)
{
    Operands o;
    o.count = std::min<size_t>(c.count(), 2);
    if (o.count > 0) o.x = c.vm.toNumber(c.arg(0));
    if (o.count > 1) o.y = c.vm.toNumber(c.arg(1));
    return o;
}

template <double (*Fn)(double)>
Value unary(CallContext& c)
{
    return Value(Fn(operands(c).x));
}

double round(double x)
{
    return std::floor(x + 0.5);
}

Value atan2(CallContext& c)
{
    Operands o = operands(c);
    return Value(std::atan2(o.x, o.y));
}

Value pow(CallContext& c)
{
    Operands o = operands(c);
    return Value(std::pow(o.x, o.y));
}

// No argument gives the identity of the comparison, a single one NaN.
Value max(CallContext& c)
{
    Operands o = operands(c);
    if (o.count == 0) return Value(-INFINITY);
    if (std::isnan(o.x) || std::isnan(o.y)) return Value(NAN);
    return Value(std::max(o.x, o.y));
}

Value min(CallContext& c)
{
    Operands o = operands(c);
    if (o.count == 0) return Value(INFINITY);
    if (std::isnan(o.x) || std::isnan(o.y)) return Value(NAN);
    return Value(std::min(o.x, o.y));
}

Value random(CallContext& c)
{
    operands(c);
    return Value(std::uniform_real_distribution<double>(0.0, 1.0)(c.vm.random()));
}

} // namespace

void installMath(VM& vm)
{
    Object* math = vm.newObject();
    const uint16_t constant = DontEnum | DontDelete | ReadOnly;
    const std::pair<const char*, double> constants[] = {
        {"E", M_E}, {"LN10", M_LN10}, {"LN2", M_LN2}, {"LOG10E", M_LOG10E}, {"LOG2E", M_LOG2E},
        {"PI", M_PI}, {"SQRT1_2", M_SQRT1_2}, {"SQRT2", M_SQRT2}};
    for (auto [name, value] : constants) math->put(name, Value(value), constant);
    struct Method { const char* name; NativeFunction fn; };
    const Method methods[] = {
        {"abs", unary<std::fabs>}, {"acos", unary<std::acos>}, {"asin", unary<std::asin>},
        {"atan", unary<std::atan>}, {"ceil", unary<std::ceil>}, {"cos", unary<std::cos>},
        {"exp", unary<std::exp>}, {"floor", unary<std::floor>}, {"log", unary<std::log>},
        {"round", unary<round>}, {"sin", unary<std::sin>}, {"sqrt", unary<std::sqrt>},
        {"tan", unary<std::tan>}, {"atan2", atan2}, {"pow", pow}, {"max", max}, {"min", min},
        {"random", random},
    };
    for (const Method& m : methods) vm.defineNative(math, m.name, m.fn);
    vm.global()->put("Math", Value(math), DontEnum);
}

} // namespace tesmar::script
