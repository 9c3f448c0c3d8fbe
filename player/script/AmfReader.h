#pragma once
// Reads AMF0 values back into script values: what a remoting gateway
// answers. Malformed or truncated data ends the reading (ok() turns false)
// without reading past the end; nothing is allocated on the word of a
// length field alone.

#include "player/script/VM.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace tesmar::script {

class AmfReader {
public:
    AmfReader(VM& vm, std::span<const uint8_t> bytes) : vm_(vm), bytes_(bytes) {}

    Value value();
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    // A length-prefixed UTF-8 name.
    std::string name();
    void skip(size_t count);

    bool ok() const { return ok_; }
    bool atEnd() const { return position_ >= bytes_.size(); }

private:
    bool need(size_t count);
    std::string text(size_t size);
    double number();
    Value read();
    // Properties up to the end marker, onto object.
    void properties(Object* object);

    VM& vm_;
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
    bool ok_ = true;
    int depth_ = 0;
    std::vector<Object*> references_;
};

} // namespace tesmar::script
