// Date: calendar arithmetic on milliseconds since 1970 (UTC), local time
// through the host's zone offset, and the player's toString format.

#include "player/script/Builtins.h"
#include "player/script/Convert.h"
#include "player/script/VM.h"

#include <cmath>
#include <cstdio>

namespace tesmar::script {

namespace {

const double msPerDay = 86400000.0;

double day(double t) { return std::floor(t / msPerDay); }
double timeWithinDay(double t) { double r = std::fmod(t, msPerDay); return r < 0 ? r + msPerDay : r; }
double daysInYear(double y)
{
    if (std::fmod(y, 4) != 0) return 365;
    if (std::fmod(y, 100) != 0) return 366;
    if (std::fmod(y, 400) != 0) return 365;
    return 366;
}
double dayFromYear(double y)
{
    return 365 * (y - 1970) + std::floor((y - 1969) / 4) - std::floor((y - 1901) / 100) + std::floor((y - 1601) / 400);
}
double yearFromTime(double t)
{
    double y = std::floor(t / (msPerDay * 365.2425)) + 1970;
    while (dayFromYear(y) * msPerDay > t) --y;
    while (dayFromYear(y + 1) * msPerDay <= t) ++y;
    return y;
}
bool leap(double t) { return daysInYear(yearFromTime(t)) == 366; }
double dayWithinYear(double t) { return day(t) - dayFromYear(yearFromTime(t)); }

const int monthStarts[2][13] = {
    {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365},
    {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366},
};

double monthFromTime(double t)
{
    double d = dayWithinYear(t);
    const int* starts = monthStarts[leap(t)];
    for (int m = 0; m < 12; ++m)
        if (d < starts[m + 1]) return m;
    return 11;
}
double dateFromTime(double t) { return dayWithinYear(t) - monthStarts[leap(t)][int(monthFromTime(t))] + 1; }
double weekDay(double t) { double r = std::fmod(day(t) + 4, 7); return r < 0 ? r + 7 : r; }
double hourFromTime(double t) { return std::floor(timeWithinDay(t) / 3600000.0); }
double minFromTime(double t) { return std::fmod(std::floor(timeWithinDay(t) / 60000.0), 60); }
double secFromTime(double t) { return std::fmod(std::floor(timeWithinDay(t) / 1000.0), 60); }
double msFromTime(double t) { return std::floor(std::fmod(timeWithinDay(t), 1000)); }

double makeTime(double h, double m, double s, double ms)
{
    return std::trunc(h) * 3600000.0 + std::trunc(m) * 60000.0 + std::trunc(s) * 1000.0 + std::trunc(ms);
}
double makeDay(double year, double month, double date)
{
    if (!std::isfinite(year) || !std::isfinite(month) || !std::isfinite(date)) return NAN;
    double y = std::trunc(year) + std::floor(std::trunc(month) / 12);
    double m = std::fmod(std::trunc(month), 12);
    if (m < 0) m += 12;
    bool isLeap = daysInYear(y) == 366;
    return dayFromYear(y) + monthStarts[isLeap][int(m)] + std::trunc(date) - 1;
}
double makeDate(double d, double time) { return d * msPerDay + time; }
double timeClip(double t) { return std::isfinite(t) && std::fabs(t) <= 8.64e15 ? std::trunc(t) : NAN; }

// Times beyond the calendar's range have no fields.
bool inRange(double t) { return std::isfinite(t) && std::fabs(t) <= 8.64e15 + 2 * msPerDay; }

double offsetMs(VM& vm) { return vm.host().localOffsetMinutes() * 60000.0; }

double& timeOf(CallContext& c, double& scratch)
{
    scratch = NAN;
    if (!c.thisObject || c.thisObject->kind() != ObjectKind::Date) return scratch;
    if (!c.thisObject->primitive.isNumber()) c.thisObject->primitive = Value(NAN);
    return scratch = c.thisObject->primitive.number();
}

void setTimeOf(CallContext& c, double t)
{
    if (c.thisObject && c.thisObject->kind() == ObjectKind::Date) c.thisObject->primitive = Value(t);
}

std::string dateString(VM& vm, double t)
{
    if (!inRange(t)) return "Invalid Date";
    static const char* days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    double offset = vm.host().localOffsetMinutes();
    double local = t + offset * 60000.0;
    int zone = int(std::fabs(offset));
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s %s %d %02d:%02d:%02d GMT%c%02d%02d %.0f", days[int(weekDay(local))],
                  months[int(monthFromTime(local))], int(dateFromTime(local)), int(hourFromTime(local)),
                  int(minFromTime(local)), int(secFromTime(local)), offset < 0 ? '-' : '+', zone / 60, zone % 60,
                  yearFromTime(local));
    return buf;
}

Value dateConstructor(CallContext& c)
{
    VM& vm = c.vm;
    double now = std::floor(vm.host().wallClockMs());
    if (!c.constructing) return Value(dateString(vm, now));
    double t = now;
    if (c.count() == 1) {
        t = vm.toNumber(c.arg(0));
    } else if (c.count() > 1) {
        double parts[7] = {0, 0, 1, 0, 0, 0, 0};
        for (size_t i = 0; i < 7 && i < c.count(); ++i) parts[i] = vm.toNumber(c.arg(i));
        double year = parts[0];
        if (year >= 0 && year <= 99) year += 1900;
        t = makeDate(makeDay(year, parts[1], parts[2]), makeTime(parts[3], parts[4], parts[5], parts[6]));
        t = timeClip(t - offsetMs(vm));
    }
    c.thisObject->primitive = Value(t);
    return Value(c.thisObject);
}

Value dateUTC(CallContext& c)
{
    double parts[7] = {NAN, 0, 1, 0, 0, 0, 0};
    for (size_t i = 0; i < 7 && i < c.count(); ++i) parts[i] = c.vm.toNumber(c.arg(i));
    double year = parts[0];
    if (year >= 0 && year <= 99) year += 1900;
    return Value(timeClip(makeDate(makeDay(year, parts[1], parts[2]), makeTime(parts[3], parts[4], parts[5], parts[6]))));
}

// Getters: one template per field, local or UTC.
template <double (*Field)(double), bool Utc>
Value getField(CallContext& c)
{
    double scratch;
    double t = timeOf(c, scratch);
    if (!inRange(t)) return Value(NAN);
    return Value(Field(Utc ? t : t + offsetMs(c.vm)));
}

double yearMinus1900(double t) { return yearFromTime(t) - 1900; }

Value getTime(CallContext& c) { double s; return Value(timeOf(c, s)); }
Value getTimezoneOffset(CallContext& c) { return Value(-c.vm.host().localOffsetMinutes()); }
Value dateToString(CallContext& c) { double s; return Value(dateString(c.vm, timeOf(c, s))); }

Value setTime(CallContext& c)
{
    double t = timeClip(c.vm.toNumber(c.arg(0)));
    setTimeOf(c, t);
    return Value(t);
}

// Setters rebuild the time from the fields, replacing those given.
enum Field { Year, Month, Date, Hours, Minutes, Seconds, Ms };

template <Field First, int MaxArgs, bool Utc>
Value setFields(CallContext& c)
{
    double scratch;
    double t = timeOf(c, scratch);
    double offset = Utc ? 0 : offsetMs(c.vm);
    if (!inRange(t)) {
        if (First != Year) return Value(NAN);
        t = 0;
    }
    double local = t + offset;
    double f[7] = {yearFromTime(local), monthFromTime(local), dateFromTime(local), hourFromTime(local),
                   minFromTime(local), secFromTime(local), msFromTime(local)};
    for (int i = 0; i < MaxArgs && size_t(i) < c.count(); ++i) f[First + i] = c.vm.toNumber(c.arg(size_t(i)));
    if (c.count() == 0) f[First] = NAN;
    double result = timeClip(makeDate(makeDay(f[0], f[1], f[2]), makeTime(f[3], f[4], f[5], f[6])) - offset);
    setTimeOf(c, result);
    return Value(result);
}

Value setYear(CallContext& c)
{
    double y = c.vm.toNumber(c.arg(0));
    if (y >= 0 && y <= 99) y += 1900;
    std::vector<Value> args{Value(y)};
    CallContext inner{c.vm, c.thisValue, c.thisObject, args, c.callee, false};
    return setFields<Year, 1, false>(inner);
}

} // namespace

void installDate(VM& vm)
{
    Prototypes& p = vm.protos();
    p.date = vm.newObject();
    FunctionObject* date = vm.newNative(dateConstructor, ObjectKind::Date);
    vm.attachPrototype(date, p.date);
    vm.defineNative(date, "UTC", dateUTC);
    struct Method { const char* name; NativeFunction fn; };
    const Method methods[] = {
        {"getFullYear", getField<yearFromTime, false>}, {"getUTCFullYear", getField<yearFromTime, true>},
        {"getYear", getField<yearMinus1900, false>}, {"getUTCYear", getField<yearMinus1900, true>},
        {"getMonth", getField<monthFromTime, false>}, {"getUTCMonth", getField<monthFromTime, true>},
        {"getDate", getField<dateFromTime, false>}, {"getUTCDate", getField<dateFromTime, true>},
        {"getDay", getField<weekDay, false>}, {"getUTCDay", getField<weekDay, true>},
        {"getHours", getField<hourFromTime, false>}, {"getUTCHours", getField<hourFromTime, true>},
        {"getMinutes", getField<minFromTime, false>}, {"getUTCMinutes", getField<minFromTime, true>},
        {"getSeconds", getField<secFromTime, false>}, {"getUTCSeconds", getField<secFromTime, true>},
        {"getMilliseconds", getField<msFromTime, false>}, {"getUTCMilliseconds", getField<msFromTime, true>},
        {"getTime", getTime}, {"valueOf", getTime}, {"getTimezoneOffset", getTimezoneOffset},
        {"toString", dateToString}, {"setTime", setTime}, {"setYear", setYear},
        {"setFullYear", setFields<Year, 3, false>}, {"setUTCFullYear", setFields<Year, 3, true>},
        {"setMonth", setFields<Month, 2, false>}, {"setUTCMonth", setFields<Month, 2, true>},
        {"setDate", setFields<Date, 1, false>}, {"setUTCDate", setFields<Date, 1, true>},
        {"setHours", setFields<Hours, 4, false>}, {"setUTCHours", setFields<Hours, 4, true>},
        {"setMinutes", setFields<Minutes, 3, false>}, {"setUTCMinutes", setFields<Minutes, 3, true>},
        {"setSeconds", setFields<Seconds, 2, false>}, {"setUTCSeconds", setFields<Seconds, 2, true>},
        {"setMilliseconds", setFields<Ms, 1, false>}, {"setUTCMilliseconds", setFields<Ms, 1, true>},
    };
    for (const Method& m : methods) vm.defineNative(p.date, m.name, m.fn);
    vm.global()->put("Date", Value(static_cast<Object*>(date)), DontEnum);
}

} // namespace tesmar::script
