// TextFormat.getTextExtent: lays the text out in the format as a field
// would and reports its size in whole pixels.
#include <cmath>
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/TextFormat.h"
#include "player/stage/EditText.h"

namespace tesmar::bridge {

using script::CallContext;
using script::Value;

script::Value getTextExtent(CallContext& c) {
    const TextFormatValues* values = textFormatValues(c.thisObject);
    auto& bridge = static_cast<ScriptBridge&>(c.vm.host());
    stage::MovieClip* root = bridge.stage().level(0);
    if (!values || !root) return Value();
    stage::TextFormat format;
    values->applyTo(format);
    stage::StyledText text;
    text.append(stage::decodeText(c.vm.toString(c.arg(0))), format);

    // A width (any value that is a number) wraps the text to it.
    const double width = c.count() >= 2 && !c.arg(1).isNullish() ? c.vm.toNumber(c.arg(1)) : NAN;
    const bool wrap = std::isfinite(width);
    stage::LayoutOptions options;
    options.wordWrap = wrap;
    options.width = wrap ? std::max(0.0, width * 20 - 2 * stage::kTextGutter) : 0;
    options.emptyFormat = format;
    stage::TextFaces faces(root->loadedMovie().movie(), root->context().host);
    const stage::TextLayout layout = stage::layoutText(text, options, faces);

    const double ascent = layout.lines.empty() ? 0 : layout.lines[0].ascent;
    const double descent = layout.lines.empty() ? 0 : layout.lines[0].descent;
    const double textWidth = std::round(layout.textWidth / 20), textHeight = std::round(layout.textHeight / 20);
    script::Object* out = c.vm.newObject();
    out->setProto(nullptr);
    c.vm.set(out, "ascent", Value(std::round(ascent / 20)));
    c.vm.set(out, "descent", Value(std::round(descent / 20)));
    c.vm.set(out, "width", Value(textWidth));
    c.vm.set(out, "height", Value(textHeight));
    c.vm.set(out, "textFieldHeight", Value(textHeight + 4));
    c.vm.set(out, "textFieldWidth", Value(wrap ? std::trunc(width) : textWidth + 4));
    return Value(out);
}

} // namespace tesmar::bridge
