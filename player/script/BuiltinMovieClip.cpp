// MovieClip.prototype: the methods that only need the timeline interface of
// ClipObject. The stage gives its clips this prototype and adds the methods
// that need the display list.

#include "player/script/Builtins.h"
#include "player/script/Convert.h"
#include "player/script/VM.h"

#include <algorithm>
#include <cmath>

namespace tesmar::script {

namespace {

ClipObject* thisClip(CallContext& c)
{
    if (!c.thisObject || c.thisObject->kind() != ObjectKind::Clip) return nullptr;
    return c.vm.liveClip(static_cast<ClipObject*>(c.thisObject));
}

// A frame argument as a 0-based index: numbers wrap to 32 bits as the
// index arithmetic does, other values are texts (a number or a label).
// Negative when it names no frame.
int32_t frameIndex(CallContext& c, ClipObject* clip, const Value& frame)
{
    int32_t n;
    if (frame.isString() || frame.isObject()) {
        std::string text = c.vm.toString(frame);
        double d = stringToNumber(text, c.vm.swfVersion());
        if (std::isnan(d)) return clip->labelFrame(text) - 1;
        n = toInt32(d);
    } else {
        n = c.vm.toInt32(frame);
    }
    return int32_t(uint32_t(n) - 1u);
}

template <bool Play>
Value gotoAnd(CallContext& c)
{
    ClipObject* clip = thisClip(c);
    if (!clip || c.count() == 0) return Value();
    Value frame = c.arg(0);
    if (frame.isString()) {
        // "path:frame" jumps the clip that the path names from this one.
        const std::string& text = frame.string();
        size_t colon = text.rfind(':');
        if (colon != std::string::npos) {
            clip = c.vm.resolveClipPath(clip, text.substr(0, colon));
            if (!clip) return Value();
            frame = Value(text.substr(colon + 1));
        }
    }
    int32_t index = frameIndex(c, clip, frame);
    // Past the end stops at the last frame.
    if (index >= 0) clip->gotoFrame(std::min(index, std::max(0, clip->totalFrames() - 1)) + 1, Play);
    return Value();
}

Value play(CallContext& c)
{
    if (ClipObject* clip = thisClip(c)) clip->play();
    return Value();
}

Value stop(CallContext& c)
{
    if (ClipObject* clip = thisClip(c)) clip->stop();
    return Value();
}

Value nextFrame(CallContext& c)
{
    if (ClipObject* clip = thisClip(c)) clip->gotoFrame(clip->currentFrame() + 1, false);
    return Value();
}

Value prevFrame(CallContext& c)
{
    ClipObject* clip = thisClip(c);
    if (clip && clip->currentFrame() > 1) clip->gotoFrame(clip->currentFrame() - 1, false);
    return Value();
}

Value duplicateMovieClip(CallContext& c)
{
    ClipObject* clip = thisClip(c);
    if (!clip || c.count() < 2) return Value();
    clip->duplicate(c.vm.toString(c.arg(0)), c.vm.toInt32(c.arg(1)));
    return Value();
}

Value removeMovieClip(CallContext& c)
{
    if (ClipObject* clip = thisClip(c)) clip->removeSelf();
    return Value();
}

Value startDrag(CallContext& c)
{
    ClipObject* clip = thisClip(c);
    if (!clip) return Value();
    std::optional<std::array<double, 4>> bounds;
    if (c.count() >= 5)
        bounds = std::array<double, 4>{c.vm.toNumber(c.arg(1)), c.vm.toNumber(c.arg(2)),
                                       c.vm.toNumber(c.arg(3)), c.vm.toNumber(c.arg(4))};
    clip->startDrag(c.vm.toBoolean(c.arg(0)), bounds);
    return Value();
}

Value stopDrag(CallContext& c)
{
    c.vm.host().stopDrag();
    return Value();
}

Value getUrl(CallContext& c)
{
    ClipObject* clip = thisClip(c);
    if (c.count() == 0) return Value();
    std::string url = c.vm.toString(c.arg(0));
    std::string target = c.count() > 1 ? c.vm.toString(c.arg(1)) : "";
    if (url.size() >= 10 && url.compare(0, 10, "FSCommand:") == 0) {
        c.vm.host().fsCommand(url.substr(10), target);
        return Value();
    }
    UrlRequest request;
    request.url = url;
    request.target = target;
    std::string method = c.count() > 2 ? c.vm.toString(c.arg(2)) : "";
    request.method = method == "GET" ? 1 : method == "POST" ? 2 : 0;
    c.vm.host().getUrl(request, clip);
    return Value();
}

Value movieClipConstructor(CallContext& c)
{
    return Value(c.thisObject);
}

} // namespace

void installMovieClip(VM& vm)
{
    Prototypes& p = vm.protos();
    p.movieClip = vm.newObject();
    FunctionObject* movieClip = vm.newNative(movieClipConstructor);
    vm.attachPrototype(movieClip, p.movieClip);
    struct Method { const char* name; NativeFunction fn; };
    const Method methods[] = {
        {"play", play}, {"stop", stop}, {"nextFrame", nextFrame}, {"prevFrame", prevFrame},
        {"gotoAndPlay", gotoAnd<true>}, {"gotoAndStop", gotoAnd<false>},
        {"duplicateMovieClip", duplicateMovieClip}, {"removeMovieClip", removeMovieClip},
        {"startDrag", startDrag}, {"stopDrag", stopDrag}, {"getURL", getUrl},
    };
    for (const Method& m : methods) vm.defineNative(p.movieClip, m.name, m.fn);
    vm.global()->put("MovieClip", Value(static_cast<Object*>(movieClip)), DontEnum);
}

} // namespace tesmar::script
