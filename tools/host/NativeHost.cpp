#include "host/NativeHost.h"
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include "display/movies/GlyphOutlines.h"
#include "host/ImageCodecs.h"

namespace tesmar::host {

bool readFile(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return false;
    const std::streamoff size = in.tellg();
    if (size < 0 || uint64_t(size) > maxBytes) return false;
    bytes.resize(size_t(size));
    in.seekg(0);
    return bool(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

NativeHost::NativeHost() = default;
NativeHost::~NativeHost() = default;

namespace {

// The font file standing in for a font name: Noto Sans for "Noto Sans" and
// "_sans" where it is installed (the corpus movies measure text in it), else
// Liberation sans-serif, monospace or (for "_serif", Times and anything
// unknown) serif faces.
std::string deviceFontFile(std::string name, bool bold, bool italic) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    const std::string style = bold && italic ? "BoldItalic" : bold ? "Bold" : italic ? "Italic" : "Regular";
    if (name == "noto sans" || name == "_sans") {
        const std::string noto = "/usr/share/fonts/truetype/noto/NotoSans-" + style + ".ttf";
        std::error_code error;
        if (std::filesystem::exists(noto, error)) return noto;
    }
    static const char* const sans[] = {"_sans", "arial", "helvetica", "verdana", "tahoma", "trebuchet ms",
                                       "noto sans", "lucida grande", "lucida sans", "segoe ui", "liberation sans"};
    static const char* const mono[] = {"_typewriter", "courier new", "courier", "lucida console", "monaco",
                                       "consolas", "liberation mono"};
    std::string family = "Serif";
    for (const char* n : sans)
        if (name == n) family = "Sans";
    for (const char* n : mono)
        if (name == n) family = "Mono";
    return "/usr/share/fonts/truetype/liberation/Liberation" + family + "-" + style + ".ttf";
}

// A body as the request log shows it: text as it is, AMF as its bytes.
std::string shownBody(const FetchRequest& request) {
    if (request.contentType != "application/x-amf")
        return std::string(request.body.begin(), request.body.end());
    static const char hex[] = "0123456789ABCDEF";
    std::string out = "[";
    for (size_t i = 0; i < request.body.size(); ++i) {
        if (i) out += ", ";
        out += hex[request.body[i] >> 4];
        out += hex[request.body[i] & 15];
    }
    return out + "]";
}

// The file standing for an address: a file address below the root is in
// the movie's folder, a local path is as it is; an http
// address is the file of its path in a folder named after its host, beside
// the movie (a tool run never goes to the network). Empty for none.
std::string localPath(const std::string& url, const std::string& movieFolder) {
    if (url.rfind("file:///", 0) == 0 && !movieFolder.empty()) {
        const std::string path = url.substr(8);
        return path.find("..") == std::string::npos ? movieFolder + "/" + path : std::string();
    }
    if (url.rfind("file://", 0) == 0) return url.substr(7);
    if (url.find("://") == std::string::npos) return url;
    for (const char* scheme : {"http://", "https://"}) {
        const std::string prefix = scheme;
        if (url.rfind(prefix, 0) != 0 || movieFolder.empty()) continue;
        const size_t slash = url.find('/', prefix.size());
        if (slash == std::string::npos) return {};
        const std::string host = url.substr(prefix.size(), url.find_first_of(":/", prefix.size()) - prefix.size());
        const std::string path = url.substr(slash + 1);
        if (host.empty() || path.empty() || path.find("..") != std::string::npos) return {};
        return movieFolder + "/" + host + "/" + path;
    }
    return {};
}

} // namespace

std::optional<DeviceGlyph> NativeHost::deviceGlyph(const std::string& font, bool bold, bool italic, char32_t c) {
    const std::string file = deviceFontFile(font, bold, italic);
    auto it = fonts_.find(file);
    if (it == fonts_.end()) {
        std::string error;
        it = fonts_.emplace(file, movies::GlyphOutlines::open(file, error)).first;
    }
    if (!it->second) return std::nullopt;
    DeviceGlyph glyph;
    glyph.advance = it->second->advance(c);
    glyph.ascent = it->second->ascent();
    glyph.descent = it->second->descent();
    // A character without a glyph (a space) still has its advance.
    it->second->outline(c, glyph.outline);
    return glyph;
}

void NativeHost::fetch(uint32_t request, const std::string& url) {
    FetchRequest get;
    get.url = url;
    send(request, get);
}

std::string NativeHost::shown(const std::string& url) const {
    const std::string root = "file:///";
    if (!movieFolder.empty() && url.rfind(root, 0) == 0) return url.substr(root.size());
    const std::string folder = movieFolder.empty() ? std::string() : movieFolder + "/";
    return !folder.empty() && url.rfind(folder, 0) == 0 ? url.substr(folder.size()) : url;
}

void NativeHost::send(uint32_t request, const FetchRequest& fetchRequest) {
    if (logRequests) {
        trace("Navigator::fetch:");
        trace("  URL: " + shown(fetchRequest.url));
        trace(std::string("  Method: ") + (fetchRequest.post ? "POST" : "GET"));
        if (fetchRequest.post) {
            trace("  Mime-Type: " + fetchRequest.contentType);
            trace("  Body: " + shownBody(fetchRequest));
        }
    }
    // The address without its query: local files have none.
    fetches_.emplace_back(request, fetchRequest.url.substr(0, fetchRequest.url.find('?')));
}

void NativeHost::pageRequested(const PageRequest& page) {
    if (!logRequests) return;
    trace("Navigator::navigate_to_url:");
    trace("  URL: " + shown(page.url));
    trace("  Target: " + page.target);
    if (page.method.empty()) return;
    trace("  Method: " + page.method);
    for (const auto& [name, value] : page.variables) trace("  Param: " + name + "=" + value);
}

void NativeHost::trace(const std::string& line) {
    traces.push_back(line);
    if (echoTrace) std::cout << line << '\n';
}

std::optional<Image> NativeHost::decodeImage(std::span<const uint8_t> bytes) {
    if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
        return readPng(bytes);
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) return decodeJpeg(bytes);
    if (bytes.size() >= 6 && bytes[0] == 'G' && bytes[1] == 'I' && bytes[2] == 'F') return decodeGif(bytes);
    return std::nullopt;
}

void NativeHost::deliverFetches(Player& player) {
    while (!fetches_.empty()) {
        auto [request, url] = fetches_.front();
        fetches_.pop_front();
        const std::string path = localPath(url, movieFolder);
        std::vector<uint8_t> bytes;
        std::error_code error;
        const bool ok = !path.empty() && std::filesystem::is_regular_file(path, error) && readFile(path, bytes);
        player.fetchDone(request, ok, bytes);
    }
}

} // namespace tesmar::host

namespace tesmar::host {

bool NativeHost::connectSocket(uint32_t socket, const std::string& host, int port) {
    if (logRequests) {
        trace("Navigator::connect_socket");
        trace("    Host: " + host + "; Port: " + std::to_string(port));
    }
    if (!socketScriptRead_) {
        socketScriptRead_ = true;
        std::vector<uint8_t> bytes;
        if (!movieFolder.empty() && readFile(movieFolder + "/socket.json", bytes, 1u << 20)) {
            if (auto steps = parseSocketScript(std::string(bytes.begin(), bytes.end())))
                socketServer_ = std::make_unique<SocketServer>(std::move(*steps));
        }
    }
    return socketServer_ && socketServer_->accept(socket);
}

void NativeHost::sendSocket(uint32_t socket, std::span<const uint8_t> bytes) {
    if (socketServer_) socketServer_->received(socket, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

void NativeHost::closeSocket(uint32_t socket) {
    if (socketServer_) socketServer_->closedByMovie(socket);
}

void NativeHost::deliverSockets(Player& player) {
    if (socketServer_) socketServer_->play(player);
}

} // namespace tesmar::host
