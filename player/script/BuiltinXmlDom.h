#pragma once
// The document tree behind XML and XMLNode: a node keeps its children in
// order, its parent and its place among its siblings, and mirrors its
// children into a script array (`childNodes`) that scripts may read or even
// scribble on; the tree itself is the truth.

#include "player/script/VM.h"

#include <string>
#include <vector>

namespace tesmar::script {

enum XmlNodeType { XmlElement = 1, XmlText = 3 };

class XmlNode : public Object {
public:
    XmlNode(Heap& heap, int type) : Object(heap), type(type) {}

    int type;
    Value name = Value::null();      // elements: the tag name
    Value value = Value::null();     // text: the characters
    // True for XML objects: they print their declarations and own an idMap.
    bool document = false;

    XmlNode* parent() const { return parent_; }
    const std::vector<XmlNode*>& children() const { return children_; }
    XmlNode* sibling(int offset) const;
    Object* attributes() const { return attributes_; }
    ArrayObject* childNodes() const { return childNodes_; }
    Object* idMap(VM& vm);

    bool getVirtual(VM& vm, const std::string& name, Value& out) override;
    void trace(Tracer& tracer) override;

private:
    friend XmlNode* newXmlNode(VM&, int, const Value&);
    friend bool insertXmlChild(VM&, XmlNode*, XmlNode*, size_t);
    friend void detachXmlNode(VM&, XmlNode*);
    friend void detachXmlChildren(VM&, XmlNode*);
    // Rewrites childNodes from `first` on and trims it to the children's count.
    void mirrorChildren(VM& vm, size_t first);

    XmlNode* parent_ = nullptr;
    size_t index_ = 0;                     // place in the parent's children
    std::vector<XmlNode*> children_;
    Object* attributes_ = nullptr;
    ArrayObject* childNodes_ = nullptr;
    Object* idMap_ = nullptr;
};

// The node behind a script value, or null.
XmlNode* asXmlNode(const Value& v);

// A detached node whose prototype is XMLNode.prototype as the movie has it
// now; `text` is the name of an element or the characters of a text node.
XmlNode* newXmlNode(VM& vm, int type, const Value& text);
// Puts `child` among `parent`'s children at `position`, taking it from its
// old parent. Refused (false) when the child is the parent itself or one of
// its ancestors, or is already a child of `parent`.
bool insertXmlChild(VM& vm, XmlNode* parent, XmlNode* child, size_t position);
void detachXmlNode(VM& vm, XmlNode* node);
void detachXmlChildren(VM& vm, XmlNode* node);
// A copy of the node's type, name, value and attributes (not its other
// properties), with copies of all its descendants when `deep`.
XmlNode* cloneXmlNode(VM& vm, XmlNode* node, bool deep);

// The node as XML text; a document starts with its declarations.
std::string xmlToString(VM& vm, XmlNode* node);

// Namespaces: an attribute whose name starts with "xmlns" declares the
// prefix after "xmlns:" (or the default one, ""), nearest node first.
std::string xmlPrefix(const XmlNode* node);
std::string xmlLocalName(const XmlNode* node);
Value xmlNamespaceForPrefix(VM& vm, XmlNode* node, const std::string& prefix);
Value xmlPrefixForNamespace(VM& vm, XmlNode* node, const std::string& uri);

// A node's attributes in document order (the attributes object lists its
// newest property first, so the parser adds them last to first).
std::vector<std::pair<std::string, Value>> xmlAttributes(XmlNode* node);

} // namespace tesmar::script
