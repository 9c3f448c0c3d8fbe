#pragma once
// The drawing methods of MovieClip.prototype: clear, lineStyle, beginFill,
// beginGradientFill, moveTo, lineTo, curveTo, endFill.

namespace tesmar::script {
class VM;
}

namespace tesmar::bridge {

void installDrawingMethods(script::VM& vm);

} // namespace tesmar::bridge
