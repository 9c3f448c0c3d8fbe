#pragma once
// Builds action records by hand for the interpreter tests.

#include "player/script/Function.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace tesmar::script::testing {

class Assembler {
public:
    Assembler& op(uint8_t code)
    {
        bytes_.push_back(code);
        return *this;
    }
    Assembler& record(uint8_t code, const std::vector<uint8_t>& payload)
    {
        bytes_.push_back(code);
        u16(uint16_t(payload.size()));
        bytes_.insert(bytes_.end(), payload.begin(), payload.end());
        return *this;
    }
    Assembler& push(const std::string& s)
    {
        std::vector<uint8_t> p{0};
        p.insert(p.end(), s.begin(), s.end());
        p.push_back(0);
        return record(0x96, p);
    }
    Assembler& push(double d)
    {
        uint64_t bits;
        std::memcpy(&bits, &d, 8);
        std::vector<uint8_t> p{6};
        for (int shift : {32, 40, 48, 56, 0, 8, 16, 24}) p.push_back(uint8_t(bits >> shift));
        return record(0x96, p);
    }
    Assembler& pushUndefined() { return record(0x96, {3}); }
    Assembler& pushRegister(uint8_t r) { return record(0x96, {4, r}); }
    // A call: arguments pushed last-first, then their count and the name.
    Assembler& call(const std::string& name, int argc) { return push(double(argc)).push(name).op(0x3D); }
    Assembler& trace() { return op(0x26); }
    // Jump or If to a label placed with `label`.
    Assembler& jump(const std::string& target, bool conditional = false)
    {
        bytes_.push_back(conditional ? 0x9D : 0x99);
        u16(2);
        fixups_.emplace_back(bytes_.size(), target);
        u16(0);
        return *this;
    }
    Assembler& label(const std::string& name)
    {
        labels_[name] = bytes_.size();
        return *this;
    }
    // A DefineFunction whose body is another assembler's bytes.
    Assembler& function(const std::string& name, const std::vector<std::string>& params, const Assembler& body)
    {
        std::vector<uint8_t> p(name.begin(), name.end());
        p.push_back(0);
        p.push_back(uint8_t(params.size()));
        p.push_back(0);
        for (const std::string& param : params) {
            p.insert(p.end(), param.begin(), param.end());
            p.push_back(0);
        }
        std::vector<uint8_t> code = body.bytes();
        p.push_back(uint8_t(code.size()));
        p.push_back(uint8_t(code.size() >> 8));
        record(0x9B, p);
        bytes_.insert(bytes_.end(), code.begin(), code.end());
        return *this;
    }
    Assembler& raw(const std::vector<uint8_t>& more)
    {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }

    std::vector<uint8_t> bytes() const
    {
        std::vector<uint8_t> out = bytes_;
        for (auto& [at, name] : fixups_) {
            int offset = int(labels_.at(name)) - int(at + 2);
            out[at] = uint8_t(offset);
            out[at + 1] = uint8_t(offset >> 8);
        }
        return out;
    }
    ActionBytes build() const { return std::make_shared<const std::vector<uint8_t>>(bytes()); }

private:
    void u16(uint16_t v)
    {
        bytes_.push_back(uint8_t(v));
        bytes_.push_back(uint8_t(v >> 8));
    }
    std::vector<uint8_t> bytes_;
    std::map<std::string, size_t> labels_;
    std::vector<std::pair<size_t, std::string>> fixups_;
};

} // namespace tesmar::script::testing
