#pragma once
// System.security.sandboxType: which security sandbox the asking movie
// plays in, from where it came from and what its file attributes allow.
#include <string>

namespace tesmar::script {
class VM;
}
namespace tesmar::stage {
class LoadedMovie;
}

namespace tesmar::bridge {

std::string sandboxType(const stage::LoadedMovie& movie);

// Adds the property to System.security (after the script machine made it).
void installSandboxType(script::VM& vm);

} // namespace tesmar::bridge
