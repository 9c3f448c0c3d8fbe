#pragma once
// The state of a NetConnection: its link, and for a remoting gateway the
// headers and calls that go with the next request and the responders that
// wait for answers. The calls themselves travel through the player's
// fetches, which the bridge adds (call, addHeader).

#include "player/script/Function.h"

#include <map>
#include <string>
#include <vector>

namespace tesmar::script {

class NetConnectionObject : public Object {
public:
    explicit NetConnectionObject(Heap& heap) : Object(heap), owner(this) {}

    enum class Link { None, Local, Remote };
    struct Header {
        std::string name;
        bool mustUnderstand = false;
        Value value;
    };
    struct Call {
        std::string method;
        int id = 0;
        std::vector<Value> args;
    };

    // Forgets everything of the current link.
    void reset();
    void trace(Tracer& tracer) override;

    // The script object the connection belongs to, which hears its events:
    // itself, or the instance of a script subclass that called super().
    Object* owner;
    Link link = Link::None;
    std::string gateway;            // the address of a remote link
    std::vector<Header> headers;    // sent with every request
    std::vector<Call> queued;       // to go with the next request
    std::map<int, Value> responders;   // by call number, until answered
    int nextCall = 1;
    bool sendScheduled = false;
};

// The connection state of an object: a NetConnection, or an instance of a
// script subclass whose constructor called NetConnection through super();
// null for anything else.
NetConnectionObject* connectionOf(VM& vm, Object* object);

} // namespace tesmar::script
