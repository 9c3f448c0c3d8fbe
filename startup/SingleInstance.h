#pragma once
// Whether another copy of the program is already running.

namespace tesmar {

// Claims the program's instance marker (a named mutex held until the process
// ends) and reports whether an earlier copy, started with any switch, holds it.
bool AnotherInstanceIsRunning();

} // namespace tesmar
