// Interpreter actions that act on clips and the host: get-URL requests,
// frame jumps by number or label, frame waits, Call, and clip properties by index.

#include "player/script/Interpreter.h"

#include "player/script/Convert.h"
#include "player/script/Strings.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace tesmar::script {

namespace {

// GetProperty / SetProperty indices.
const char* const propertyNames[] = {
    "_x", "_y", "_xscale", "_yscale", "_currentframe", "_totalframes", "_alpha", "_visible",
    "_width", "_height", "_rotation", "_target", "_framesloaded", "_name", "_droptarget",
    "_url", "_highquality", "_focusrect", "_soundbuftime", "_quality", "_xmouse", "_ymouse",
};

// A frame number from a script's number: whole, far inside int's range
// (so that adding a scene bias cannot overflow), and 0 for NaN.
int frameNumber(double n)
{
    if (std::isnan(n)) return 0;
    return int(std::clamp(std::trunc(n), -1e9, 1e9));
}

} // namespace

void Interpreter::getUrl(const std::string& url, const std::string& target, int flags)
{
    if (lowerAscii(url.substr(0, 10)) == "fscommand:") {
        vm_.host().fsCommand(url.substr(10), target);
        return;
    }
    UrlRequest request;
    request.url = url;
    request.target = target;
    request.method = flags & 3;
    request.loadTarget = flags & 0x40;
    request.loadVariables = flags & 0x80;
    vm_.host().getUrl(request, targetClip());
}

void Interpreter::gotoFrame2(const Value& frame, bool play, int bias)
{
    ClipObject* clip = targetClip();
    int32_t number = 0;
    if (frame.isNumber() && std::trunc(frame.number()) == frame.number()) {
        // Whole numbers wrap to 32 bits, as the player's frame arithmetic does.
        number = toInt32(frame.number());
    } else {
        // Anything else is a text: "path:frame" jumps another clip, and a
        // text that is no whole number names a label.
        std::string text = vm_.toString(frame);
        size_t colon = text.rfind(':');
        if (colon != std::string::npos) {
            Object* other = resolvePath(text.substr(0, colon));
            clip = other && other->kind() == ObjectKind::Clip ? static_cast<ClipObject*>(other) : nullptr;
            text = text.substr(colon + 1);
        }
        if (!clip) return;
        double n = stringToNumber(text, f_.version);
        number = std::trunc(n) == n ? toInt32(n) : clip->labelFrame(text);
        if (number <= 0) return;
    }
    const int64_t target = int64_t(number) + bias;
    if (clip && target <= INT32_MAX) clip->gotoFrame(int(target), play);
}

bool Interpreter::frameLoaded(const Value& frame)
{
    ClipObject* clip = targetClip();
    if (!clip) return true;
    if (clip->framesLoaded() >= clip->totalFrames()) {
        // A movie that has loaded counts frames up to the player's limit of
        // 16000 as loaded, and anything that is no whole number (labels too).
        double n = frame.isString() ? stringToNumber(frame.string(), f_.version) : vm_.toNumber(frame);
        // The player counts from 0 in 32 bits: frame -2^31 wraps past the limit.
        if (!std::isfinite(n) || std::trunc(n) != n) return true;
        return int32_t(uint32_t(toInt32(n)) - 1u) <= 16000;
    }
    int number;
    if (frame.isString()) {
        double n = stringToNumber(frame.string(), f_.version);
        number = std::isnan(n) ? clip->labelFrame(frame.string()) : frameNumber(n);
    } else {
        number = frameNumber(vm_.toNumber(frame));
    }
    return clip->framesLoaded() >= number;
}

void Interpreter::callFrame(const Value& frame)
{
    ClipObject* clip = targetClip();
    std::string text = vm_.toString(frame);
    size_t colon = text.rfind(':');
    if (colon != std::string::npos) {
        Object* other = resolvePath(text.substr(0, colon));
        clip = other && other->kind() == ObjectKind::Clip ? static_cast<ClipObject*>(other) : nullptr;
        text = text.substr(colon + 1);
    }
    if (!clip) return;
    double n = frame.isNumber() && colon == std::string::npos ? frame.number() : stringToNumber(text, f_.version);
    // Whole numbers wrap to 32 bits, as in frame jumps.
    int number = std::isnan(n) ? clip->labelFrame(text)
                 : std::isfinite(n) && std::trunc(n) == n ? toInt32(n) : frameNumber(n);
    if (number <= 0) return;
    for (const ActionBytes& bytes : clip->frameScripts(number)) {
        if (!bytes) continue;
        Frame frameCall;
        frameCall.bytes = bytes;
        frameCall.blockEnd = bytes->size();
        frameCall.version = f_.version;
        frameCall.scopes = {clip};
        frameCall.locals = clip;
        frameCall.target = frameCall.originalTarget = clip;
        frameCall.thisValue = Value(static_cast<Object*>(clip));
        frameCall.registers.resize(4);
        Interpreter inner(vm_, frameCall);
        inner.runBlock();
    }
}

namespace {

const char* propertyName(double index)
{
    if (!(index > -1 && index < double(std::size(propertyNames)))) return nullptr;
    return propertyNames[size_t(std::trunc(index))];
}

} // namespace

Value Interpreter::getProperty(Object* target, double index)
{
    const char* name = propertyName(index);
    return target && name ? vm_.get(target, name) : Value();
}

void Interpreter::setProperty(Object* target, double index, const Value& value)
{
    if (const char* name = propertyName(index); target && name) vm_.set(target, name, value);
}

} // namespace tesmar::script
