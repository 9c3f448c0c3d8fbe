#pragma once
// Device fonts for text that movies draw without an embedded font: glyph
// outlines of the machine's installed faces, taken from GDI in an em square
// of 1024 units.
#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "player/Host.h"

namespace tesmar {

class DeviceFonts {
public:
    DeviceFonts() = default;
    ~DeviceFonts();
    DeviceFonts(const DeviceFonts&) = delete;
    DeviceFonts& operator=(const DeviceFonts&) = delete;

    // "_sans", "_serif" and "_typewriter" name the usual faces of that
    // kind; any other name is looked up as it is (GDI substitutes a face
    // it does not have). Nothing for characters outside the 16-bit range.
    std::optional<DeviceGlyph> glyph(const std::string& font, bool bold, bool italic, char32_t c);

private:
    HFONT fontFor(const std::string& font, bool bold, bool italic);

    HDC dc_ = nullptr;
    std::map<std::tuple<std::string, bool, bool>, HFONT> fonts_;
};

} // namespace tesmar
