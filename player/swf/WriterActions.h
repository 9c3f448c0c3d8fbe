#pragma once
// Assembles ActionScript 1 byte code: the actions a simple movie needs
// (variables, members, method calls, get-URL, timeline control, tests and
// branches), with a constant pool that pushes of its strings refer to.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>
#include "player/swf/Timeline.h"

namespace tesmar::swf {

namespace action {
enum : uint8_t {
    End = 0x00, NextFrame = 0x04, PreviousFrame = 0x05, Play = 0x06, Stop = 0x07,
    Add = 0x0A, Subtract = 0x0B, Multiply = 0x0C, Divide = 0x0D, Equals = 0x0E, Less = 0x0F,
    And = 0x10, Or = 0x11, Not = 0x12, Pop = 0x17,
    GetVariable = 0x1C, SetVariable = 0x1D, SetTarget2 = 0x20, GetProperty = 0x22, SetProperty = 0x23,
    Trace = 0x26, CallFunction = 0x3D, Equals2 = 0x49, Less2 = 0x48,
    GetMember = 0x4E, SetMember = 0x4F, CallMethod = 0x52,
    GotoFrame = 0x81, GetUrl = 0x83, ConstantPool = 0x88, Push = 0x96, Jump = 0x99, GetUrl2 = 0x9A,
    If = 0x9D,
};
} // namespace action

// GetProperty and SetProperty index the properties of a clip by number.
namespace property {
enum : int32_t {
    X = 0, Y = 1, XScale = 2, YScale = 3, CurrentFrame = 4, TotalFrames = 5, Alpha = 6,
    Visible = 7, Width = 8, Height = 9, Rotation = 10, Target = 11, FramesLoaded = 12, Name = 13,
};
} // namespace property

class ActionWriter {
public:
    struct Null {};
    struct Undefined {};
    // A value to push: strings go through the constant pool when they are in it.
    using Value = std::variant<std::string, const char*, int32_t, double, bool, Null, Undefined>;

    // A branch target; bind() fixes it at the current position.
    struct Label { size_t id; };

    // Starts the block with a constant pool; pushes of these strings then
    // push their index.
    void constantPool(const std::vector<std::string>& strings);
    // One Push action with all the values, in order.
    void push(std::initializer_list<Value> values);
    // An action without operands (see namespace action).
    void op(uint8_t code);

    void getUrl(const std::string& url, const std::string& target);
    // GetURL2 with its flags: method (0 none, 1 GET, 2 POST), whether the
    // target names a sprite, whether the address is a variables file.
    void getUrl2(uint8_t method = 0, bool targetIsSprite = false, bool loadVariables = false);
    // Frame numbers count from 0 in the byte code.
    void gotoFrame(uint16_t frameIndex);

    Label label();
    void bind(Label target);
    void jump(Label target);
    void ifTrue(Label target);   // pops a value; branches when it is true

    // The block with its End action and every branch resolved.
    Bytes finish();

private:
    void record(uint8_t code, const Bytes& payload);

    Bytes bytes_;
    std::vector<std::string> pool_;
    std::vector<long> labels_;                         // position, or -1 while unbound
    std::vector<std::pair<size_t, size_t>> branches_;  // offset field position, label id
};

} // namespace tesmar::swf
