#include "host/NativeHost.h"
#include <fstream>
#include <iostream>
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

void NativeHost::fetch(uint32_t request, const std::string& url) { fetches_.emplace_back(request, url); }

void NativeHost::trace(const std::string& line) {
    traces.push_back(line);
    if (echoTrace) std::cout << line << '\n';
}

std::optional<Image> NativeHost::decodeImage(std::span<const uint8_t> bytes) {
    if (bytes.size() >= 8 && bytes[0] == 0x89 && bytes[1] == 'P' && bytes[2] == 'N' && bytes[3] == 'G')
        return readPng(bytes);
    if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xD8) return decodeJpeg(bytes);
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
