// The document tree of XML and XMLNode: building, moving and copying nodes,
// writing them out as text, and namespace lookups. Every walk over the tree
// is a loop with its own stack, so a deeply nested document cannot exhaust
// the native stack.

#include "player/script/BuiltinXmlDom.h"

#include "player/script/BuiltinXmlParser.h"

#include <algorithm>

namespace tesmar::script {

XmlNode* XmlNode::sibling(int offset) const
{
    if (!parent_) return nullptr;
    size_t at = index_ + size_t(offset);
    return at < parent_->children_.size() ? parent_->children_[at] : nullptr;
}

Object* XmlNode::idMap(VM& vm)
{
    if (!idMap_) idMap_ = vm.newObject();
    return idMap_;
}

bool XmlNode::getVirtual(VM& vm, const std::string& name, Value& out)
{
    // A document's idMap, unless the movie has put its own in its place.
    if (!document || vm.heap().key(name) != vm.heap().key("idMap") || findOwn(name)) return false;
    out = Value(idMap(vm));
    return true;
}

void XmlNode::trace(Tracer& tracer)
{
    Object::trace(tracer);
    tracer.mark(name);
    tracer.mark(value);
    tracer.mark(parent_);
    for (XmlNode* child : children_) tracer.mark(child);
    tracer.mark(attributes_);
    tracer.mark(childNodes_);
    tracer.mark(idMap_);
}

void XmlNode::mirrorChildren(VM& vm, size_t first)
{
    for (size_t i = first; i < children_.size(); ++i) {
        children_[i]->index_ = i;
        childNodes_->put(std::to_string(i), Value(children_[i]));
    }
    childNodes_->setLength(vm, double(children_.size()));
}

XmlNode* asXmlNode(const Value& v)
{
    return v.isObject() ? dynamic_cast<XmlNode*>(v.object()) : nullptr;
}

XmlNode* newXmlNode(VM& vm, int type, const Value& text)
{
    auto* node = vm.heap().make<XmlNode>(type);
    Value proto = vm.getOf(vm.get(vm.global(), "XMLNode"), "prototype");
    node->setProto(proto.isObject() ? proto.object() : vm.protos().object);
    if (type == XmlElement) node->name = text;
    else node->value = text;
    node->attributes_ = vm.newObject();
    node->childNodes_ = vm.newArray();
    return node;
}

bool insertXmlChild(VM& vm, XmlNode* parent, XmlNode* child, size_t position)
{
    if (child->parent_ == parent || child == parent) return false;
    // Only a node with children can be an ancestor; new nodes skip the walk.
    if (!child->children_.empty())
        for (XmlNode* up = parent; up; up = up->parent_)
            if (up == child) return false;
    detachXmlNode(vm, child);
    position = std::min(position, parent->children_.size());
    parent->children_.insert(parent->children_.begin() + std::ptrdiff_t(position), child);
    child->parent_ = parent;
    parent->mirrorChildren(vm, position);
    return true;
}

void detachXmlNode(VM& vm, XmlNode* node)
{
    XmlNode* parent = node->parent_;
    if (!parent) return;
    size_t at = node->index_;
    parent->children_.erase(parent->children_.begin() + std::ptrdiff_t(at));
    parent->mirrorChildren(vm, at);
    node->parent_ = nullptr;
    node->index_ = 0;
}

void detachXmlChildren(VM& vm, XmlNode* node)
{
    for (XmlNode* child : node->children_) {
        child->parent_ = nullptr;
        child->index_ = 0;
    }
    node->children_.clear();
    node->mirrorChildren(vm, 0);
}

namespace {

XmlNode* copyOne(VM& vm, XmlNode* node)
{
    XmlNode* copy = newXmlNode(vm, node->type, node->type == XmlElement ? node->name : node->value);
    copy->name = node->name;
    copy->value = node->value;
    // Added oldest first, the copy's attributes list in the original's order.
    Object* attributes = copy->attributes();
    for (const Property& p : node->attributes()->properties())
        if (!(p.flags & DontEnum)) attributes->put(p.name, p.value);
    return copy;
}

} // namespace

XmlNode* cloneXmlNode(VM& vm, XmlNode* node, bool deep)
{
    XmlNode* root = copyOne(vm, node);
    if (!deep) return root;
    std::vector<std::pair<XmlNode*, XmlNode*>> pending{{node, root}};   // original, copy
    while (!pending.empty()) {
        auto [original, copy] = pending.back();
        pending.pop_back();
        for (XmlNode* child : original->children()) {
            XmlNode* childCopy = copyOne(vm, child);
            insertXmlChild(vm, copy, childCopy, copy->children().size());
            pending.emplace_back(child, childCopy);
        }
    }
    return root;
}

std::vector<std::pair<std::string, Value>> xmlAttributes(XmlNode* node)
{
    std::vector<std::pair<std::string, Value>> list;
    const std::vector<Property>& props = node->attributes()->properties();
    for (auto it = props.rbegin(); it != props.rend(); ++it)
        if (!(it->flags & DontEnum)) list.emplace_back(it->name, it->value);
    return list;
}

namespace {

void openTag(VM& vm, XmlNode* node, const std::string& name, std::string& out)
{
    out += '<';
    out += name;
    for (const auto& [key, value] : xmlAttributes(node)) {
        out += ' ';
        out += key;
        out += "=\"";
        out += xmlEscape(vm.toString(value));
        out += '"';
    }
    out += node->children().empty() ? " />" : ">";
}

} // namespace

std::string xmlToString(VM& vm, XmlNode* node)
{
    std::string out;
    if (node->document) {
        for (const char* declaration : {"xmlDecl", "docTypeDecl"}) {
            Value text = vm.get(node, declaration);
            if (!text.isNullish()) out += vm.toString(text);
        }
    }
    // Each entry is a node still to write, or (closing) the end tag of one.
    struct Step { XmlNode* node; bool closing; };
    std::vector<Step> steps{{node, false}};
    while (!steps.empty()) {
        Step step = steps.back();
        steps.pop_back();
        XmlNode* n = step.node;
        bool named = n->type == XmlElement && !n->name.isNullish();
        if (step.closing) {
            out += "</" + vm.toString(n->name) + ">";
            continue;
        }
        if (n->type != XmlElement) {
            if (!n->value.isNullish()) out += xmlEscape(vm.toString(n->value));
        } else if (named) {
            openTag(vm, n, vm.toString(n->name), out);
            if (!n->children().empty()) steps.push_back({n, true});
        }
        if (n->type == XmlElement)
            for (auto it = n->children().rbegin(); it != n->children().rend(); ++it) steps.push_back({*it, false});
        vm.checkString(out.size());
    }
    return out;
}

namespace {

bool hasName(const XmlNode* node)
{
    return node->type == XmlElement && node->name.isString();
}

// The prefix that an attribute name declares, or false when it declares none.
bool declaredPrefix(const std::string& attribute, std::string& prefix)
{
    if (attribute.compare(0, 5, "xmlns") != 0) return false;
    prefix = attribute.size() > 5 && attribute[5] == ':' ? attribute.substr(6) : "";
    return true;
}

} // namespace

std::string xmlPrefix(const XmlNode* node)
{
    const std::string& name = node->name.string();
    size_t colon = name.find(':');
    return colon == std::string::npos ? "" : name.substr(0, colon);
}

std::string xmlLocalName(const XmlNode* node)
{
    const std::string& name = node->name.string();
    size_t colon = name.find(':');
    return colon == std::string::npos ? name : name.substr(colon + 1);
}

Value xmlNamespaceForPrefix(VM& vm, XmlNode* node, const std::string& prefix)
{
    if (!hasName(node)) return Value::null();
    std::string declared;
    for (XmlNode* n = node; n; n = n->parent())
        for (const auto& [key, value] : xmlAttributes(n))
            if (declaredPrefix(key, declared) && declared == prefix) return Value(vm.toString(value));
    return Value::null();
}

Value xmlPrefixForNamespace(VM& vm, XmlNode* node, const std::string& uri)
{
    if (!hasName(node)) return Value::null();
    std::string declared;
    for (XmlNode* n = node; n; n = n->parent())
        for (const auto& [key, value] : xmlAttributes(n))
            if (declaredPrefix(key, declared) && vm.toString(value) == uri) return Value(declared);
    return Value::null();
}

} // namespace tesmar::script
