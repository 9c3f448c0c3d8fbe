#pragma once
// What a host gives the player: the things it cannot do itself. Every call
// comes from, and returns on, the host's thread; none may block for long.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>
#include "player/geom/Image.h"
#include "player/geom/Shape.h"

namespace tesmar {

// A character of a font installed on the machine, in an em square of 1024
// units (y downwards, baseline at 0).
struct DeviceGlyph {
    Shape outline;        // contours as paths, no styles
    double advance = 0;
    double ascent = 0, descent = 0;   // of the whole font
};

// A request with a method: GET carries its variables in the address, POST
// sends a body.
struct FetchRequest {
    std::string url;
    bool post = false;
    std::string contentType;       // of the body
    std::vector<uint8_t> body;
};

// A page a movie asks the browser to show: the address, the window, and
// the form variables sent with it (GET or POST; none when method is empty).
struct PageRequest {
    std::string url;
    std::string target;
    std::string method;
    std::vector<std::pair<std::string, std::string>> variables;
};

class Host {
public:
    virtual ~Host() = default;
    // Starts fetching url. The host answers later with Player::fetchDone(request, ...).
    virtual void fetch(uint32_t request, const std::string& url) = 0;
    // A fetch with a method and body; a host that can only GET fetches the address.
    virtual void send(uint32_t request, const FetchRequest& fetchRequest) { fetch(request, fetchRequest.url); }
    // Every page request of a movie, before the player decides whether the
    // browser may show it: for hosts that keep a log of requests.
    virtual void pageRequested(const PageRequest& page) { (void)page; }
    // Opens an address in the user's web browser (only http:, https: and
    // mailto: addresses ever reach this).
    virtual void openInBrowser(const std::string& url) = 0;
    virtual void fsCommand(const std::string& command, const std::string& args) = 0;
    virtual void trace(const std::string& line) = 0;
    // Milliseconds on a steady clock.
    virtual double nowMs() = 0;
    // Wall-clock time (milliseconds since 1970 UTC) and the local zone's
    // distance from UTC in minutes (east positive), for Date: the machine's.
    virtual double wallClockMs();
    virtual double localOffsetMinutes();
    // JPEG, PNG or GIF bytes into a premultiplied image.
    virtual std::optional<Image> decodeImage(std::span<const uint8_t> bytes) = 0;
    // A character of a device font (text fields without embedded fonts);
    // nothing when the host has no fonts. Names such as "_sans", "_serif"
    // and "_typewriter" ask for the machine's usual faces of that kind.
    // The screen's size in pixels, as System.capabilities reports it.
    virtual std::pair<int, int> screenResolution() { return {1024, 768}; }
    // A socket link for XMLSocket to host:port. The host answers with
    // Player::socketConnected, then socketData and socketClosed; false
    // refuses it at once (a host without sockets refuses every link).
    virtual bool connectSocket(uint32_t socket, const std::string& host, int port) {
        (void)socket, (void)host, (void)port;
        return false;
    }
    virtual void sendSocket(uint32_t socket, std::span<const uint8_t> bytes) { (void)socket, (void)bytes; }
    // The movie ends a link; the host sends nothing more for it.
    virtual void closeSocket(uint32_t socket) { (void)socket; }
    virtual std::optional<DeviceGlyph> deviceGlyph(const std::string& font, bool bold, bool italic, char32_t c) {
        (void)font, (void)bold, (void)italic, (void)c;
        return std::nullopt;
    }
};

} // namespace tesmar
