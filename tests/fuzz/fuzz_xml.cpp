// Parses any input as an XML document through the script classes. Nothing
// may crash or hang, and a document that parsed cleanly must print the same
// text again after a round trip and after a deep copy.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "player/script/BuiltinXmlDom.h"
#include "tests/native/StagelessHost.h"

namespace {

using namespace tesmar::script;

using QuietHost = testing::StagelessHost;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QuietHost host;
    VM vm(host, 8);
    Value xml = vm.get(vm.global(), "XML");
    std::string source(reinterpret_cast<const char*>(data), size);
    Value doc = vm.construct(xml, {Value(source)});
    std::string printed = vm.toString(doc);
    if (vm.toNumber(vm.getOf(doc, "status")) != 0) return 0;
    std::string again = vm.toString(vm.construct(xml, {Value(printed)}));
    if (again != printed) std::abort();
    Value copy = vm.callMethod(doc, "cloneNode", {Value(true)});
    // The copy is a plain node: the document's declarations are not part of it.
    std::string declarations;
    for (const char* name : {"xmlDecl", "docTypeDecl"}) {
        Value text = vm.getOf(doc, name);
        if (!text.isNullish()) declarations += vm.toString(text);
    }
    if (declarations + vm.toString(copy) != printed) std::abort();
    return 0;
}
