// Math: constants and functions of numbers.

#include "player/script/Builtins.h"
#include "player/script/VM.h"

#include <cmath>
#include <random>

namespace tesmar::script {

namespace {

double argument(CallContext& c, size_t i)
{
    return i < c.count() ? c.vm.toNumber(c.arg(i)) : NAN;
}

template <double (*Fn)(double)>
Value unary(CallContext& c)
{
    return Value(Fn(argument(c, 0)));
}

double round(double x)
{
    return std::floor(x + 0.5);
}

Value atan2(CallContext& c) { return Value(std::atan2(argument(c, 0), argument(c, 1))); }
Value pow(CallContext& c) { return Value(std::pow(argument(c, 0), argument(c, 1))); }

// With a single argument the player answers NaN.
Value max(CallContext& c)
{
    double r = -INFINITY;
    for (size_t i = 0; i < c.count(); ++i) {
        double x = argument(c, i);
        if (std::isnan(x) || std::isnan(r)) r = NAN;
        else if (x > r) r = x;
    }
    return Value(c.count() == 1 ? NAN : r);
}

Value min(CallContext& c)
{
    double r = INFINITY;
    for (size_t i = 0; i < c.count(); ++i) {
        double x = argument(c, i);
        if (std::isnan(x) || std::isnan(r)) r = NAN;
        else if (x < r) r = x;
    }
    return Value(c.count() == 1 ? NAN : r);
}

Value random(CallContext& c)
{
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
