#pragma once
// The built-in classes and global functions, one installer per file.

namespace tesmar::script {

class VM;

void installObjectAndFunction(VM& vm);
void installArray(VM& vm);
void installString(VM& vm);
void installNumberAndBoolean(VM& vm);
void installMath(VM& vm);
void installDate(VM& vm);
void installGlobals(VM& vm);
void installBroadcaster(VM& vm);
void installSystemObjects(VM& vm);
void installMovieClip(VM& vm);
void installXml(VM& vm);
void installGeom(VM& vm);
void installNatives(VM& vm);

} // namespace tesmar::script
