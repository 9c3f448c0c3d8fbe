#include "player/bridge/GeomClasses.h"

#include "player/bridge/BitmapData.h"
#include "player/bridge/FilterObject.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"

namespace tesmar::bridge {

void installGeomClasses(ScriptBridge& bridge)
{
    script::VM& vm = *bridge.vm();
    installColor(vm);
    installTransform(vm);
    installBitmapData(vm);
    installFilters(vm);
}

stage::DisplayObject* displayObjectOf(script::VM& vm, const script::Value& value, script::Object* base)
{
    script::ClipObject* clip = nullptr;
    if (value.isObject() && value.object()->kind() == script::ObjectKind::Clip) {
        clip = vm.liveClip(static_cast<script::ClipObject*>(value.object()));
    } else if (value.isString() && !value.string().empty()) {
        auto* from = base && base->kind() == script::ObjectKind::Clip ? static_cast<script::ClipObject*>(base)
                                                                      : vm.host().level(0);
        if (from) clip = vm.resolveClipPath(from, value.string());
    }
    auto* stageClip = dynamic_cast<StageClip*>(clip);
    return stageClip ? stageClip->object() : nullptr;
}

int32_t wrap16(script::VM& vm, double value)
{
    return int16_t(uint16_t(uint32_t(vm.toInt32(script::Value(value)))));
}

} // namespace tesmar::bridge
