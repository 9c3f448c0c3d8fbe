#pragma once
// A script host without a stage: no levels, a clock standing at zero, and
// the trace lines kept for the test to read. Enough for the built-in
// classes that need no clip.
#include <string>
#include <vector>
#include "player/script/Host.h"

namespace tesmar::script::testing {

class StagelessHost : public ScriptHost {
public:
    std::vector<std::string> lines;

    ClipObject* level(int) override { return nullptr; }
    void trace(const std::string& line) override { lines.push_back(line); }
    double timeMs() override { return 0; }
    double wallClockMs() override { return 0; }
    double localOffsetMinutes() override { return 0; }
    void getUrl(const UrlRequest&, ClipObject*) override {}
    void fsCommand(const std::string&, const std::string&) override {}
    void stopDrag() override {}
    void traceRoots(Tracer&) override {}
};

} // namespace tesmar::script::testing
