// Variable access of the interpreter: the scope chain, the special names
// (this, _global, _root, _levelN) and slash/dot paths to clips and objects.

#include "player/script/Interpreter.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace tesmar::script {

namespace {

bool isLevelName(const std::string& lower, int& level)
{
    // "_flashN" is another name of "_levelN".
    if (lower.size() <= 6 || (lower.compare(0, 6, "_level") != 0 && lower.compare(0, 6, "_flash") != 0)) return false;
    for (size_t i = 6; i < lower.size(); ++i)
        if (lower[i] < '0' || lower[i] > '9') return false;
    level = std::atoi(lower.c_str() + 6);
    return true;
}

// What a scope that is a removed clip stands for: the clip now at its path,
// else the clip the actions came from, else the root of level 0.
Object* standIn(VM& vm, Object* scope, Object* original)
{
    if (!scope || scope->kind() != ObjectKind::Clip) return scope;
    auto* clip = static_cast<ClipObject*>(scope);
    if (!clip->removed()) return scope;
    if (ClipObject* live = vm.liveClip(clip)) return live;
    if (original && original != scope && original->kind() == ObjectKind::Clip) {
        if (ClipObject* base = vm.liveClip(static_cast<ClipObject*>(original))) return base;
    }
    return vm.host().level(0);
}

// The root of the clip that actions came from.
ClipObject* rootOf(VM& vm, Object* original)
{
    if (!original || original->kind() != ObjectKind::Clip) return nullptr;
    ClipObject* clip = vm.liveClip(static_cast<ClipObject*>(original));
    return clip ? clip->rootClip() : vm.host().level(0);
}

} // namespace

ClipObject* Interpreter::targetClip()
{
    // No target while there is an original one: a tellTarget named no clip.
    if (!f_.target && f_.originalTarget) return rootOf(vm_, f_.originalTarget);
    Object* t = standIn(vm_, f_.target, f_.originalTarget);
    if (!t || t->kind() != ObjectKind::Clip) return nullptr;
    return vm_.liveClip(static_cast<ClipObject*>(t));
}

bool Interpreter::baseIsLive()
{
    Object* base = f_.originalTarget;
    return base && base->kind() == ObjectKind::Clip && !static_cast<ClipObject*>(base)->removed();
}

bool Interpreter::special(const std::string& name, Value& out)
{
    std::string lower = vm_.heap().key(name);
    // Keywords are never case-folded in SWF 7, so compare the folded form only below 7.
    if (lower == "this") {
        out = f_.thisValue;
        return true;
    }
    if (lower == "_global" && f_.version >= 6) {
        out = Value(vm_.global());
        return true;
    }
    if (lower == "_root") {
        ClipObject* clip = targetClip();
        out = clip ? Value(static_cast<Object*>(clip->rootClip())) : Value();
        return true;
    }
    int level;
    if (isLevelName(lower, level)) {
        ClipObject* clip = vm_.host().level(level);
        out = clip ? Value(static_cast<Object*>(clip)) : Value();
        return true;
    }
    if (lower == "super" && f_.version >= 6 && f_.superProto) {
        Object* super = vm_.heap().make<Object>(ObjectKind::Super);
        super->primitive = f_.thisValue;
        super->setProto(f_.superProto);
        out = Value(super);
        return true;
    }
    return false;
}

bool Interpreter::lookup(const std::string& name, Value& out, Object** holder)
{
    // this, _global, _root and _levelN are keywords, which only a variable
    // that a script stored under that name hides. SWF 4 has no such
    // keywords, only plain variables of those names.
    Value keyword;
    if (f_.version >= 5 && special(name, keyword)) {
        for (size_t i = f_.scopes.size(); i-- > 0;) {
            Object* scope = standIn(vm_, f_.scopes[i], f_.originalTarget);
            if (scope && scope->findOwn(name)) {
                out = vm_.get(scope, name);
                if (holder) *holder = scope;
                return true;
            }
        }
        out = keyword;
        if (holder) *holder = nullptr;
        return true;
    }
    for (size_t i = f_.scopes.size(); i-- > 0;) {
        Object* scope = standIn(vm_, f_.scopes[i], f_.originalTarget);
        if (scope && vm_.has(scope, name)) {
            out = vm_.get(scope, name);
            if (holder) *holder = scope;
            return true;
        }
    }
    if (vm_.has(vm_.global(), name)) {
        out = vm_.get(vm_.global(), name);
        if (holder) *holder = nullptr;
        return true;
    }
    out = Value();
    return false;
}

// "a/b:c", "/:c", "_root.a.c" name a variable `c` of the object at a path.
bool Interpreter::splitPath(const std::string& name, std::string& path, std::string& variable)
{
    // The variable follows the last colon or dot ("o:c.f" is f of o:c).
    size_t at = name.rfind(':');
    if (f_.version >= 5) {
        size_t dot = name.rfind('.');
        bool pathDot = dot != std::string::npos && dot > 0 && dot + 1 < name.size() && name[dot - 1] != '.';
        if (pathDot && (at == std::string::npos || dot > at)) at = dot;
    }
    if (at == std::string::npos) return false;
    path = name.substr(0, at);
    variable = name.substr(at + 1);
    return true;
}

namespace {

// The names of a path: "a/b", "a.b", "../a", "a:b" without the variable
// part. After a slash a dot is part of a name ("_level0.a/b.c" is a, then
// "b.c"). Two slashes in a row, or a leading dot, make the path name nothing.
std::optional<std::vector<std::string>> pathParts(const std::string& path, size_t from, bool dots = true)
{
    std::vector<std::string> parts;
    const bool slashSyntax = path.find('/') != std::string::npos;
    bool slashSeen = path.find('/') < from;
    size_t i = from;
    while (i <= path.size()) {
        size_t end = path.find_first_of(slashSeen || !dots ? "/:" : "/.:", i);
        if (end == std::string::npos) end = path.size();
        // ".." names the parent in slash syntax; between dots names are empty.
        if (slashSyntax && path.compare(i, 2, "..") == 0 &&
            (i + 2 == path.size() || path[i + 2] == '/' || path[i + 2] == ':'))
            end = i + 2;
        else if (end == i && end < path.size() &&
                 ((path[i] == '/' && i > 0 && path[i - 1] == '/') || (path[i] == '.' && i == 0)))
            return std::nullopt;
        if (end > i) parts.push_back(path.substr(i, end - i));
        if (end < path.size() && path[end] == '/') slashSeen = true;
        i = end + 1;
    }
    return parts;
}

bool hasParentStep(const std::string& path)
{
    const std::optional<std::vector<std::string>> parts = pathParts(path, 0);
    return parts && std::find(parts->begin(), parts->end(), "..") != parts->end();
}

} // namespace

Object* Interpreter::walkPath(Object* current, const std::vector<std::string>& parts, size_t first)
{
    for (size_t i = first; i < parts.size() && current; ++i) {
        const std::string& part = parts[i];
        std::string key = vm_.heap().key(part);
        if (part == ".." || key == "_parent") {
            if (current->kind() != ObjectKind::Clip) return nullptr;
            ClipObject* clip = vm_.liveClip(static_cast<ClipObject*>(current));
            current = clip ? clip->parentClip() : nullptr;
            continue;
        }
        int level;
        // SWF 4 knows levels only at the start of a path.
        if (f_.version < 5 && isLevelName(key, level)) return nullptr;
        Value v = vm_.get(current, part);
        if (!v.isObject() && (key == "_root" || key.rfind("_level", 0) == 0 || key.rfind("_flash", 0) == 0)) special(part, v);
        if (v.isString() || v.isNumber() || v.isBoolean()) primitiveOnPath_ = true;
        current = v.isObject() ? v.object() : nullptr;
    }
    return current;
}

Object* Interpreter::resolvePath(const std::string& path, const std::string* variable, bool targetPath)
{
    if (path.empty()) return standIn(vm_, f_.target, f_.originalTarget);
    if (path[0] == '/') {
        ClipObject* clip = targetClip();
        Object* root = clip ? clip->rootClip() : nullptr;
        std::optional<std::vector<std::string>> parts = pathParts(path, 1, f_.version >= 5);
        return root && parts ? walkPath(root, *parts, 0) : nullptr;
    }
    std::optional<std::vector<std::string>> split = pathParts(path, 0, f_.version >= 5);
    if (!split) return nullptr;
    const std::vector<std::string>& parts = *split;
    if (parts.empty()) return standIn(vm_, f_.target, f_.originalTarget);
    const std::string& head = parts[0];
    std::string key = vm_.heap().key(head);
    if (head == ".." || key == "_parent") return walkPath(standIn(vm_, f_.target, f_.originalTarget), parts, 0);
    Value v;
    if ((!targetPath || key != "this") && special(head, v)) return v.isObject() ? walkPath(v.object(), parts, 1) : nullptr;
    // The first name is a child of the target or a variable of any scope; a
    // scope whose value does not lead through the whole path gives way to the next.
    if (targetPath) return walkPath(standIn(vm_, f_.target, f_.originalTarget), parts, 0);
    std::vector<Object*> candidates;
    for (size_t i = f_.scopes.size(); i-- > 0;) candidates.push_back(standIn(vm_, f_.scopes[i], f_.originalTarget));
    if (f_.target) candidates.push_back(standIn(vm_, f_.target, f_.originalTarget));
    candidates.push_back(vm_.global());
    Object* first = nullptr;
    for (Object* scope : candidates) {
        if (!scope || !vm_.has(scope, head)) continue;
        Value start = vm_.get(scope, head);
        if (start.isString() || start.isNumber() || start.isBoolean()) primitiveOnPath_ = true;
        if (!start.isObject()) continue;
        Object* found = walkPath(start.object(), parts, 1);
        if (!found) continue;
        if (!variable || vm_.has(found, *variable)) return found;
        if (!first) first = found;
    }
    return first;
}

Object* Interpreter::resolveTarget(const std::string& path)
{
    if (f_.version < 5) {
        // SWF 4 reads a level's number up to the first character that is
        // no digit ("_level0:a" is level 0), and names no variable after a colon.
        const std::string lower = vm_.heap().key(path);
        const size_t digits = lower.find_first_not_of("0123456789", 6);
        int level;
        const bool slash = path.find('/') != std::string::npos;
        if (digits != std::string::npos && !slash && isLevelName(lower.substr(0, digits), level))
            return vm_.host().level(level);
        if (path.find(':') != std::string::npos) return nullptr;
    }
    primitiveOnPath_ = false;
    Object* object = resolvePath(path, nullptr, true);
    // The player warns when a path to a clip passes through a plain value.
    if (primitiveOnPath_ && f_.version >= 5) vm_.trace(kPrimitivePathWarning);
    return object;
}

Value Interpreter::getVariable(const std::string& name)
{
    std::string path, variable;
    if (splitPath(name, path, variable)) {
        // ":a" names no path at all; "a::b" names variable "" of a, no clip.
        const bool noPath = path.empty() || path.back() == ':';
        Object* object = noPath ? nullptr : resolvePath(path, &variable);
        return object ? vm_.get(object, variable) : Value();
    }
    // A bare slash path names the clip itself; it takes no steps up.
    if (name.find('/') != std::string::npos) {
        Object* object = hasParentStep(name) ? nullptr : resolvePath(name);
        return object ? Value(object) : Value();
    }
    Value out;
    lookup(name, out, nullptr);
    return out;
}

void Interpreter::setVariable(const std::string& name, const Value& value)
{
    std::string path, variable;
    if (splitPath(name, path, variable)) {
        Object* object = resolvePath(path);
        if (object) vm_.set(object, variable, value);
        return;
    }
    for (size_t i = f_.scopes.size(); i-- > 0;) {
        Object* scope = standIn(vm_, f_.scopes[i], f_.originalTarget);
        if (scope && vm_.has(scope, name)) {
            vm_.set(scope, name, value);
            return;
        }
    }
    // A new variable goes to the timeline, not to the function's locals.
    Object* timeline = f_.scopes.empty() ? f_.target : f_.scopes.front();
    if (f_.target != f_.originalTarget && f_.target) timeline = f_.target;
    timeline = standIn(vm_, timeline, f_.originalTarget);
    vm_.set(timeline ? timeline : vm_.global(), name, value);
}

void Interpreter::setTarget(const std::string& path)
{
    Object* target = path.empty() ? f_.originalTarget : resolveTarget(path);
    // Only clips are targets. Without one, properties answer nothing while
    // variables and frame jumps go to the root of the clip the actions came from.
    if (target && target->kind() != ObjectKind::Clip) target = nullptr;
    f_.target = target;
    Object* root = rootOf(vm_, f_.originalTarget);
    if (f_.scopes.empty()) return;
    // Outside a function the timeline is also where locals go.
    const bool timelineLocals = f_.locals == f_.scopes.front();
    f_.scopes.front() = target ? target : root ? root : f_.originalTarget;
    if (timelineLocals) f_.locals = f_.scopes.front();
}

} // namespace tesmar::script
