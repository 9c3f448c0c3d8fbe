#pragma once
// What System tells of the player's surroundings: System.security.sandboxType
// (which security sandbox the asking movie plays in, from where it came
// from and what its file attributes allow) and the host's screen size.
#include <string>

namespace tesmar::script {
class VM;
}
namespace tesmar::stage {
class LoadedMovie;
}

namespace tesmar::bridge {

std::string sandboxType(const stage::LoadedMovie& movie);

// Adds them to System (after the script machine made it).
void installSystemFromHost(script::VM& vm);

} // namespace tesmar::bridge
