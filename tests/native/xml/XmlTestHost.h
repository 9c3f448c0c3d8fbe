#pragma once
// A script machine with no stage, enough to drive XML and XMLNode through
// the calls that scripts make.

#include "player/script/BuiltinXmlDom.h"
#include "tests/native/StagelessHost.h"

#include <string>
#include <vector>

namespace tesmar::script::testing {

using NoStageHost = StagelessHost;

class XmlScript {
public:
    explicit XmlScript(int swfVersion = 8) : vm(host, swfVersion) {}

    Value global(const char* name) { return vm.get(vm.global(), name); }
    Value document(const std::string& source) { return vm.construct(global("XML"), {Value(source)}); }
    Value element(const char* name) { return vm.construct(global("XMLNode"), {Value(1), Value(name)}); }
    Value call(const Value& object, const char* name, std::vector<Value> args = {})
    {
        return vm.callMethod(object, name, args);
    }
    Value get(const Value& object, const char* name) { return vm.getOf(object, name); }
    std::string text(const Value& v) { return vm.toString(v); }
    XmlNode* node(const Value& v) { return asXmlNode(v); }

    NoStageHost host;
    VM vm;
};

} // namespace tesmar::script::testing
