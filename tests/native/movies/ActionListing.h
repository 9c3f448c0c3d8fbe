#pragma once
// Lists action byte code as readable lines ("Push 'a' 1 c:0", "GetVariable"),
// so that tests can compare whole scripts with what they should say.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tesmar::test {

inline std::vector<std::string> listActions(const std::vector<uint8_t>& code) {
    std::vector<std::string> lines;
    size_t pos = 0;
    auto u16at = [&](size_t at) { return uint16_t(code[at] | code[at + 1] << 8); };
    while (pos < code.size()) {
        const uint8_t op = code[pos++];
        if (op == 0) {
            lines.push_back("End");
            if (pos != code.size()) lines.push_back("bytes after End");
            return lines;
        }
        size_t length = 0;
        if (op >= 0x80) {
            if (pos + 2 > code.size()) break;
            length = u16at(pos);
            pos += 2;
        }
        if (pos + length > code.size()) break;
        const size_t end = pos + length;
        auto cstring = [&](size_t& at) {
            std::string s;
            while (at < end && code[at]) s += char(code[at++]);
            ++at;
            return s;
        };
        std::string line;
        switch (op) {
        case 0x06: line = "Play"; break;
        case 0x07: line = "Stop"; break;
        case 0x0F: line = "Less"; break;
        case 0x12: line = "Not"; break;
        case 0x17: line = "Pop"; break;
        case 0x1C: line = "GetVariable"; break;
        case 0x1D: line = "SetVariable"; break;
        case 0x48: line = "Less2"; break;
        case 0x4E: line = "GetMember"; break;
        case 0x4F: line = "SetMember"; break;
        case 0x52: line = "CallMethod"; break;
        case 0x81: line = "GotoFrame " + std::to_string(u16at(pos)); break;
        case 0x83: {
            size_t at = pos;
            line = "GetURL '" + cstring(at);
            line += "' '" + cstring(at) + "'";
            break;
        }
        case 0x88: {
            size_t at = pos + 2;
            line = "ConstantPool";
            for (uint16_t i = 0; i < u16at(pos); ++i) line += " '" + cstring(at) + "'";
            break;
        }
        case 0x96: {
            line = "Push";
            size_t at = pos;
            while (at < end) {
                const uint8_t type = code[at++];
                if (type == 0) { line += " '" + cstring(at) + "'"; }
                else if (type == 5) { line += code[at++] ? " true" : " false"; }
                else if (type == 7) { line += " " + std::to_string(int32_t(u16at(at) | u16at(at + 2) << 16)); at += 4; }
                else if (type == 8) { line += " c:" + std::to_string(code[at++]); }
                else if (type == 9) { line += " c:" + std::to_string(u16at(at)); at += 2; }
                else if (type == 2) { line += " null"; }
                else if (type == 3) { line += " undefined"; }
                else if (type == 6) {
                    uint64_t bits = uint64_t(u16at(at) | u16at(at + 2) << 16) << 32 | uint32_t(u16at(at + 4) | u16at(at + 6) << 16);
                    double d;
                    std::memcpy(&d, &bits, 8);
                    line += " d:" + std::to_string(d);
                    at += 8;
                } else { line += " ?"; break; }
            }
            break;
        }
        case 0x99: line = "Jump " + std::to_string(int16_t(u16at(pos))); break;
        case 0x9A: line = "GetURL2 " + std::to_string(code[pos]); break;
        case 0x9D: line = "If " + std::to_string(int16_t(u16at(pos))); break;
        default: line = "op " + std::to_string(op); break;
        }
        lines.push_back(line);
        pos = end;
    }
    lines.push_back("cut short");
    return lines;
}

} // namespace tesmar::test
