// The one way the program ends from inside a window: the process stops at
// once, so no further message (and no unload handling) is processed.
#include "startup/Forms.h"

#include <windows.h>

namespace tesmar {

void EndProgram()
{
    ExitProcess(0);
}

} // namespace tesmar
