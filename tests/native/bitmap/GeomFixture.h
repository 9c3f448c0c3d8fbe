#pragma once
// A script machine with flash.geom and BitmapData but no stage: a minimal
// host answers the machine's questions.

#include "player/bridge/BitmapData.h"
#include "player/script/VM.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include "tests/native/StagelessHost.h"

namespace tesmar::bridge::testing {

using script::Value;

using NoStage = script::testing::StagelessHost;

class GeomScript : public ::testing::Test {
protected:
    explicit GeomScript(int version = 8) : vm(host, version) { installBitmapData(vm); }

    Value make(const char* package, const char* name, std::vector<Value> args = {})
    {
        Value flash = vm.get(vm.global(), "flash");
        return vm.construct(vm.getOf(vm.getOf(flash, package), name), args);
    }
    std::string text(const Value& v) { return vm.toString(v); }
    Value call(const Value& object, const char* name, std::vector<Value> args = {})
    {
        return vm.callMethod(object, name, args);
    }

    NoStage host;
    script::VM vm;
};

} // namespace tesmar::bridge::testing
