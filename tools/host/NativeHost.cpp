#include "host/NativeHost.h"
#include <algorithm>
#include <cctype>
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

// The Liberation file standing in for a font name: sans-serif, monospace or
// (for "_serif", Times and anything unknown) serif faces.
std::string liberationFile(std::string name, bool bold, bool italic) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    static const char* const sans[] = {"_sans", "arial", "helvetica", "verdana", "tahoma", "trebuchet ms",
                                       "noto sans", "lucida grande", "lucida sans", "segoe ui", "liberation sans"};
    static const char* const mono[] = {"_typewriter", "courier new", "courier", "lucida console", "monaco",
                                       "consolas", "liberation mono"};
    std::string family = "Serif";
    for (const char* n : sans)
        if (name == n) family = "Sans";
    for (const char* n : mono)
        if (name == n) family = "Mono";
    const std::string style = bold && italic ? "BoldItalic" : bold ? "Bold" : italic ? "Italic" : "Regular";
    return "/usr/share/fonts/truetype/liberation/Liberation" + family + "-" + style + ".ttf";
}

} // namespace

std::optional<DeviceGlyph> NativeHost::deviceGlyph(const std::string& font, bool bold, bool italic, char32_t c) {
    const std::string file = liberationFile(font, bold, italic);
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
            trace("  Body: " + std::string(fetchRequest.body.begin(), fetchRequest.body.end()));
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
        std::string path = url;
        if (path.rfind("file://", 0) == 0) path = path.substr(7);
        std::vector<uint8_t> bytes;
        // Only local files: a tool run never goes to the network.
        const bool ok = path.find("://") == std::string::npos && readFile(path, bytes);
        player.fetchDone(request, ok, bytes);
    }
}

} // namespace tesmar::host
