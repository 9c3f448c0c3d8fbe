#include "player/swf/WriterActions.h"
#include <algorithm>
#include <cstring>
#include <stdexcept>
#include "player/swf/Writer.h"

namespace tesmar::swf {

void ActionWriter::record(uint8_t code, const Bytes& payload) {
    bytes_.push_back(code);
    if (code < 0x80) return;   // actions below 0x80 carry no length
    bytes_.push_back(uint8_t(payload.size()));
    bytes_.push_back(uint8_t(payload.size() >> 8));
    bytes_.insert(bytes_.end(), payload.begin(), payload.end());
}

void ActionWriter::constantPool(const std::vector<std::string>& strings) {
    Writer w;
    w.u16(uint16_t(strings.size()));
    for (const std::string& s : strings) w.cstring(s);
    record(action::ConstantPool, w.bytes());
    pool_ = strings;
}

void ActionWriter::push(std::initializer_list<Value> values) {
    Writer w;
    auto pushString = [&](const std::string& s) {
        auto it = std::find(pool_.begin(), pool_.end(), s);
        const size_t index = size_t(it - pool_.begin());
        if (it == pool_.end()) {
            w.u8(0);
            w.cstring(s);
        } else if (index < 256) {
            w.u8(8);
            w.u8(uint8_t(index));
        } else {
            w.u8(9);
            w.u16(uint16_t(index));
        }
    };
    for (const Value& value : values) {
        if (auto s = std::get_if<std::string>(&value)) {
            pushString(*s);
        } else if (auto c = std::get_if<const char*>(&value)) {
            pushString(*c);
        } else if (auto i = std::get_if<int32_t>(&value)) {
            w.u8(7);
            w.u32(uint32_t(*i));
        } else if (auto d = std::get_if<double>(&value)) {
            // Doubles keep their high 32-bit word first.
            uint64_t bits;
            std::memcpy(&bits, d, 8);
            w.u8(6);
            w.u32(uint32_t(bits >> 32));
            w.u32(uint32_t(bits));
        } else if (auto b = std::get_if<bool>(&value)) {
            w.u8(5);
            w.u8(*b ? 1 : 0);
        } else if (std::holds_alternative<Null>(value)) {
            w.u8(2);
        } else {
            w.u8(3);
        }
    }
    record(action::Push, w.bytes());
}

void ActionWriter::op(uint8_t code) {
    if (code >= 0x80) throw std::invalid_argument("action with operands written without them");
    record(code, {});
}

void ActionWriter::getUrl(const std::string& url, const std::string& target) {
    Writer w;
    w.cstring(url);
    w.cstring(target);
    record(action::GetUrl, w.bytes());
}

void ActionWriter::getUrl2(uint8_t method, bool targetIsSprite, bool loadVariables) {
    // As players read the flags: the method in the low bits, 0x40 load into
    // a target, 0x80 load variables.
    record(action::GetUrl2, {uint8_t((method & 3) | (targetIsSprite ? 0x40 : 0) | (loadVariables ? 0x80 : 0))});
}

void ActionWriter::gotoFrame(uint16_t frameIndex) {
    record(action::GotoFrame, {uint8_t(frameIndex), uint8_t(frameIndex >> 8)});
}

ActionWriter::Label ActionWriter::label() {
    labels_.push_back(-1);
    return Label{labels_.size() - 1};
}

void ActionWriter::bind(Label target) { labels_.at(target.id) = long(bytes_.size()); }

void ActionWriter::jump(Label target) {
    record(action::Jump, {0, 0});
    branches_.emplace_back(bytes_.size() - 2, target.id);
}

void ActionWriter::ifTrue(Label target) {
    record(action::If, {0, 0});
    branches_.emplace_back(bytes_.size() - 2, target.id);
}

Bytes ActionWriter::finish() {
    for (const auto& [field, id] : branches_) {
        const long target = labels_.at(id);
        if (target < 0) throw std::logic_error("branch to a label that was never bound");
        // Offsets count from the end of the branch action.
        const long offset = target - long(field + 2);
        bytes_[field] = uint8_t(offset);
        bytes_[field + 1] = uint8_t(offset >> 8);
    }
    Bytes block = std::move(bytes_);
    block.push_back(action::End);
    bytes_.clear();
    branches_.clear();
    labels_.clear();
    pool_.clear();
    return block;
}

} // namespace tesmar::swf
