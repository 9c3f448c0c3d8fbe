#include "player/bridge/SoundMp3.h"

#include <algorithm>
#include <cmath>

namespace tesmar::bridge {

namespace {

// A bounds-checked view of the bytes: reads past the end give zeros.
struct Bytes {
    std::span<const uint8_t> data;
    uint8_t at(size_t i) const { return i < data.size() ? data[i] : 0; }
    uint32_t big32(size_t i) const
    {
        return uint32_t(at(i)) << 24 | uint32_t(at(i + 1)) << 16 | uint32_t(at(i + 2)) << 8 | at(i + 3);
    }
    // Seven bits a byte, as ID3v2 stores its sizes.
    uint32_t syncsafe(size_t i) const
    {
        return uint32_t(at(i) & 0x7F) << 21 | uint32_t(at(i + 1) & 0x7F) << 14 | uint32_t(at(i + 2) & 0x7F) << 7
             | (at(i + 3) & 0x7F);
    }
};

void appendUtf8(std::string& out, uint32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | c >> 6);
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | c >> 12);
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// One encoded string from `text`, up to its terminator; `text` moves past it.
std::string decodeString(std::span<const uint8_t>& text, uint8_t encoding)
{
    std::string out;
    const bool wide = encoding == 1 || encoding == 2;
    bool bigEndian = encoding == 2;
    size_t i = 0;
    if (wide && text.size() >= 2 && ((text[0] == 0xFF && text[1] == 0xFE) || (text[0] == 0xFE && text[1] == 0xFF))) {
        bigEndian = text[0] == 0xFE;
        i = 2;
    }
    for (; wide ? i + 1 < text.size() : i < text.size(); i += wide ? 2 : 1) {
        uint32_t c = wide ? (bigEndian ? uint32_t(text[i]) << 8 | text[i + 1] : uint32_t(text[i + 1]) << 8 | text[i])
                          : text[i];
        if (c == 0) {
            i += wide ? 2 : 1;
            break;
        }
        if (encoding == 3) out += char(c);   // already UTF-8
        else appendUtf8(out, c);
    }
    text = text.subspan(std::min(i, text.size()));
    return out;
}

// Text frames ("T...") and comments, which carry a language and a
// description before their text.
void readId3(Bytes b, size_t tagSize, uint8_t version, Mp3Info& info)
{
    const size_t end = std::min<size_t>(10 + tagSize, b.data.size());
    const size_t idLength = version == 2 ? 3 : 4, headerLength = version == 2 ? 6 : 10;
    size_t at = 10;
    while (at + headerLength <= end && b.at(at) != 0) {
        std::string id(reinterpret_cast<const char*>(b.data.data() + at), idLength);
        uint32_t size = version == 2 ? (b.big32(at + 2) & 0xFFFFFF)
                      : version == 4 ? b.syncsafe(at + 4)
                                     : b.big32(at + 4);
        const size_t body = at + headerLength;
        if (size > end - body) break;
        std::span<const uint8_t> text = b.data.subspan(body, size);
        at = body + size;
        if (text.empty()) continue;
        const uint8_t encoding = text[0];
        text = text.subspan(1);
        const bool comment = id == "COMM" || id == "COM";
        if (comment) {
            text = text.subspan(std::min<size_t>(3, text.size()));
            decodeString(text, encoding);   // the description
        } else if (id[0] != 'T') {
            continue;
        }
        info.frames.push_back({id, decodeString(text, encoding)});
    }
}

// Frame header fields of MPEG audio layer III.
struct FrameHeader {
    uint32_t length = 0;    // bytes, with the header
    uint32_t samples = 0;
    uint32_t rate = 0;
};

bool readFrameHeader(uint32_t h, FrameHeader& out)
{
    if ((h >> 21) != 0x7FF) return false;
    const uint32_t version = (h >> 19) & 3, layer = (h >> 17) & 3, bitrateIndex = (h >> 12) & 15;
    const uint32_t rateIndex = (h >> 10) & 3, padding = (h >> 9) & 1;
    if (version == 1 || layer != 1 || bitrateIndex == 0 || bitrateIndex == 15 || rateIndex == 3) return false;
    static const uint32_t mpeg1[] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    static const uint32_t mpeg2[] = {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};
    static const uint32_t rates[] = {44100, 48000, 32000};
    const bool first = version == 3;
    out.rate = rates[rateIndex] >> (first ? 0 : version == 2 ? 1 : 2);
    const uint32_t bitrate = (first ? mpeg1 : mpeg2)[bitrateIndex] * 1000;
    out.samples = first ? 1152 : 576;
    out.length = (first ? 144 : 72) * bitrate / out.rate + padding;
    return true;
}

} // namespace

Mp3Info readMp3(std::span<const uint8_t> bytes)
{
    Mp3Info info;
    Bytes b{bytes};
    size_t at = 0;
    if (bytes.size() >= 10 && b.at(0) == 'I' && b.at(1) == 'D' && b.at(2) == '3') {
        info.hasTag = true;
        const uint32_t size = b.syncsafe(6);
        const uint8_t version = b.at(3);
        if (version >= 2 && version <= 4) readId3(b, size, version, info);
        at = 10 + size_t(size) + ((b.at(5) & 0x10) ? 10 : 0);
    }
    double seconds = 0;
    FrameHeader frame;
    while (at + 4 <= bytes.size()) {
        if (!readFrameHeader(b.big32(at), frame)) {
            ++at;   // not a frame: look for the next sync word
            continue;
        }
        seconds += double(frame.samples) / frame.rate;
        at += frame.length;
    }
    info.durationMs = uint32_t(std::lround(seconds * 1000));
    return info;
}

} // namespace tesmar::bridge
