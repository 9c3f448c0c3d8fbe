#include "player/Player.h"
#include <algorithm>
#include <cctype>
#include "player/bridge/LoadQueue.h"
#include "player/bridge/ScriptBridge.h"

namespace tesmar {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// The scheme of an absolute address ("http"), or empty. A single letter
// before the colon is a drive letter, not a scheme.
std::string schemeOf(const std::string& url) {
    size_t colon = url.find(':');
    if (colon == std::string::npos || colon < 2) return {};
    for (size_t i = 0; i < colon; ++i) {
        unsigned char c = url[i];
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return {};
    }
    return lower(url.substr(0, colon));
}

} // namespace

std::string resolveUrl(const std::string& base, const std::string& url) {
    if (!schemeOf(url).empty() || url.empty() || base.empty()) return url;
    const bool windowsPath = url.size() > 2 && url[1] == ':' && (url[2] == '\\' || url[2] == '/');
    if (windowsPath || url.front() == '\\') return url;
    if (url.front() == '/') {
        // Absolute path: keep the base's scheme and host.
        size_t hostStart = base.find("://");
        if (hostStart == std::string::npos) return url;
        size_t pathStart = base.find('/', hostStart + 3);
        return base.substr(0, pathStart) + url;
    }
    size_t cut = base.find_last_of("/\\");
    return cut == std::string::npos ? url : base.substr(0, cut + 1) + url;
}

bool browserMayOpen(const std::string& url) {
    const std::string scheme = schemeOf(url);
    return scheme == "http" || scheme == "https" || scheme == "mailto";
}

Player::Player(Host& host)
    : host_(host), loads_(std::make_unique<bridge::LoadQueue>(*this, stage_, host)),
      scripts_(std::make_unique<bridge::ScriptBridge>(*this, stage_, host)) {
    stage_.setHost(host);
}

Player::~Player() {
    // Script objects refer to the stage's clips by serial only; the stage goes last.
    scripts_.reset();
}

std::shared_ptr<const swf::Movie> Player::read(std::span<const uint8_t> bytes, std::string& error) {
    swf::ImageDecoder decoder = [this](std::span<const uint8_t> data) { return host_.decodeImage(data); };
    swf::ReadResult result = swf::readMovie(bytes, decoder);
    error = result.error;
    return result.movie;
}

bool Player::load(std::span<const uint8_t> bytes, const std::string& url) {
    auto movie = read(bytes, error_);
    if (!movie) return false;
    url_ = url;
    frameRate_ = std::clamp(movie->header.frameRate, 1.0, 120.0);
    scripts_->start(*movie);
    loads_->arrivedAs(movie, bytes.size(), false);
    stage_.setLevel(0, std::move(movie), url);
    setVersionVariable();
    return true;
}

void Player::setVersionVariable() {
    // Movies read the player's version from _level0.$version.
    if (script::ClipObject* root = scripts_->level(0)) root->put("$version", script::Value("LNX 32,0,0,0"));
}

void Player::tick() {
    scripts_->beginTick();
    loads_->beginTick();
    stage_.tick();
    runActions();
    loads_->endTick();
    runActions();
    scripts_->endTick();
    runActions();
}

void Player::finishLoads() {
    loads_->beginTick();
    runActions();
}

void Player::enterLevel(int level, std::shared_ptr<const swf::Movie> movie, const std::string& url) {
    if (!movie) {
        stage_.removeLevel(level);
        return;
    }
    if (level == 0) {
        url_ = url;
        frameRate_ = std::clamp(movie->header.frameRate, 1.0, 120.0);
        // A player that started empty gets its script machine with its first movie.
        scripts_->start(*movie);
    }
    stage_.setLevel(level, std::move(movie), url);
    if (level == 0) setVersionVariable();
}

void Player::runActions() {
    // Scripts may queue more while they run (a goto shows a frame).
    for (int round = 0; round < 64; ++round) {
        std::vector<stage::QueuedActions> actions = stage_.takeActions();
        if (actions.empty()) return;
        for (const stage::QueuedActions& queued : actions) {
            if (runner_) runner_(queued);
            else scripts_->run(queued);
        }
    }
    // A movie that keeps queueing more: what is left waits for the next tick.
}

void Player::render(Image& target) {
    if (target.width != stage_.viewWidth() || target.height != stage_.viewHeight())
        target = Image(stage_.viewWidth(), stage_.viewHeight());
    stage_.render(target, renderer_);
    drawFocusRect(target);
}

void Player::getUrl(const std::string& url, const std::string& target) {
    script::UrlRequest request;
    request.url = url;
    request.target = target;
    loads_->getUrl(request, nullptr);
}

void Player::loadMovie(int level, const std::string& url) {
    bridge::LoadTarget target{level, 0};
    if (url.empty()) loads_->unload(target);
    else loads_->loadMovie(target, loads_->request(url, 0, {}));
}

void Player::fetchDone(uint32_t request, bool ok, std::span<const uint8_t> bytes) {
    loads_->fetchDone(request, ok, bytes);
}

void Player::socketConnected(uint32_t socket, bool ok) {
    loads_->socketEvent(socket, ok ? bridge::SocketEvent::Connected : bridge::SocketEvent::Refused, {});
}

void Player::socketData(uint32_t socket, std::span<const uint8_t> bytes) {
    loads_->socketEvent(socket, bridge::SocketEvent::Data, bytes);
}

void Player::socketClosed(uint32_t socket) { loads_->socketEvent(socket, bridge::SocketEvent::Closed, {}); }

} // namespace tesmar
