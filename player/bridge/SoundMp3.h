#pragma once
// What the player learns from a loaded MP3 file without decoding it: the
// duration, added up from the frame headers, and the text of its ID3 tag.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tesmar::bridge {

struct Id3Frame {
    std::string id;     // "TIT2", "COMM"...
    std::string text;   // UTF-8
};

struct Mp3Info {
    uint32_t durationMs = 0;
    bool hasTag = false;            // an ID3v2 tag came first
    std::vector<Id3Frame> frames;   // its text and comment frames, in file order
};

Mp3Info readMp3(std::span<const uint8_t> bytes);

} // namespace tesmar::bridge
