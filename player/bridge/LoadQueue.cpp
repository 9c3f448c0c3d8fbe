#include "player/bridge/LoadQueue.h"
#include <algorithm>
#include <cctype>
#include <cmath>
#include <unordered_set>
#include "player/Player.h"
#include "player/bridge/LoadedImage.h"
#include "player/bridge/LoadedText.h"
#include "player/bridge/ScriptBridge.h"
#include "player/bridge/StageClip.h"
#include "player/script/VM.h"
#include "player/swf/PlaceReader.h"

namespace tesmar::bridge {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// The level a "_levelN" name stands for, or -1.
int levelNumber(const std::string& name) {
    if (lower(name.substr(0, 6)) != "_level") return -1;
    const std::string digits = name.substr(6);
    if (digits.empty() || digits.size() > 9 || !std::all_of(digits.begin(), digits.end(), ::isdigit)) return -1;
    return std::stoi(digits);
}

bool isMovieFile(std::span<const uint8_t> bytes) {
    return bytes.size() >= 8 && (bytes[0] == 'F' || bytes[0] == 'C' || bytes[0] == 'Z') && bytes[1] == 'W' &&
           bytes[2] == 'S';
}

// Loaded text as scripts see it: without a UTF-8 byte order mark.
std::string textOf(const std::vector<uint8_t>& bytes) {
    std::string text(bytes.begin(), bytes.end());
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    return text;
}

// Loaded bytes are read in the system's code page by SWF 5 movies and by
// later ones that set System.useCodepage.
bool readsCodepage(script::VM& vm) {
    if (vm.swfVersion() <= 5) return true;
    const script::Value system = vm.get(vm.global(), "System");
    return system.isObject() && vm.toBoolean(vm.get(system.object(), "useCodepage"));
}

// A movie of one empty frame: what a clip shows after loading data that is no movie.
std::shared_ptr<const swf::Movie> emptyMovie(int version) {
    auto movie = std::make_shared<swf::Movie>();
    movie->header.version = uint8_t(version);
    movie->timeline.frames.resize(1);
    return movie;
}

// Objects made outside a tick start playing with the next one, like
// objects that a tick makes.
class BornNextTick {
public:
    explicit BornNextTick(stage::Context& context) : context_(context) { ++context_.tick; }
    ~BornNextTick() { --context_.tick; }

private:
    stage::Context& context_;
};

} // namespace

FormVariables formVariables(script::VM& vm, script::Object* object) {
    FormVariables variables;
    if (!object) return variables;
    for (const std::string& name : vm.enumerate(object)) {
        const script::Value value = vm.get(object, name);
        if (value.isObject() && value.object()->kind() == script::ObjectKind::Clip) continue;
        variables.emplace_back(name, vm.toString(value));
    }
    return variables;
}

LoadQueue::LoadQueue(Player& player, stage::Stage& stage, Host& host) : player_(player), stage_(stage), host_(host) {}

LoadQueue::~LoadQueue() = default;

ScriptBridge& LoadQueue::bridge() { return *player_.scripts(); }

FetchRequest LoadQueue::request(const std::string& url, int method, const FormVariables& variables) const {
    FetchRequest request;
    request.url = resolveUrl(player_.url(), url);
    if (method == 1 && !variables.empty()) {
        request.url += (request.url.find('?') == std::string::npos ? '?' : '&') + encodeForm(variables, true);
    } else if (method == 2) {
        request.post = true;
        request.contentType = "application/x-www-form-urlencoded";
        const std::string body = encodeForm(variables, true);
        request.body.assign(body.begin(), body.end());
    }
    return request;
}

std::optional<LoadTarget> LoadQueue::targetOf(const script::Value& value, script::ClipObject* base) {
    script::VM* vm = bridge().vm();
    if (!vm) return std::nullopt;
    if (value.isNumber()) {
        if (!std::isfinite(value.number()) || value.number() < 0 || value.number() > 1e9) return std::nullopt;
        return LoadTarget{int(value.number()), 0};
    }
    script::ClipObject* clip = nullptr;
    if (value.isObject() && value.object()->kind() == script::ObjectKind::Clip) {
        clip = vm->liveClip(static_cast<script::ClipObject*>(value.object()));
    } else if (value.isString()) {
        const int level = levelNumber(value.string());
        if (level >= 0) return LoadTarget{level, 0};
        if (!base) base = bridge().level(0);
        clip = base ? vm->resolveClipPath(base, value.string()) : nullptr;
    }
    auto* stageClip = dynamic_cast<StageClip*>(clip);
    stage::DisplayObject* object = stageClip ? stageClip->object() : nullptr;
    if (!object) return std::nullopt;
    for (const auto& [number, root] : stage_.levels())
        if (root == object) return LoadTarget{number, 0};
    return LoadTarget{-1, object->serial()};
}

void LoadQueue::getUrl(const script::UrlRequest& request, script::ClipObject* caller) {
    if (lower(request.url.substr(0, 10)) == "fscommand:") {
        host_.fsCommand(request.url.substr(10), request.target);
        return;
    }
    const bool toLevel = levelNumber(request.target) >= 0;
    if (!request.loadTarget && !request.loadVariables && !toLevel) {
        FormVariables variables;
        if (script::VM* vm = bridge().vm(); vm && caller && request.method != 0) variables = formVariables(*vm, caller);
        navigate(request.url, request.target, request.method, variables);
        return;
    }
    std::optional<LoadTarget> target = targetOf(script::Value(request.target), caller);
    if (!target) return;
    script::VM* vm = bridge().vm();
    FormVariables variables;
    if (request.method != 0 && vm && caller) variables = formVariables(*vm, caller);
    if (request.loadVariables) {
        loadVariables(*target, this->request(request.url, request.method, variables));
    } else if (request.url.empty()) {
        unload(*target);
    } else {
        loadMovie(*target, this->request(request.url, request.method, variables));
    }
}

void LoadQueue::navigate(const std::string& url, const std::string& target, int method,
                         const FormVariables& variables) {
    PageRequest page;
    page.url = url;
    page.target = target;
    // Every spelling of the new-window name means that name.
    const std::string window = lower(target);
    if (window == "blank" || window == "_blank") page.target = "_blank";
    if (method != 0) {
        page.method = method == 1 ? "GET" : "POST";
        page.variables = variables;
    }
    host_.pageRequested(page);
    const std::string address = resolveUrl(player_.url(), url);
    if (browserMayOpen(address)) host_.openInBrowser(address);
}

uint32_t LoadQueue::start(Load load, const FetchRequest& request) {
    const uint32_t id = nextRequest_++;
    load.url = request.url;
    pending_[id] = std::move(load);
    if (request.post) host_.send(id, request);
    else host_.fetch(id, request.url);
    return id;
}

void LoadQueue::loadMovie(LoadTarget target, const FetchRequest& request, script::Object* loader) {
    Load load;
    load.kind = Kind::Movie;
    load.target = target;
    load.receiver = loader;
    start(std::move(load), request);
}

void LoadQueue::unload(LoadTarget target) {
    for (auto it = pending_.begin(); it != pending_.end();) {
        const bool same = it->second.kind == Kind::Movie && it->second.target.level == target.level &&
                          it->second.target.clip == target.clip;
        // A loader still hears that its load started, and nothing more.
        if (same && it->second.receiver) it->second.canceled = true;
        it = same && !it->second.receiver ? pending_.erase(it) : std::next(it);
    }
    Load load;
    load.kind = Kind::Unload;
    load.target = target;
    arrived_.push_back(std::move(load));
}

void LoadQueue::loadVariables(LoadTarget target, const FetchRequest& request) {
    Load load;
    load.kind = Kind::Variables;
    load.target = target;
    start(std::move(load), request);
}

void LoadQueue::loadText(script::Object* receiver, const FetchRequest& request) {
    Load load;
    load.kind = Kind::Text;
    load.receiver = receiver;
    start(std::move(load), request);
}

void LoadQueue::loadBytes(script::Object* receiver, const FetchRequest& request, BytesHandler handler) {
    Load load;
    load.kind = Kind::Bytes;
    load.receiver = receiver;
    load.handler = std::move(handler);
    start(std::move(load), request);
}

void LoadQueue::fetchDone(uint32_t request, bool ok, std::span<const uint8_t> bytes) {
    auto it = pending_.find(request);
    if (it == pending_.end()) return;
    Load load = std::move(it->second);
    pending_.erase(it);
    load.ok = ok;
    if (ok) load.bytes.assign(bytes.begin(), bytes.end());
    if (!ok && load.kind == Kind::Movie && load.receiver && !load.canceled) {
        failed(load);
        return;
    }
    arrived_.push_back(std::move(load));
}

void LoadQueue::beginTick() {
    std::vector<Load> arrived;
    arrived.swap(arrived_);
    for (Load& load : arrived) apply(load);
    releaseMovies();
    deliverSocketNews();
}

uint32_t LoadQueue::openSocket(script::Object* owner, const std::string& host, int port, SocketHandler handler) {
    const uint32_t id = nextRequest_++;
    sockets_[id] = Socket{owner, std::move(handler)};
    if (!host_.connectSocket(id, host, port)) socketEvent(id, SocketEvent::Refused, {});
    return id;
}

void LoadQueue::sendSocket(uint32_t socket, std::span<const uint8_t> bytes) {
    if (sockets_.count(socket)) host_.sendSocket(socket, bytes);
}

void LoadQueue::closeSocket(uint32_t socket) {
    if (sockets_.erase(socket)) host_.closeSocket(socket);
}

void LoadQueue::socketEvent(uint32_t socket, SocketEvent event, std::span<const uint8_t> bytes) {
    if (!sockets_.count(socket)) return;
    socketNews_.push_back({socket, event, std::vector<uint8_t>(bytes.begin(), bytes.end())});
}

void LoadQueue::deliverSocketNews() {
    std::vector<SocketNews> news;
    news.swap(socketNews_);
    for (const SocketNews& item : news) {
        // A link closed by an earlier handler hears nothing more.
        auto it = sockets_.find(item.socket);
        if (it == sockets_.end()) continue;
        const SocketHandler handler = it->second.handler;
        if (item.event == SocketEvent::Refused || item.event == SocketEvent::Closed) sockets_.erase(it);
        handler(item.event, item.bytes);
    }
}

void LoadQueue::apply(Load& load) {
    switch (load.kind) {
    case Kind::Movie: applyMovie(load); break;
    case Kind::Unload:
        if (load.target.clip) replaceClip(load.target.clip, nullptr, {});
        else player_.enterLevel(load.target.level, nullptr, {});
        break;
    case Kind::Variables: applyVariables(load); break;
    case Kind::Text: applyText(load); break;
    case Kind::Bytes:
        if (load.handler) load.handler(load.ok, load.bytes);
        break;
    }
}

void LoadQueue::failed(Load& load) {
    script::Value target;
    if (load.target.clip) {
        if (StageClip* clip = bridge().objectFor(load.target.clip)) target = script::Value(static_cast<script::Object*>(clip));
    } else if (script::ClipObject* level = bridge().level(load.target.level)) {
        target = script::Value(static_cast<script::Object*>(level));
    }
    broadcast(load.receiver, "onLoadError", {target, script::Value("URLNotFound")});
    player_.runScripts();
}

void LoadQueue::applyMovie(Load& load) {
    if (!load.ok) return;
    if (load.canceled) {
        // The target may already be emptied: then the event names none.
        stage::DisplayObject* object = load.target.clip ? stage_.find(load.target.clip) : stage_.level(load.target.level);
        StageClip* clip = bridge().objectFor(object);
        broadcast(load.receiver, "onLoadStart", {clip ? script::Value(static_cast<script::Object*>(clip)) : script::Value()});
        return;
    }
    std::shared_ptr<const swf::Movie> movie;
    if (isMovieFile(load.bytes)) {
        std::string error;
        movie = player_.read(load.bytes, error);
    } else if (std::optional<Image> image = host_.decodeImage(load.bytes); image && !image->empty()) {
        movie = imageMovie(std::move(*image), uint32_t(load.bytes.size()));
    }
    // Data that is neither leaves the clip empty, as if nothing had arrived.
    const double size = movie ? double(load.bytes.size()) : 0;
    if (movie) arrivedAs(movie, load.bytes.size(), !isMovieFile(load.bytes));
    if (!movie) movie = emptyMovie(8);
    stage::DisplayObject* object = nullptr;
    if (load.target.clip) {
        object = replaceClip(load.target.clip, movie, load.url);
    } else {
        object = enterLevel(load.target.level, movie, load.url);
    }
    if (!object) return;
    // Variables in the address are the loaded movie's own.
    const size_t query = load.url.find('?');
    script::VM* vm = bridge().vm();
    if (query != std::string::npos && vm) {
        if (StageClip* root = bridge().objectFor(object)) {
            for (const auto& [name, value] : decodeForm(std::string_view(load.url).substr(query + 1)))
                vm->set(root, name, script::Value(value));
        }
    }
    if (!load.receiver) return;
    StageClip* clip = bridge().objectFor(object);
    if (!clip) return;
    const script::Value target(static_cast<script::Object*>(clip));
    broadcast(load.receiver, "onLoadStart", {target});
    broadcast(load.receiver, "onLoadProgress", {target, script::Value(size), script::Value(size)});
    broadcast(load.receiver, "onLoadComplete", {target, script::Value(0)});
    inits_.push_back({object->serial(), load.receiver});
}

stage::DisplayObject* LoadQueue::replaceClip(uint64_t serial, std::shared_ptr<const swf::Movie> movie,
                                             const std::string& url) {
    auto* old = dynamic_cast<stage::MovieClip*>(stage_.find(serial));
    stage::MovieClip* parent = old ? old->parent() : nullptr;
    if (!parent) return nullptr;
    stage::Context& context = old->context();
    if (context.objects.size() >= stage::kMaxObjects) return nullptr;
    // Unloading leaves the clip empty, of its movie's version.
    if (!movie) movie = emptyMovie(old->loadedMovie().version());
    // _lockroot, set before the movie came, holds for the movie.
    StageClip* before = old->scripted() ? bridge().objectFor(old) : nullptr;
    const script::Property* lock = before ? before->findOwn("_lockroot") : nullptr;
    const bool locksRoot = lock && lock->value.isBoolean() && lock->value.number() != 0;
    movies_.push_back(std::make_unique<stage::LoadedMovie>(std::move(movie), url));
    const stage::LoadedMovie& loaded = *movies_.back();
    stage::MovieClip* clip = nullptr;
    {
        BornNextTick later(context);
        auto fresh = std::make_unique<stage::MovieClip>(context, loaded, 0, loaded.movie().timeline);
        // The clip keeps its place, name, look and event handlers.
        fresh->setName(old->name());
        fresh->setMatrix(old->matrix());
        fresh->setColorTransform(old->colorTransform());
        fresh->setVisible(old->visible());
        fresh->setPlacedByTimeline(old->placedByTimeline());
        fresh->setClipActions(old->clipActions());
        clip = static_cast<stage::MovieClip*>(parent->addChild(old->depth(), std::move(fresh)));
        clip->enterFirstFrame();
    }
    clip->queueClipEvent(swf::clipEvent::Load);
    if (locksRoot) bridge().objectFor(clip)->put("_lockroot", script::Value(true), script::DontEnum);
    return clip;
}

stage::DisplayObject* LoadQueue::enterLevel(int level, std::shared_ptr<const swf::Movie> movie,
                                            const std::string& url) {
    const auto levels = stage_.levels();
    if (levels.empty()) {
        // The first movie of an empty player: the stage shows its first frame.
        player_.enterLevel(level, std::move(movie), url);
        return stage_.level(level);
    }
    // Its first frame runs now, in the order the loads arrived; the next tick plays on.
    BornNextTick later(levels.begin()->second->context());
    player_.enterLevel(level, std::move(movie), url);
    stage::MovieClip* root = stage_.level(level);
    if (root) root->enterFirstFrame();
    return root;
}

void LoadQueue::arrivedAs(const std::shared_ptr<const swf::Movie>& movie, size_t bytes, bool image) {
    std::erase_if(arrivals_, [](const Arrival& arrival) { return arrival.movie.expired(); });
    arrivals_.push_back({movie, bytes, image});
}

const LoadQueue::Arrival* LoadQueue::arrivalOf(const swf::Movie& movie) const {
    for (const Arrival& arrival : arrivals_)
        if (arrival.movie.lock().get() == &movie) return &arrival;
    return nullptr;
}

bool LoadQueue::isImage(const swf::Movie& movie) {
    const Arrival* arrival = arrivalOf(movie);
    return arrival && arrival->image;
}

size_t LoadQueue::bytesOf(const swf::Movie& movie) {
    const Arrival* arrival = arrivalOf(movie);
    return arrival ? arrival->bytes : movie.header.fileLength;
}

void LoadQueue::releaseMovies() {
    const auto levels = stage_.levels();
    if (levels.empty()) movies_.clear();
    if (movies_.empty()) return;
    // A movie goes once no object on the stage shows any part of it.
    std::unordered_set<const stage::LoadedMovie*> inUse;
    for (const auto& [serial, object] : levels.begin()->second->context().objects) inUse.insert(&object->loadedMovie());
    std::erase_if(movies_, [&](const std::unique_ptr<stage::LoadedMovie>& movie) { return !inUse.count(movie.get()); });
}

void LoadQueue::applyVariables(Load& load) {
    if (!load.ok) return;
    stage::DisplayObject* object =
        load.target.clip ? stage_.find(load.target.clip) : static_cast<stage::DisplayObject*>(stage_.level(load.target.level));
    script::VM* vm = bridge().vm();
    StageClip* target = bridge().objectFor(object);
    if (!target || !vm) return;
    const bool codepage = readsCodepage(*vm);
    for (const auto& [name, value] : decodeForm(textOf(load.bytes)))
        vm->set(target, decodeLoadedText(name, codepage), script::Value(decodeLoadedText(value, codepage)));
    if (auto* clip = dynamic_cast<stage::MovieClip*>(object)) clip->queueClipEvent(swf::clipEvent::Data);
}

void LoadQueue::applyText(Load& load) {
    script::VM* vm = bridge().vm();
    if (!vm || !load.receiver) return;
    const double size = load.ok ? double(load.bytes.size()) : 0;
    load.receiver->put("_bytesLoaded", script::Value(size), script::DontEnum | script::DontDelete);
    load.receiver->put("_bytesTotal", script::Value(size), script::DontEnum | script::DontDelete);
    const script::Value onData = vm->get(load.receiver, "onData");
    std::vector<script::Value> args;
    if (load.ok) args.push_back(script::Value(decodeLoadedText(textOf(load.bytes), readsCodepage(*vm))));
    vm->callSafely(onData, script::Value(load.receiver), args);
}

void LoadQueue::sendAtEndOfTick(script::Object* owner, std::function<void()> send) {
    sends_.emplace_back(owner, std::move(send));
}

void LoadQueue::endTick() {
    std::vector<std::pair<script::Object*, std::function<void()>>> sends;
    sends.swap(sends_);
    for (auto& [owner, send] : sends) send();
    std::vector<Init> inits;
    inits.swap(inits_);
    // The newest load hears first.
    for (auto it = inits.rbegin(); it != inits.rend(); ++it) {
        StageClip* clip = bridge().objectFor(it->clip);
        if (clip) broadcast(it->loader, "onLoadInit", {script::Value(static_cast<script::Object*>(clip))});
    }
}

void LoadQueue::broadcast(script::Object* loader, const char* event, std::vector<script::Value> args) {
    script::VM* vm = bridge().vm();
    if (!vm || !loader) return;
    const script::Value send = vm->get(loader, "broadcastMessage");
    args.insert(args.begin(), script::Value(event));
    vm->callSafely(send, script::Value(loader), args);
}

void LoadQueue::traceRoots(script::Tracer& tracer) {
    for (const auto& [id, load] : pending_) tracer.mark(load.receiver);
    for (const Load& load : arrived_) tracer.mark(load.receiver);
    for (const Init& init : inits_) tracer.mark(init.loader);
    for (const auto& [owner, send] : sends_) tracer.mark(owner);
    for (const auto& [id, socket] : sockets_) tracer.mark(socket.owner);
}

} // namespace tesmar::bridge
