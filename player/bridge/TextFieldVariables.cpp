// Text fields bound to variables: the field shows the variable's value;
// text a script gives the field goes back into the variable.
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/bridge/TextField.h"

namespace tesmar::bridge {

namespace {

// The object holding a field's variable and the variable's own name:
// "score" lives on the clip that holds the field (directly or inside a
// button), "_root.a.score" or "/a:score" on the clip that path names.
script::Object* variableHolder(ScriptBridge& bridge, stage::EditText& field, stage::MovieClip* holder,
                               std::string& name) {
    if (!holder) return nullptr;
    script::ClipObject* base = bridge.objectFor(holder);
    name = field.variable;
    const size_t cut = name.find_last_of(".:");
    if (cut == std::string::npos) return base;
    const std::string path = name.substr(0, cut);
    name = name.substr(cut + 1);
    return base && !path.empty() ? bridge.vm()->resolveClipPath(base, path) : base;
}

template <class Visit>
void forEachField(stage::MovieClip& clip, Visit& visit) {
    std::vector<stage::DisplayObject*> children;
    for (const auto& [depth, child] : clip.children()) children.push_back(child.get());
    for (stage::DisplayObject* child : children) {
        if (auto* field = dynamic_cast<stage::EditText*>(child)) {
            visit(*field, clip);
        } else if (auto* sub = dynamic_cast<stage::MovieClip*>(child)) {
            forEachField(*sub, visit);
        } else if (auto* button = dynamic_cast<stage::ButtonObject*>(child)) {
            button->forEachPart([&](stage::DisplayObject& part) {
                if (auto* field = dynamic_cast<stage::EditText*>(&part)) visit(*field, clip);
            });
        }
    }
}

void showVariable(ScriptBridge& bridge, stage::EditText& field, stage::MovieClip* clip) {
    script::VM& vm = *bridge.vm();
    std::string name;
    script::Object* holder = variableHolder(bridge, field, clip, name);
    if (!holder || name.empty()) return;
    const script::Value value = vm.get(holder, name);
    if (value.isUndefined()) {
        // A new variable starts with the field's own text.
        if (!vm.has(holder, name)) vm.set(holder, name, script::Value(field.html ? field.htmlText() : field.text()));
        return;
    }
    const std::string text = vm.toString(value);
    if (field.html) {
        if (text != field.htmlText()) field.setHtmlText(text);
    } else if (text != field.text()) {
        field.setText(text);
    }
}

} // namespace

void syncBoundField(ScriptBridge& bridge, stage::EditText& field, stage::MovieClip* clip) {
    script::VM* vm = bridge.vm();
    if (!vm || vm->stopped() || field.variable.empty()) return;
    try {
        showVariable(bridge, field, clip ? clip : field.parent());
    } catch (const script::ScriptThrow&) {
        // A getter that throws leaves the field as it was.
    } catch (const script::ScriptAbort&) {
    }
}

void updateBoundFields(ScriptBridge& bridge) {
    if (!bridge.vm()) return;
    auto visit = [&](stage::EditText& field, stage::MovieClip& clip) { syncBoundField(bridge, field, &clip); };
    for (const auto& [number, level] : bridge.stage().levels())
        if (level) forEachField(*level, visit);
}

void storeBoundVariable(ScriptBridge& bridge, stage::EditText& field) {
    if (field.variable.empty() || !bridge.vm()) return;
    std::string name;
    script::Object* holder = variableHolder(bridge, field, field.parent(), name);
    if (holder && !name.empty())
        bridge.vm()->set(holder, name, script::Value(field.html ? field.htmlText() : field.text()));
}

} // namespace tesmar::bridge
