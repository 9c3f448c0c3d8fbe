#include "player/script/AmfReader.h"

#include <cstring>

namespace tesmar::script {

namespace {

constexpr int kMaxDepth = 128;

} // namespace

bool AmfReader::need(size_t count)
{
    if (ok_ && bytes_.size() - position_ >= count && position_ <= bytes_.size()) return true;
    ok_ = false;
    return false;
}

uint8_t AmfReader::u8()
{
    return need(1) ? bytes_[position_++] : 0;
}

uint16_t AmfReader::u16()
{
    const uint16_t high = u8();
    return uint16_t(high << 8 | u8());
}

uint32_t AmfReader::u32()
{
    const uint32_t high = u16();
    return high << 16 | u16();
}

void AmfReader::skip(size_t count)
{
    if (need(count)) position_ += count;
}

std::string AmfReader::text(size_t size)
{
    if (!need(size)) return {};
    std::string out(reinterpret_cast<const char*>(bytes_.data() + position_), size);
    position_ += size;
    return out;
}

std::string AmfReader::name()
{
    return text(u16());
}

double AmfReader::number()
{
    uint64_t bits = uint64_t(u32()) << 32;
    bits |= u32();
    double n;
    std::memcpy(&n, &bits, sizeof n);
    return n;
}

void AmfReader::properties(Object* object)
{
    while (ok_) {
        std::string key = name();
        if (key.empty() && need(1) && bytes_[position_] == 0x09) {
            ++position_;
            return;
        }
        Value v = value();
        if (ok_) vm_.set(object, key, v);
    }
}

Value AmfReader::value()
{
    // What could not be read whole is undefined.
    Value v = read();
    return ok_ ? v : Value();
}

Value AmfReader::read()
{
    const uint8_t marker = u8();
    if (!ok_) return Value();
    switch (marker) {
    case 0x00: return Value(number());
    case 0x01: return Value(u8() != 0);
    case 0x02: return Value(name());
    case 0x0C: return Value(text(u32()));
    case 0x05: return Value::null();
    case 0x06: return Value();
    case 0x07: {
        const uint16_t index = u16();
        if (index < references_.size()) return Value(references_[index]);
        ok_ = false;
        return Value();
    }
    case 0x0B: {
        const double time = number();
        skip(2);   // the time zone, which the player ignores
        return vm_.construct(vm_.get(vm_.global(), "Date"), {Value(time)});
    }
    case 0x0F: return Value(text(u32()));
    default: break;
    }
    if (depth_ >= kMaxDepth) {
        ok_ = false;
        return Value();
    }
    ++depth_;
    Value result;
    switch (marker) {
    case 0x03:
    case 0x10: {
        if (marker == 0x10) name();   // the class name: the player makes plain objects
        Object* object = vm_.newObject();
        references_.push_back(object);
        properties(object);
        result = Value(object);
        break;
    }
    case 0x08: {
        ArrayObject* array = vm_.newArray();
        references_.push_back(array);
        u32();   // the count, which the end marker makes redundant
        properties(array);
        result = Value(static_cast<Object*>(array));
        break;
    }
    case 0x0A: {
        ArrayObject* array = vm_.newArray();
        references_.push_back(array);
        // Every element takes at least one byte: a count beyond the data is a lie.
        const uint32_t count = u32();
        if (count > bytes_.size() - std::min(position_, bytes_.size())) ok_ = false;
        for (uint32_t i = 0; i < count && ok_; ++i) array->push(value());
        result = Value(static_cast<Object*>(array));
        break;
    }
    default: ok_ = false; break;
    }
    --depth_;
    return result;
}

} // namespace tesmar::script
