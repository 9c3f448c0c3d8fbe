#pragma once
// Pieces shared by the XML and XMLNode classes.

#include "player/script/BuiltinXmlDom.h"

namespace tesmar::script {

// _global.XMLNode with its prototype; gives the prototype.
Object* installXmlNode(VM& vm);

// The node a native constructor builds in place of the plain object that
// `new` made, taking over that object's properties (__proto__ and the
// constructor links).
XmlNode* adoptXmlNode(CallContext& c, int type, const Value& text);

} // namespace tesmar::script
