#pragma once
// The script classes and methods that load: MovieClip.loadMovie,
// unloadMovie and loadVariables, MovieClipLoader, LoadVars, and load and
// sendAndLoad for XML.

namespace tesmar::bridge {

class ScriptBridge;

void installLoading(ScriptBridge& bridge);
void installMovieClipLoader(ScriptBridge& bridge);
void installLoadVars(ScriptBridge& bridge);

} // namespace tesmar::bridge
