#include "player/Host.h"
#include <chrono>
#include <ctime>

namespace tesmar {

double Host::wallClockMs() {
    using namespace std::chrono;
    return double(duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
}

double Host::localOffsetMinutes() {
    // The zone's distance from UTC now: local broken-down time read back as if it were UTC.
    const std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    std::tm utc = *std::gmtime(&now);
    local.tm_isdst = utc.tm_isdst = 0;
    return std::difftime(std::mktime(&local), std::mktime(&utc)) / 60;
}

} // namespace tesmar
