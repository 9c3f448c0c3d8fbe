#pragma once
// The host of the command-line tools and tests: fetches are local files
// (answered on the next deliverFetches call), the clock is the movie's own
// frame count, and what a movie asks of the outside world is recorded.
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "player/Host.h"
#include "host/SocketScript.h"
#include "player/Player.h"

namespace tesmar::movies {
class GlyphOutlines;
}

namespace tesmar::host {

class NativeHost : public Host {
public:
    NativeHost();
    ~NativeHost() override;
    void fetch(uint32_t request, const std::string& url) override;
    void send(uint32_t request, const FetchRequest& fetchRequest) override;
    void pageRequested(const PageRequest& page) override;
    void openInBrowser(const std::string& url) override { opened.push_back(url); }
    void fsCommand(const std::string& command, const std::string& args) override {
        fsCommands.push_back(command + "," + args);
    }
    void trace(const std::string& line) override;
    double nowMs() override { return clockMs; }
    // Runs are repeatable: the wall clock starts at a fixed moment in a
    // fixed zone (the one the corpus's expected dates were taken in).
    double wallClockMs() override { return kWallClockStartMs + clockMs; }
    double localOffsetMinutes() override { return kZoneOffsetMinutes; }
    std::optional<Image> decodeImage(std::span<const uint8_t> bytes) override;
    std::pair<int, int> screenResolution() override { return screen; }
    // Device fonts are the Liberation faces (Sans, Serif, Mono), chosen by
    // the kind of font a name stands for.
    std::optional<DeviceGlyph> deviceGlyph(const std::string& font, bool bold, bool italic, char32_t c) override;

    // Socket links go to the script of socket.json beside the movie, when
    // there is one; without it every link is refused.
    bool connectSocket(uint32_t socket, const std::string& host, int port) override;
    void sendSocket(uint32_t socket, std::span<const uint8_t> bytes) override;
    void closeSocket(uint32_t socket) override;

    // Answers the fetches asked for so far.
    void deliverFetches(Player& player);
    bool fetchesWaiting() const { return !fetches_.empty(); }
    // Plays the socket script as far as it can go now.
    void deliverSockets(Player& player);

    // 2001-02-03 04:05:06 local time at UTC+05:45.
    static constexpr double kWallClockStartMs = 981152406000.0;
    static constexpr double kZoneOffsetMinutes = 345;
    double clockMs = 0;
    std::pair<int, int> screen{1024, 768};
    bool echoTrace = false;                 // print trace lines as they come
    // Trace every request as "Navigator::fetch:" / "Navigator::navigate_to_url:"
    // blocks, addresses in the folder of movieFolder shown relative to it.
    bool logRequests = false;
    std::string movieFolder;
    std::vector<std::string> traces;
    std::vector<std::string> opened;
    std::vector<std::string> fsCommands;

private:
    std::string shown(const std::string& url) const;
    std::deque<std::pair<uint32_t, std::string>> fetches_;
    std::unique_ptr<SocketServer> socketServer_;   // made on the first link
    bool socketScriptRead_ = false;
    std::map<std::string, std::unique_ptr<movies::GlyphOutlines>> fonts_;   // by file; null when unreadable
};

// Reads a whole file of at most maxBytes; false when missing or larger.
bool readFile(const std::string& path, std::vector<uint8_t>& bytes, size_t maxBytes = 64u << 20);

} // namespace tesmar::host
