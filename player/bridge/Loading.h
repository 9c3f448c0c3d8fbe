#pragma once
// The script classes and methods that load: MovieClip.loadMovie,
// unloadMovie and loadVariables, MovieClipLoader, LoadVars, and load and
// sendAndLoad for XML.

#include <cstddef>

namespace tesmar::script {
struct CallContext;
}

namespace tesmar::bridge {

class ScriptBridge;

// Argument index as a get-URL method: "GET" or "POST" in any case give 1
// or 2, anything else (or no argument) otherwise.
int methodOf(script::CallContext& c, size_t index, int otherwise = 0);

void installLoading(ScriptBridge& bridge);
void installMovieClipLoader(ScriptBridge& bridge);
void installLoadVars(ScriptBridge& bridge);
void installXmlSocket(ScriptBridge& bridge);

} // namespace tesmar::bridge
