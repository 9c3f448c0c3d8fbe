#pragma once
// The built loader movies and stored player states, read from the native
// build tree (tests run with the build folder as working directory).
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "host/NativeHost.h"

namespace tesmar::test {

inline std::vector<uint8_t> builtFile(const std::string& name) {
    std::vector<uint8_t> bytes;
    const std::string path = "display/movies/" + name;
    EXPECT_TRUE(host::readFile(path, bytes, 1 << 20)) << "missing " << path << " (run from the build folder)";
    return bytes;
}

} // namespace tesmar::test
