// The properties of a clip that come from the display list: `_x` ...
// `_framesloaded`, `_name`, `_target`, `_parent`, `_root`, and the named
// children, which answer before inherited variables do.
#include <cmath>
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/VM.h"
#include "player/stage/EditText.h"
#include "player/stage/Properties.h"

namespace tesmar::bridge {

namespace {

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

// Placement in the parent's space, in pixels.
Rect boundsInParent(const stage::DisplayObject& object) {
    return object.matrix().transform(object.bounds());
}

// A text field takes a new width or height as the size of its box, not as
// a scale.
bool resizeTextField(stage::DisplayObject& object, const std::string& key, double pixels, const stage::Placement& p) {
    auto* field = dynamic_cast<stage::EditText*>(&object);
    if (!field || (key != "_width" && key != "_height")) return false;
    Rect box = field->box();
    const double scale = std::abs(key == "_width" ? p.xScale : p.yScale) / 100;
    const double size = scale > 0 ? std::max(0.0, pixels) * 20 / scale : 0;
    if (key == "_width") box.xMax = box.xMin + std::round(size);
    else box.yMax = box.yMin + std::round(size);
    field->setBox(box);
    return true;
}

// Pixels as the reference player keeps them: whole twips.
double toTwips(double pixels) { return std::round(pixels * 20); }

} // namespace

bool StageClip::getVirtual(script::VM& vm, const std::string& name, script::Value& out) {
    const std::string key = lowerAscii(name);
    // A variable that a script stored as _parent, _root, _global or _levelN
    // hides the clip's own.
    const bool hidable = key == "_parent" || key == "_root" || key == "_global" || key.rfind("_level", 0) == 0;
    if (hidable && findOwn(name)) return false;
    // From SWF 7 a level is named in exactly this case.
    if (vm.swfVersion() >= 7 && key.rfind("_level", 0) == 0 && name.rfind("_level", 0) != 0) return false;
    if (!key.empty() && key[0] == '_' && getProperty(vm, key, out)) return true;
    // Own variables come before children of the same name.
    if (findOwn(name)) return false;
    if (script::ClipObject* child = childClip(name)) {
        out = script::Value(static_cast<script::Object*>(child));
        return true;
    }
    return false;
}

bool StageClip::getProperty(script::VM& vm, const std::string& key, script::Value& out) {
    using script::Value;
    if (key == "_parent") {
        script::ClipObject* parent = parentClip();
        out = parent ? Value(static_cast<script::Object*>(parent)) : Value();
        return true;
    }
    if (key == "_root") {
        out = Value(static_cast<script::Object*>(rootClip()));
        return true;
    }
    if (key == "_global" && vm.swfVersion() >= 6) {
        out = Value(vm.global());
        return true;
    }
    if (key == "_lockroot") {
        const script::Property* lock = findOwn("_lockroot");
        out = lock ? lock->value : Value(false);
        return true;
    }
    // "_flashN" is another name of "_levelN".
    const bool levelName = key.rfind("_level", 0) == 0 || key.rfind("_flash", 0) == 0;
    if (levelName && key.size() > 6 && key.find_first_not_of("0123456789", 6) == std::string::npos) {
        script::ClipObject* level = vm.host().level(std::atoi(key.c_str() + 6));
        out = level ? Value(static_cast<script::Object*>(level)) : Value();
        return true;
    }
    stage::DisplayObject* self = object();
    if (!self) return false;
    const stage::Placement p = stage::placementOf(*self);
    if (key == "_x") out = Value(p.x);
    else if (key == "_y") out = Value(p.y);
    else if (key == "_xscale") out = Value(p.xScale);
    else if (key == "_yscale") out = Value(p.yScale);
    else if (key == "_rotation") out = Value(p.rotation);
    else if (key == "_alpha") out = Value(stage::alphaOf(*self));
    else if (key == "_visible") out = Value(self->visible());
    else if (key == "_width") out = Value(boundsInParent(*self).width() / 20);
    else if (key == "_height") out = Value(boundsInParent(*self).height() / 20);
    else if (key == "_currentframe") out = Value(currentFrame());
    else if (key == "_totalframes") out = Value(totalFrames());
    else if (key == "_framesloaded") out = Value(framesLoaded());
    // A level's root has no name of its own ("_levelN" is only its path);
    // clips inside buttons have no parent clip but do have names.
    else if (key == "_name") out = Value(self->parent() || self->characterId() ? self->name() : std::string());
    else if (key == "_target") out = Value(slashPath());
    else if (key == "_url") out = Value(self->loadedMovie().url());
    else if (key == "_droptarget") out = Value("");
    else if (key == "_xmouse" || key == "_ymouse") {
        const Point local = bridge_.stage().mouseIn(*self);
        out = Value((key == "_xmouse" ? local.x : local.y) / 20);
    }
    else if (key == "_quality") out = Value("HIGH");
    else if (key == "_highquality") out = Value(1);
    else if (key == "_focusrect") out = bridge_.focus().focusRect(*self, version_);
    else if (key == "_soundbuftime") out = Value(5);
    else return false;
    return true;
}

bool StageClip::setVirtual(script::VM& vm, const std::string& name, const script::Value& value) {
    const std::string key = lowerAscii(name);
    return !key.empty() && key[0] == '_' && setProperty(vm, key, value);
}

bool StageClip::setProperty(script::VM& vm, const std::string& key, const script::Value& value) {
    static const char* const readOnly[] = {"_currentframe", "_totalframes", "_framesloaded", "_target",
                                           "_url", "_droptarget", "_xmouse", "_ymouse"};
    for (const char* name : readOnly)
        if (key == name) return true;
    stage::DisplayObject* self = object();
    if (!self) return false;
    if (key == "_name") {
        self->setName(vm.toString(value));
        return true;
    }
    if (key == "_visible") {
        // Hidden objects keep no focus.
        if (!vm.toBoolean(value)) bridge_.focus().leaving(*self);
        self->setVisible(vm.toBoolean(value));
        return true;
    }
    if (key == "_lockroot") {
        put("_lockroot", script::Value(vm.toBoolean(value)), script::DontEnum);
        return true;
    }
    if (key == "_focusrect") {
        bridge_.focus().setFocusRect(vm, *self, version_, value);
        return true;
    }
    if (key == "_quality" || key == "_highquality" || key == "_soundbuftime") return true;
    const char* const numeric[] = {"_x", "_y", "_xscale", "_yscale", "_rotation", "_alpha", "_width", "_height"};
    bool isNumeric = false;
    for (const char* name : numeric) isNumeric = isNumeric || key == name;
    if (!isNumeric) return false;
    const double n = vm.toNumber(value);
    // Undefined and other non-numbers leave the property as it was.
    if (!std::isfinite(n)) return true;
    stage::Placement p = stage::placementOf(*self);
    if (resizeTextField(*self, key, n, p)) return true;
    if (key == "_alpha") {
        stage::setAlpha(*self, n);
        return true;
    }
    if (key == "_x" || key == "_y") {
        Matrix m = self->matrix();
        (key == "_x" ? m.tx : m.ty) = toTwips(n);
        self->setMatrix(m);
        return true;
    }
    if (key == "_xscale") p.xScale = n;
    else if (key == "_yscale") p.yScale = n;
    else if (key == "_rotation") p.rotation = std::remainder(n, 360.0);
    else {
        // A width or height scales the object so that its bounds take that size.
        const Rect inner = self->bounds();
        const double size = key == "_width" ? inner.width() : inner.height();
        if (size <= 0) return true;
        (key == "_width" ? p.xScale : p.yScale) = n * 20 / size * 100;
    }
    stage::setPlacement(*self, p);
    return true;
}

void StageClip::virtualNames(std::vector<std::string>& names) {
    stage::MovieClip* self = clip();
    if (!self) return;
    for (const auto& [depth, child] : self->children())
        if (!child->name().empty() && !findOwn(child->name())) names.push_back(child->name());
}

} // namespace tesmar::bridge
