#pragma once

namespace tesmar::script {

class VM;
class Object;

// Gives an object the listener methods and an empty `_listeners` array.
void makeBroadcaster(VM& vm, Object* object);

} // namespace tesmar::script
