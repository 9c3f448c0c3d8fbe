#include "startup/SingleInstance.h"

#include <windows.h>

namespace tesmar {

bool AnotherInstanceIsRunning()
{
    // The handle stays open for the life of the process: the mutex exists as
    // long as any copy of the program runs.
    HANDLE marker = CreateMutexA(nullptr, FALSE, "Tesmar Flash Screen Saver instance");
    if (marker == nullptr)
        return GetLastError() == ERROR_ACCESS_DENIED;  // held by a copy of another user context
    return GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace tesmar
