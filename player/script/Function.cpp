#include "player/script/Function.h"

namespace tesmar::script {

void FunctionObject::trace(Tracer& tracer)
{
    Object::trace(tracer);
    if (!script) return;
    for (Object* o : script->scope) tracer.mark(o);
    tracer.mark(script->target);
}

} // namespace tesmar::script
