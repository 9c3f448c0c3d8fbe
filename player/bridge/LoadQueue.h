#pragma once
// What scripts ask to load: movies into levels and clips, variables into
// clips, texts for objects (LoadVars, XML), and get-URL requests as a
// whole (FSCommand, level and clip targets, the browser). The host fetches;
// a failed fetch takes effect at once, what arrived at the start of the
// next tick: never while scripts run.
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>
#include "player/Host.h"
#include "player/bridge/UrlEncoding.h"
#include "player/script/Host.h"
#include "player/stage/Context.h"

namespace tesmar {
class Player;
}

namespace tesmar::stage {
class Stage;
class DisplayObject;
} // namespace tesmar::stage

namespace tesmar::bridge {

class ScriptBridge;

enum class SocketEvent : uint8_t { Connected, Refused, Data, Closed };
// What a socket link's owner hears: the event and, for Data, the bytes.
using SocketHandler = std::function<void(SocketEvent event, std::span<const uint8_t> bytes)>;

// Where a load goes: a level (clip 0), or the display object with this
// serial (a clip; variables may also go to a text field).
struct LoadTarget {
    int level = -1;
    uint64_t clip = 0;
};

// The form variables of an object's enumerable properties, as a request sends them.
FormVariables formVariables(script::VM& vm, script::Object* object);

class LoadQueue {
public:
    LoadQueue(Player& player, stage::Stage& stage, Host& host);
    ~LoadQueue();
    LoadQueue(const LoadQueue&) = delete;
    LoadQueue& operator=(const LoadQueue&) = delete;

    // A get-URL request of a script running on caller (null: from the host).
    void getUrl(const script::UrlRequest& request, script::ClipObject* caller);
    // The level or clip that a script value names: a clip, a level number,
    // or a "_levelN" or clip path seen from base.
    std::optional<LoadTarget> targetOf(const script::Value& value, script::ClipObject* base);

    // A movie (or an image) for a level or clip. With a loader (a
    // MovieClipLoader) its events are broadcast to the loader's listeners.
    void loadMovie(LoadTarget target, const FetchRequest& request, script::Object* loader = nullptr);
    // Empties a clip or removes a level, and forgets loads still going to it.
    void unload(LoadTarget target);
    // Variables (form-encoded text) into a clip or level.
    void loadVariables(LoadTarget target, const FetchRequest& request);
    // Text for an object: receiver.onData(text), or onData() when it failed.
    void loadText(script::Object* receiver, const FetchRequest& request);
    // Raw answer bytes for a native object (a remoting call): the handler
    // hears ok and the bytes; receiver is kept alive until then.
    using BytesHandler = std::function<void(bool ok, std::span<const uint8_t> bytes)>;
    void loadBytes(script::Object* receiver, const FetchRequest& request, BytesHandler handler);

    // Asks the browser to show a page (with form variables sent by method:
    // 0 none, 1 GET, 2 POST); only allowed addresses reach the browser.
    void navigate(const std::string& url, const std::string& target, int method, const FormVariables& variables);
    // A request for an address relative to the movie, with variables sent by method.
    FetchRequest request(const std::string& url, int method, const FormVariables& variables) const;

    void fetchDone(uint32_t request, bool ok, std::span<const uint8_t> bytes);

    // Socket links of native objects (XMLSocket): the owner is kept alive
    // and hears its link's events until it closes or the host does.
    uint32_t openSocket(script::Object* owner, const std::string& host, int port, SocketHandler handler);
    void sendSocket(uint32_t socket, std::span<const uint8_t> bytes);
    void closeSocket(uint32_t socket);
    void socketEvent(uint32_t socket, SocketEvent event, std::span<const uint8_t> bytes);

    // What came over the wire for a movie: its size in bytes as loaded
    // (compressed movies are smaller than their header says), and whether
    // it was an image rather than a movie file.
    void arrivedAs(const std::shared_ptr<const swf::Movie>& movie, size_t bytes, bool image);
    bool isImage(const swf::Movie& movie);
    // The loaded size, or the size the header states for a movie not loaded here.
    size_t bytesOf(const swf::Movie& movie);
    // Applies what arrived since the last tick.
    void beginTick();
    // After the tick's scripts: the requests gathered during the tick go
    // out, then onLoadInit for the clips whose first frame ran.
    void endTick();
    // A request that a native object (a remoting connection) gathers over
    // the tick's scripts: send runs at the end of the tick, owner is kept
    // alive until then.
    void sendAtEndOfTick(script::Object* owner, std::function<void()> send);
    // The loaders and receivers waiting for answers, for the collector.
    void traceRoots(script::Tracer& tracer);

private:
    enum class Kind : uint8_t { Movie, Unload, Variables, Text, Bytes };
    struct Load {
        Kind kind = Kind::Movie;
        LoadTarget target;
        std::string url;
        script::Object* receiver = nullptr;   // loader or text receiver
        bool ok = false;
        bool canceled = false;                // unloaded before it arrived
        std::vector<uint8_t> bytes;
        BytesHandler handler;
    };
    struct Init {
        uint64_t clip;
        script::Object* loader;
    };
    ScriptBridge& bridge();
    uint32_t start(Load load, const FetchRequest& request);
    void apply(Load& load);
    void applyMovie(Load& load);
    void applyVariables(Load& load);
    void applyText(Load& load);
    void failed(Load& load);
    // Puts a new clip showing movie (none: nothing) in the place of a clip.
    stage::DisplayObject* replaceClip(uint64_t serial, std::shared_ptr<const swf::Movie> movie, const std::string& url);
    void broadcast(script::Object* loader, const char* event, std::vector<script::Value> args);
    stage::DisplayObject* enterLevel(int level, std::shared_ptr<const swf::Movie> movie, const std::string& url);
    void releaseMovies();

    Player& player_;
    stage::Stage& stage_;
    Host& host_;
    uint32_t nextRequest_ = 1;
    std::map<uint32_t, Load> pending_;   // by request
    std::vector<Load> arrived_;          // in order of arrival
    std::vector<Init> inits_;
    std::vector<std::pair<script::Object*, std::function<void()>>> sends_;
    struct Socket {
        script::Object* owner;
        SocketHandler handler;
    };
    struct SocketNews {
        uint32_t socket;
        SocketEvent event;
        std::vector<uint8_t> bytes;
    };
    std::map<uint32_t, Socket> sockets_;
    std::vector<SocketNews> socketNews_;   // in order of arrival
    void deliverSocketNews();
    // Movies loaded into clips, kept while an object shows them.
    std::vector<std::unique_ptr<stage::LoadedMovie>> movies_;
    struct Arrival {
        std::weak_ptr<const swf::Movie> movie;
        size_t bytes;
        bool image;
    };
    std::vector<Arrival> arrivals_;   // pruned as their movies go
    const Arrival* arrivalOf(const swf::Movie& movie) const;
};

} // namespace tesmar::bridge
