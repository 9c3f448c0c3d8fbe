// PrintJob: a screen saver has no printer and no user to confirm a print
// dialog, so every job is declined at start. The page and paper sizes stay
// 0 and cannot be assigned. The class existed from SWF 7: older movies see
// the constructor but neither its methods nor Object's.

#include "player/script/Builtins.h"
#include "player/script/VM.h"

namespace tesmar::script {

namespace {

Value construct(CallContext&)
{
    return Value();
}

Value declined(CallContext&)
{
    return Value(false);
}

Value zero(CallContext&)
{
    return Value(0);
}

} // namespace

void installPrintJob(VM& vm)
{
    FunctionObject* printJob = vm.newNative(construct);
    Object* proto = vm.attachPrototype(printJob);
    if (vm.swfVersion() < 7) proto->setProto(nullptr);
    for (const char* name : {"start", "addPage", "send"})
        vm.defineNative(proto, name, declined, DontEnum | OnlySwf7Up);
    // Read-only sizes: getters without setters, listed by for..in.
    FunctionObject* getter = vm.newNative(zero);
    for (const char* name : {"paperHeight", "paperWidth", "pageHeight", "pageWidth", "orientation"}) {
        Property& p = proto->put(name, Value());
        p.accessor = true;
        p.getter = getter;
    }
    vm.global()->put("PrintJob", Value(static_cast<Object*>(printJob)), DontEnum);
}

} // namespace tesmar::script
